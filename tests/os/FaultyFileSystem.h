#pragma once
// A file system that passes every call to a real one but makes a chosen call fail: the n-th call
// throws CFileError, or the n-th write stores only part of what it was given. It can also refuse
// what a folder, a name or a file's owner may refuse, to steer a replacement onto its other path.

#include "os/FileSystem.h"

#include <functional>
#include <string>
#include <vector>

class CFaultyFileSystem : public IFileSystem {
public:
    // Kill: the process kills itself (SIGKILL) at the call, as a crash or a power cut would stop it.
    enum class Fault { Throw, ShortWrite, Kill };

    explicit CFaultyFileSystem(IFileSystem& real) : m_real(real) {}

    // Makes call number call (from 1; for ShortWrite, write number call) fail, and with onwards
    // every call after it as well; 0 makes none fail.
    void FailCall(int call, Fault fault = Fault::Throw, bool onwards = false);
    // Makes CreateBeside fail with AccessDenied, as in a folder that allows no new file.
    void DenyCreating() { m_denyCreating = true; }
    // Makes Rename fail with AccessDenied, as for a name that is a mount point.
    void DenyRenaming() { m_denyRenaming = true; }
    // Makes CreateBackup fail with AccessDenied in the folder of the file, not in the state folder.
    void DenyBackupsBeside() { m_denyBackupsBeside = true; }
    // Runs action once, just before the first call named step.
    void BeforeStep(const std::string& step, std::function<void()> action) {
        m_actionStep = step;
        m_action = std::move(action);
    }
    // Makes files from CreateBeside report another owner than the user, and SetOwner on them fail
    // with AccessDenied when refused, as for a user exporting another user's file.
    void MakeNewFilesForeign(bool ownerRefused) {
        m_foreignNewFiles = true;
        m_ownerRefused = ownerRefused;
    }
    // Makes TakeAccessListAndAttributes on new files fail with AccessDenied, as on a file system
    // that cannot keep the old file's access control list.
    void DenyAccessLists() { m_denyAccessLists = true; }
    // Makes each read return at most this many bytes.
    void LimitReads(std::size_t bytes) { m_readLimit = bytes; }

    // The names of the calls made so far, in order.
    const std::vector<std::string>& Steps() const { return m_steps; }
    // The name of the call that was made to fail ("open", "write"...), or "" when none was.
    const std::string& FailedStep() const { return m_failedStep; }

    // Counts one call named step; returns whether it is the one to fail. Throws for Fault::Throw.
    bool Step(const char* step);
    std::size_t ReadLimit() const { return m_readLimit; }
    bool OwnerRefused() const { return m_ownerRefused; }
    bool AccessListsDenied() const { return m_denyAccessLists; }

    std::unique_ptr<IFile> OpenExisting(const std::string& path) override;
    std::unique_ptr<IFolder> OpenFolderOf(const std::string& path, std::string& name) override;
    std::unique_ptr<IFolder> OpenStateFolder() override;
    std::unique_ptr<IFile> CreateScratch() override;
    std::string FollowLinks(const std::string& path) override;
    bool CanRenameOpenFiles() const override { return m_real.CanRenameOpenFiles(); }

    bool CreatingDenied() const { return m_denyCreating; }
    bool RenamingDenied() const { return m_denyRenaming; }
    bool BackupsBesideDenied() const { return m_denyBackupsBeside; }
    bool NewFilesForeign() const { return m_foreignNewFiles; }

private:
    IFileSystem& m_real;
    int m_calls = 0;
    int m_failingCall = 0;
    bool m_failOnwards = false;
    Fault m_fault = Fault::Throw;
    bool m_denyCreating = false;
    bool m_denyRenaming = false;
    bool m_denyBackupsBeside = false;
    std::string m_actionStep;
    std::function<void()> m_action;
    bool m_foreignNewFiles = false;
    bool m_ownerRefused = false;
    bool m_denyAccessLists = false;
    std::size_t m_readLimit = static_cast<std::size_t>(-1);
    std::string m_failedStep;
    std::vector<std::string> m_steps;
};
