#include "cable/CellBlocks.h"

#include "os/PageMemory.h"

#include <utility>

namespace {

constexpr std::size_t kFirstBlock = std::size_t{4} << 10;
// Blocks double up to this size: a small table stays small, a large one needs few blocks, and
// little of the newest block is left unused.
constexpr std::size_t kLargestBlock = std::size_t{4} << 20;

}  // namespace

CCellBlocks::~CCellBlocks() { Clear(); }

CCellBlocks& CCellBlocks::operator=(CCellBlocks&& other) noexcept {
    if (&other != this) {
        Clear();
        m_blocks = std::move(other.m_blocks);
        other.m_blocks.clear();
        m_free = std::exchange(other.m_free, nullptr);
        m_freeEnd = std::exchange(other.m_freeEnd, nullptr);
        m_last = std::exchange(other.m_last, nullptr);
        m_usedBytes = std::exchange(other.m_usedBytes, 0);
        m_discardedBytes = std::exchange(other.m_discardedBytes, 0);
    }
    return *this;
}

void CCellBlocks::AddBlock(std::size_t atLeast) {
    std::size_t size = m_blocks.empty() ? kFirstBlock : m_blocks.back().size * 2;
    if (size > kLargestBlock) {
        size = kLargestBlock;
    }
    if (size < atLeast) {
        size = atLeast;
    }
    m_blocks.reserve(m_blocks.size() + 1);
    char* const data = AllocatePages(size);
    m_blocks.push_back(SBlock{data, size});
    m_free = data;
    m_freeEnd = data + size;
}

char* CCellBlocks::Allocate(std::size_t size) {
    if (static_cast<std::size_t>(m_freeEnd - m_free) < size) {
        AddBlock(size);
    }
    m_last = m_free;
    m_free += size;
    m_usedBytes += size;
    return m_last;
}

bool CCellBlocks::Resize(const char* last, std::size_t oldSize, std::size_t newSize) {
    if (last != m_last || m_last + oldSize != m_free ||
        (newSize > oldSize && newSize - oldSize > static_cast<std::size_t>(m_freeEnd - m_free))) {
        return false;
    }
    m_free = m_last + newSize;
    m_usedBytes = m_usedBytes - oldSize + newSize;
    return true;
}

void CCellBlocks::Discard(std::size_t size) {
    m_usedBytes -= size;
    m_discardedBytes += size;
}

void CCellBlocks::Clear() noexcept {
    for (const SBlock& block : m_blocks) {
        FreePages(block.data, block.size);
    }
    m_blocks.clear();
    m_free = m_freeEnd = m_last = nullptr;
    m_usedBytes = m_discardedBytes = 0;
}
