#include "tests/os/FaultyFileSystem.h"

#include "os/FileError.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <utility>

namespace {

class CFaultyFile : public IFile {
public:
    // foreign: the file reports an owner other than its real one (see MakeNewFilesForeign).
    CFaultyFile(std::unique_ptr<IFile> real, CFaultyFileSystem& owner, bool foreign = false)
        : m_real(std::move(real)), m_owner(owner), m_foreign(foreign) {}

    void Lock() override {
        m_owner.Step("lock");
        m_real->Lock();
    }
    std::uint64_t GetSize() override {
        m_owner.Step("size");
        return m_real->GetSize();
    }
    std::size_t Read(char* buffer, std::size_t size) override {
        m_owner.Step("read");
        return m_real->Read(buffer, std::min(size, m_owner.ReadLimit()));
    }
    std::size_t Write(const char* data, std::size_t size) override {
        const bool shortWrite = m_owner.Step("write");
        return m_real->Write(data, shortWrite ? size / 2 : size);
    }
    void Rewind() override {
        m_owner.Step("rewind");
        m_real->Rewind();
    }
    void EndHere() override {
        m_owner.Step("end here");
        m_real->EndHere();
    }
    void FlushToDisk() override {
        m_owner.Step("flush");
        m_real->FlushToDisk();
    }
    CFileIdentity GetIdentity() override {
        m_owner.Step("identity");
        CFileIdentity identity = m_real->GetIdentity();
        if (m_foreign) {
            identity.owner += 1;
        }
        return identity;
    }
    void SetPermissions(std::uint32_t permissions) override {
        m_owner.Step("set permissions");
        m_real->SetPermissions(permissions);
    }
    void SetOwner(std::uint32_t owner, std::uint32_t group) override {
        m_owner.Step("set owner");
        if (m_foreign && m_owner.OwnerRefused()) {
            throw CFileError(CFileError::Cause::AccessDenied, "setting the owner denied");
        }
        m_real->SetOwner(owner, group);
        m_foreign = false;
    }
    void TakeAccessListAndAttributes(IFile& old) override {
        m_owner.Step("copy access list");
        if (m_owner.AccessListsDenied()) {
            throw CFileError(CFileError::Cause::AccessDenied, "access control list refused");
        }
        m_real->TakeAccessListAndAttributes(*dynamic_cast<CFaultyFile&>(old).m_real);
    }
    void TakeNewFilePermissions() override {
        m_owner.Step("new file permissions");
        m_real->TakeNewFilePermissions();
    }
    std::string NameBeside(const std::string& path) override {
        m_owner.Step("name");
        return m_real->NameBeside(path);
    }
    void Close() override {
        // A failing close still releases the file.
        m_real->Close();
        m_owner.Step("close");
    }

private:
    std::unique_ptr<IFile> m_real;
    CFaultyFileSystem& m_owner;
    bool m_foreign;
};

class CFaultyFolder : public IFolder {
public:
    // inState: the state folder, where backups are never denied.
    CFaultyFolder(std::unique_ptr<IFolder> real, CFaultyFileSystem& owner, bool inState)
        : m_real(std::move(real)), m_owner(owner), m_inState(inState) {}

    std::unique_ptr<IFile> OpenResolved(const std::string& name) override {
        m_owner.Step("open");
        return std::make_unique<CFaultyFile>(m_real->OpenResolved(name), m_owner);
    }
    std::unique_ptr<IFile> CreateBeside(const std::string& name, std::string& createdName) override {
        m_owner.Step("create");
        if (m_owner.CreatingDenied()) {
            throw CFileError(CFileError::Cause::AccessDenied, name + ": creating denied");
        }
        return std::make_unique<CFaultyFile>(m_real->CreateBeside(name, createdName), m_owner,
                                             m_owner.NewFilesForeign());
    }
    std::unique_ptr<IFile> CreateBackup(const std::string& name, std::string& backupName) override {
        m_owner.Step("create backup");
        if (!m_inState && m_owner.BackupsBesideDenied()) {
            throw CFileError(CFileError::Cause::AccessDenied, name + ": backup denied");
        }
        return std::make_unique<CFaultyFile>(m_real->CreateBackup(name, backupName), m_owner);
    }
    std::unique_ptr<IFile> OpenForReading(const std::string& name) override {
        m_owner.Step("open for reading");
        return std::make_unique<CFaultyFile>(m_real->OpenForReading(name), m_owner);
    }
    void Rename(const std::string& from, const std::string& to) override {
        m_owner.Step("rename");
        if (m_owner.RenamingDenied()) {
            throw CFileError(CFileError::Cause::AccessDenied, to + ": renaming denied");
        }
        m_real->Rename(from, to);
    }
    void Remove(const std::string& name) noexcept override { m_real->Remove(name); }
    void Flush() override {
        m_owner.Step("flush folder");
        m_real->Flush();
    }
    std::string PathOf(const std::string& name) const override { return m_real->PathOf(name); }

private:
    std::unique_ptr<IFolder> m_real;
    CFaultyFileSystem& m_owner;
    bool m_inState;
};

}  // namespace

void CFaultyFileSystem::FailCall(int call, Fault fault, bool onwards) {
    m_failingCall = call;
    m_fault = fault;
    m_failOnwards = onwards;
}

bool CFaultyFileSystem::Step(const char* step) {
    m_steps.emplace_back(step);
    if (m_action && m_actionStep == step) {
        std::exchange(m_action, nullptr)();
    }
    // Short writes are counted among writes only.
    if (m_fault == Fault::ShortWrite && std::string_view(step) != "write") {
        return false;
    }
    ++m_calls;
    if (m_failingCall == 0 || m_calls < m_failingCall || (m_calls > m_failingCall && !m_failOnwards)) {
        return false;
    }
    if (m_failedStep.empty()) {
        m_failedStep = step;
    }
    if (m_fault == Fault::Kill) {
#ifdef SIGKILL
        std::raise(SIGKILL);
#else
        std::_Exit(137);  // no signals: an exit that runs nothing of the program's, as a kill
#endif
    }
    if (m_fault == Fault::Throw) {
        throw CFileError(CFileError::Cause::Generic, std::string("injected failure of ") + step);
    }
    return true;
}

std::unique_ptr<IFile> CFaultyFileSystem::OpenExisting(const std::string& path) {
    Step("open");
    return std::make_unique<CFaultyFile>(m_real.OpenExisting(path), *this);
}

std::unique_ptr<IFolder> CFaultyFileSystem::OpenFolderOf(const std::string& path, std::string& name) {
    Step("open folder");
    return std::make_unique<CFaultyFolder>(m_real.OpenFolderOf(path, name), *this, false);
}

std::unique_ptr<IFolder> CFaultyFileSystem::OpenStateFolder() {
    Step("open state folder");
    return std::make_unique<CFaultyFolder>(m_real.OpenStateFolder(), *this, true);
}

std::unique_ptr<IFile> CFaultyFileSystem::CreateScratch() {
    Step("create scratch");
    return std::make_unique<CFaultyFile>(m_real.CreateScratch(), *this);
}

std::string CFaultyFileSystem::FollowLinks(const std::string& path) {
    Step("follow links");
    return m_real.FollowLinks(path);
}
