#pragma once
// What the main window's tests do to files the system's own way.

#include <filesystem>
#include <string>

// A file held open as another program would hold it, so that opening it for Import or Export
// fails; released on destruction.
class CHeldFile {
public:
    explicit CHeldFile(const std::string& path);
    ~CHeldFile();
    CHeldFile(const CHeldFile&) = delete;
    CHeldFile& operator=(const CHeldFile&) = delete;

    bool IsHeld() const { return m_handle != -1; }

private:
    long long m_handle;
};

// Lets every file in folder be removed, whatever a test did to its permissions.
void MakeRemovable(const std::filesystem::path& folder);

// This process's id, to give scratch folders names of their own.
int CurrentProcessId();
