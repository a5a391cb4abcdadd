#include "scene/CMemoryWriteBuffer.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr std::size_t kSmallestBlock = 4096;

}  // namespace

// A block that holds `bytes` already is kept: a file written again and again into
// the same buffer touches no fresh memory.
void CMemoryWriteBuffer::Reset(std::size_t bytes)
{
    if (block_ && capacity_ >= bytes) {
        written_ = 0;
        PutAt(0);
        return;
    }
    Release();
    Reserve(bytes);
}

void CMemoryWriteBuffer::Release()
{
    block_.reset();
    capacity_ = 0;
    written_ = 0;
    setp(nullptr, nullptr);
}

std::size_t CMemoryWriteBuffer::End() const
{
    return std::max(written_, Position());
}

// Doubling keeps the copies of a growing file to about its own size in all.
bool CMemoryWriteBuffer::Grow(std::size_t needed)
{
    const std::size_t position = Position();
    if (needed > std::numeric_limits<std::size_t>::max() / 2 - position)
        return false;
    const std::size_t capacity = std::max({kSmallestBlock, 2 * capacity_, position + needed});
    std::unique_ptr<char[]> block(new (std::nothrow) char[capacity]);
    if (!block)
        return false;
    const std::size_t end = End();
    if (end != 0)
        std::memcpy(block.get(), block_.get(), end);
    block_ = std::move(block);
    capacity_ = capacity;
    written_ = end;
    PutAt(position);
    return true;
}

// pbump takes an int: a position beyond INT_MAX is reached in steps.
void CMemoryWriteBuffer::PutAt(std::size_t position)
{
    setp(block_.get(), block_.get() + capacity_);
    while (position > 0) {
        const int step = static_cast<int>(std::min<std::size_t>(position, INT_MAX));
        pbump(step);
        position -= static_cast<std::size_t>(step);
    }
}

CMemoryWriteBuffer::int_type CMemoryWriteBuffer::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    if (!Reserve(1))
        return traits_type::eof();
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize CMemoryWriteBuffer::xsputn(const char* bytes, std::streamsize n)
{
    if (n <= 0)
        return 0;
    if (!Reserve(static_cast<std::size_t>(n)))
        return 0;
    std::memcpy(pptr(), bytes, static_cast<std::size_t>(n));
    if (n <= INT_MAX)
        pbump(static_cast<int>(n));
    else
        PutAt(Position() + static_cast<std::size_t>(n));
    return n;
}

CMemoryWriteBuffer::pos_type CMemoryWriteBuffer::seekoff(off_type offset, std::ios_base::seekdir from,
                                                         std::ios_base::openmode which)
{
    if (!(which & std::ios_base::out) || (which & std::ios_base::in))
        return pos_type(off_type(-1));
    written_ = End();
    off_type base = 0;
    if (from == std::ios_base::cur)
        base = static_cast<off_type>(Position());
    else if (from == std::ios_base::end)
        base = static_cast<off_type>(written_);
    const off_type target = base + offset;
    // Only written bytes can be patched: a position past the end would leave a gap.
    if (target < 0 || static_cast<std::size_t>(target) > written_)
        return pos_type(off_type(-1));
    PutAt(static_cast<std::size_t>(target));
    return pos_type(target);
}

CMemoryWriteBuffer::pos_type CMemoryWriteBuffer::seekpos(pos_type position, std::ios_base::openmode which)
{
    return seekoff(off_type(position), std::ios_base::beg, which);
}
