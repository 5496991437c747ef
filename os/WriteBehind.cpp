#include "os/WriteBehind.h"

#include "os/FileReplacement.h"
#include "os/PageMemory.h"

#include <cstring>
#include <new>
#include <system_error>
#include <utility>

CWriteBehind::CWriteBehind(IFile& file, std::string path)
    : m_file(file),
      m_path(std::move(path)),
      m_buffers(AllocatePages(2 * kPieceSize)),
      m_filling(m_buffers),
      m_writing(m_buffers + kPieceSize) {
    // Without a thread of its own (none can be started, or there is no memory for one), each piece
    // is written as it comes.
    try {
        m_thread = std::thread(&CWriteBehind::WriteHandedPieces, this);
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
}

CWriteBehind::~CWriteBehind() {
    if (m_thread.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    FreePages(m_buffers, 2 * kPieceSize);
}

void CWriteBehind::Write(std::string_view piece) {
    if (!m_thread.joinable() || piece.size() > kPieceSize) {
        WriteAtOnce(piece);
        return;
    }
    // Copied while the piece before is still being written.
    std::memcpy(m_filling, piece.data(), piece.size());
    std::unique_lock<std::mutex> lock(m_mutex);
    WaitForThePieceBefore(lock);
    std::swap(m_filling, m_writing);
    m_writingSize = piece.size();
    m_handed = true;
    lock.unlock();
    m_changed.notify_all();
}

void CWriteBehind::Finish() {
    std::unique_lock<std::mutex> lock(m_mutex);
    WaitForThePieceBefore(lock);
}

void CWriteBehind::WriteAtOnce(std::string_view piece) {
    Finish();
    WriteAll(m_file, piece, m_path);
}

void CWriteBehind::WaitForThePieceBefore(std::unique_lock<std::mutex>& lock) {
    m_changed.wait(lock, [this] { return !m_handed; });
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
}

void CWriteBehind::WriteHandedPieces() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_handed || m_stopping; });
        if (!m_handed) {
            return;
        }
        lock.unlock();
        std::exception_ptr failure;
        try {
            WriteAll(m_file, std::string_view(m_writing, m_writingSize), m_path);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        m_failure = failure;
        m_handed = false;
        m_changed.notify_all();
    }
}
