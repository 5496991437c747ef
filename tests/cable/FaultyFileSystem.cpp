#include "FaultyFileSystem.h"

#include "cable/FileError.h"

#include <algorithm>

namespace {

class CFaultyFile : public IFile {
public:
    CFaultyFile(std::unique_ptr<IFile> real, CFaultyFileSystem& owner)
        : m_real(std::move(real)), m_owner(owner)
    {
    }

    void Lock() override
    {
        m_owner.Step("lock");
        m_real->Lock();
    }
    std::uint64_t GetSize() override
    {
        m_owner.Step("size");
        return m_real->GetSize();
    }
    std::size_t Read(char* buffer, std::size_t size) override
    {
        m_owner.Step("read");
        return m_real->Read(buffer, std::min(size, m_owner.ReadLimit()));
    }
    std::size_t Write(const char* data, std::size_t size) override
    {
        const bool shortWrite = m_owner.Step("write");
        return m_real->Write(data, shortWrite ? size / 2 : size);
    }
    void Truncate() override
    {
        m_owner.Step("truncate");
        m_real->Truncate();
    }
    void FlushToDisk() override
    {
        m_owner.Step("flush");
        m_real->FlushToDisk();
    }
    std::uint32_t GetPermissions() override
    {
        m_owner.Step("get permissions");
        return m_real->GetPermissions();
    }
    void SetPermissions(std::uint32_t permissions) override
    {
        m_owner.Step("set permissions");
        m_real->SetPermissions(permissions);
    }
    void Close() override
    {
        // A failing close still releases the file.
        m_real->Close();
        m_owner.Step("close");
    }

private:
    std::unique_ptr<IFile> m_real;
    CFaultyFileSystem& m_owner;
};

}  // namespace

void CFaultyFileSystem::FailCall(int call, Fault fault)
{
    m_failingCall = call;
    m_fault = fault;
}

bool CFaultyFileSystem::Step(const char* step)
{
    // Short writes are counted among writes only.
    if (m_fault == Fault::ShortWrite && std::string_view(step) != "write") {
        return false;
    }
    if (++m_calls != m_failingCall) {
        return false;
    }
    m_failedStep = step;
    if (m_fault == Fault::Throw) {
        throw CFileError(CFileError::Cause::Generic, std::string("injected failure of ") + step);
    }
    return true;
}

std::unique_ptr<IFile> CFaultyFileSystem::OpenExisting(const std::string& path)
{
    Step("open");
    return std::make_unique<CFaultyFile>(m_real.OpenExisting(path), *this);
}

std::unique_ptr<IFile> CFaultyFileSystem::CreateBeside(const std::string& path, std::string& createdPath)
{
    Step("create");
    if (m_denyCreating) {
        throw CFileError(CFileError::Cause::AccessDenied, path + ": creating denied");
    }
    return std::make_unique<CFaultyFile>(m_real.CreateBeside(path, createdPath), *this);
}

std::string CFaultyFileSystem::FollowLinks(const std::string& path)
{
    Step("follow links");
    return m_real.FollowLinks(path);
}

void CFaultyFileSystem::Rename(const std::string& from, const std::string& to)
{
    Step("rename");
    m_real.Rename(from, to);
}

void CFaultyFileSystem::Remove(const std::string& path) noexcept
{
    m_real.Remove(path);
}
