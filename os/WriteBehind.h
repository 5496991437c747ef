#pragma once
// Storing a text in a file while the next piece of it is being made: each piece is copied and
// written on a thread of its own, so that making the text and writing it take their time side by
// side instead of one after the other.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

class IFile;

class CWriteBehind {
public:
    // Pieces up to this size are copied and written behind; longer ones are written at once.
    static constexpr std::size_t kPieceSize = std::size_t{1} << 20;

    // Writes to file, at its current position, naming path in errors. Where no thread can be
    // started, every piece is written at once. Throws std::bad_alloc when there is no memory for
    // the copies.
    CWriteBehind(IFile& file, std::string path);
    // Lets the piece being written end, without reporting its failure, and stops the thread.
    ~CWriteBehind();
    CWriteBehind(const CWriteBehind&) = delete;
    CWriteBehind& operator=(const CWriteBehind&) = delete;

    // Writes piece after the pieces before it (as WriteAll does), returning while it may still be
    // being written. Throws what writing an earlier piece threw (CFileError, DiskFull for a short
    // write); after such a failure nothing more is written.
    void Write(std::string_view piece);
    // Returns once every piece is written; throws as Write does.
    void Finish();

private:
    void WriteAtOnce(std::string_view piece);
    void WaitForThePieceBefore(std::unique_lock<std::mutex>& lock);
    void WriteHandedPieces();

    IFile& m_file;
    const std::string m_path;
    char* const m_buffers;  // two halves of kPieceSize bytes, that take turns
    char* m_filling;        // the half the next piece is copied to
    char* m_writing;        // the half the thread writes from
    std::size_t m_writingSize = 0;
    bool m_handed = false;  // m_writing holds a piece not yet written
    bool m_stopping = false;
    std::exception_ptr m_failure;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
};
