#include "FaultyFileSystem.h"

#include "cable/FileError.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>

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

}  // namespace

void CFaultyFileSystem::FailCall(int call, Fault fault, bool onwards) {
    m_failingCall = call;
    m_fault = fault;
    m_failOnwards = onwards;
}

bool CFaultyFileSystem::Step(const char* step) {
    m_steps.emplace_back(step);
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

std::unique_ptr<IFile> CFaultyFileSystem::OpenResolved(const std::string& path) {
    Step("open");
    return std::make_unique<CFaultyFile>(m_real.OpenResolved(path), *this);
}

std::unique_ptr<IFile> CFaultyFileSystem::CreateBeside(const std::string& path, std::string& createdPath) {
    Step("create");
    if (m_denyCreating) {
        throw CFileError(CFileError::Cause::AccessDenied, path + ": creating denied");
    }
    return std::make_unique<CFaultyFile>(m_real.CreateBeside(path, createdPath), *this, m_foreignNewFiles);
}

std::unique_ptr<IFile> CFaultyFileSystem::CreateScratch() {
    Step("create scratch");
    return std::make_unique<CFaultyFile>(m_real.CreateScratch(), *this);
}

std::unique_ptr<IFile> CFaultyFileSystem::CreateBackup(const std::string& path, std::string& backupPath) {
    Step("create backup");
    return std::make_unique<CFaultyFile>(m_real.CreateBackup(path, backupPath), *this);
}

std::unique_ptr<IFile> CFaultyFileSystem::OpenForReading(const std::string& path) {
    Step("open for reading");
    return std::make_unique<CFaultyFile>(m_real.OpenForReading(path), *this);
}

void CFaultyFileSystem::FlushFolderOf(const std::string& path) {
    Step("flush folder");
    m_real.FlushFolderOf(path);
}

std::string CFaultyFileSystem::FollowLinks(const std::string& path) {
    Step("follow links");
    return m_real.FollowLinks(path);
}

void CFaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    Step("rename");
    if (m_denyRenaming) {
        throw CFileError(CFileError::Cause::AccessDenied, to + ": renaming denied");
    }
    m_real.Rename(from, to);
}

void CFaultyFileSystem::Remove(const std::string& path) noexcept { m_real.Remove(path); }
