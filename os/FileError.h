#pragma once
// The failure of a file operation (create, open, lock, read, write, flush, close, rename): what the
// operating system reported, sorted into a cause, with a message naming the path.

#include <stdexcept>
#include <string>

class CFileError : public std::runtime_error {
public:
    enum class Cause { Generic, FileNotFound, BadPath, AccessDenied, SharingViolation, DiskFull };

    CFileError(Cause cause, const std::string& message);

    Cause GetCause() const;

private:
    Cause m_cause;
};
