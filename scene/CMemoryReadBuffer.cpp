#include "scene/CMemoryReadBuffer.h"

#include "core/CVerdaxException.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

CMemoryReadBuffer::~CMemoryReadBuffer() = default;

void CMemoryReadBuffer::Reset(std::string_view bytes)
{
    fd_ = -1;
    fileOffset_ = 0;
    windowStart_ = 0;
    unread_ = 0;
    window_.reset();
    capacity_ = 0;
    // The get area is the stream buffer's char*; nothing is ever written through it.
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
}

void CMemoryReadBuffer::ResetFromFile(int fd, std::uint64_t size, std::size_t window)
{
    Reset({});
    fd_ = fd;
    fileOffset_ = ::lseek(fd, 0, SEEK_CUR);
    unread_ = size;
    capacity_ = static_cast<std::size_t>(std::min<std::uint64_t>(window, size));
    try {
        window_ = std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(capacity_, 1));
    } catch (const std::bad_alloc&) {
        throw CVerdaxException(VERDAX_ERR_MEMORY);
    }
    setg(window_.get(), window_.get(), window_.get());
}

// A Take larger than the window grows it; no more than the file has left is ever
// asked for, so a hostile count cannot make it huge.
bool CMemoryReadBuffer::Refill(std::size_t n)
{
    if (fd_ < 0 || n > Remaining())
        return false;
    const auto kept = static_cast<std::size_t>(egptr() - gptr());
    if (n > capacity_) {
        std::unique_ptr<char[]> larger;
        try {
            larger = std::make_unique_for_overwrite<char[]>(n);
        } catch (const std::bad_alloc&) {
            throw CVerdaxException(VERDAX_ERR_MEMORY);
        }
        std::memcpy(larger.get(), gptr(), kept);
        window_ = std::move(larger);
        capacity_ = n;
    } else {
        std::memmove(window_.get(), gptr(), kept);
    }
    windowStart_ += static_cast<std::uint64_t>(gptr() - eback());
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(capacity_, kept + unread_));
    std::size_t have = kept;
    while (have < wanted) {
        const ssize_t got = ::read(fd_, window_.get() + have, wanted - have);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            unread_ = 0;  // the file ends (or fails) here
            break;
        }
        have += static_cast<std::size_t>(got);
        unread_ -= static_cast<std::size_t>(got);
    }
    setg(window_.get(), window_.get(), window_.get() + have);
    return n <= have;
}

CMemoryReadBuffer::int_type CMemoryReadBuffer::underflow()
{
    if (gptr() == egptr() && !Refill(1))
        return traits_type::eof();
    return traits_type::to_int_type(*gptr());
}

CMemoryReadBuffer::pos_type CMemoryReadBuffer::seekoff(off_type offset, std::ios_base::seekdir from,
                                                       std::ios_base::openmode which)
{
    if (!(which & std::ios_base::in))
        return pos_type(off_type(-1));
    off_type base = 0;
    if (from == std::ios_base::cur)
        base = static_cast<off_type>(windowStart_) + (gptr() - eback());
    else if (from == std::ios_base::end)
        base = static_cast<off_type>(End());
    return seekpos(pos_type(base + offset), which);
}

// Within the window the position just moves; elsewhere in a file the window starts
// empty at the new position.
CMemoryReadBuffer::pos_type CMemoryReadBuffer::seekpos(pos_type position, std::ios_base::openmode which)
{
    const off_type to = position;
    if (!(which & std::ios_base::in) || to < 0 || static_cast<std::uint64_t>(to) > End())
        return pos_type(off_type(-1));
    const auto target = static_cast<std::uint64_t>(to);
    const std::uint64_t windowEnd = windowStart_ + static_cast<std::uint64_t>(egptr() - eback());
    if (target >= windowStart_ && target <= windowEnd) {
        setg(eback(), eback() + (target - windowStart_), egptr());
        return position;
    }
    if (::lseek(fd_, fileOffset_ + to, SEEK_SET) < 0)
        return pos_type(off_type(-1));
    unread_ = End() - target;
    windowStart_ = target;
    setg(window_.get(), window_.get(), window_.get());
    return position;
}
