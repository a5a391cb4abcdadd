#include "model/CByteCursor.h"

#include "core/CVerdaxException.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

CByteCursor::CByteCursor(int fd, std::uint64_t size, std::size_t window)
    : size_(size), fd_(fd), windowCapacity_(static_cast<std::size_t>(std::min<std::uint64_t>(window, size)))
{
    window_ = std::make_unique_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(windowCapacity_, 1));
    bytes_ = {window_.get(), 0};
}

CByteCursor::~CByteCursor() = default;

// The unread rest of the window moves to its start, and the file's next bytes follow
// it until the window is full or the file ends. A read larger than the window grows
// it; no more than the file has left is ever asked for, so a hostile count cannot
// make it huge.
void CByteCursor::Refill(std::uint64_t count)
{
    if (fd_ < 0 || count > Remaining())
        RunOut();
    const std::size_t kept = bytes_.size() - position_;
    const auto needed = static_cast<std::size_t>(count);
    if (needed > windowCapacity_) {
        std::unique_ptr<std::uint8_t[]> larger;
        try {
            larger = std::make_unique_for_overwrite<std::uint8_t[]>(needed);
        } catch (const std::bad_alloc&) {
            throw CVerdaxException(VERDAX_ERR_MEMORY);
        }
        std::memcpy(larger.get(), bytes_.data() + position_, kept);
        window_ = std::move(larger);
        windowCapacity_ = needed;
    } else {
        std::memmove(window_.get(), bytes_.data() + position_, kept);
    }
    windowStart_ += position_;
    position_ = 0;
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(windowCapacity_, size_ - windowStart_));
    std::size_t have = kept;
    while (have < wanted) {
        const ssize_t n = ::read(fd_, window_.get() + have, wanted - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            size_ = windowStart_ + have;  // the file ends (or fails) here
            break;
        }
        have += static_cast<std::size_t>(n);
    }
    bytes_ = {window_.get(), have};
    if (needed > have)
        RunOut();
}

void CByteCursor::RunOut()
{
    position_ = bytes_.size();
    if (fd_ >= 0)
        size_ = windowStart_ + position_;
    throw CVerdaxException(VERDAX_ERR_READ);
}

std::string CByteCursor::Name()
{
    const std::uint8_t length = U8();
    const auto text = Bytes(length);
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}
