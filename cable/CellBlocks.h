#pragma once
// The memory in which the cable table keeps its rows: large blocks, handed out piece by piece from
// the end of the newest one. A piece never moves, so that rows can point into the blocks; pieces
// that are no longer used are only counted, until the owner copies what is left into fresh blocks.

#include <cstddef>
#include <vector>

class CCellBlocks {
public:
    CCellBlocks() = default;
    ~CCellBlocks();
    CCellBlocks(CCellBlocks&&) = delete;
    CCellBlocks& operator=(CCellBlocks&& other) noexcept;
    CCellBlocks(const CCellBlocks&) = delete;
    CCellBlocks& operator=(const CCellBlocks&) = delete;

    // A piece of size bytes, which stays where it is until Clear. Throws std::bad_alloc.
    char* Allocate(std::size_t size);
    // Makes the piece last, of oldSize bytes, newSize bytes long if it is the last one allocated
    // and its block has room; returns whether it did.
    bool Resize(const char* last, std::size_t oldSize, std::size_t newSize);
    // Counts size bytes of earlier pieces as no longer used.
    void Discard(std::size_t size);

    // Bytes of the pieces in use, and of those discarded.
    std::size_t GetUsedBytes() const { return m_usedBytes; }
    std::size_t GetDiscardedBytes() const { return m_discardedBytes; }

    // Gives every block back.
    void Clear() noexcept;

private:
    struct SBlock {
        char* data;
        std::size_t size;
    };

    void AddBlock(std::size_t atLeast);

    std::vector<SBlock> m_blocks;
    char* m_free = nullptr;  // the unused end of the newest block
    char* m_freeEnd = nullptr;
    char* m_last = nullptr;  // the last piece handed out
    std::size_t m_usedBytes = 0;
    std::size_t m_discardedBytes = 0;
};
