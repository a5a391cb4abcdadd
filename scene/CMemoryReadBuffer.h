#pragma once
// A stream buffer that reads bytes held elsewhere, without copying them: a whole
// file read into memory once and walked from there. Reading only; positions may be
// set anywhere from the start to the end of the bytes, as in a string stream.
//
// It can also walk an open file through a window of its own that is refilled as the
// reads reach its end, so that a large file passes through a few pages that are used
// again rather than through as much fresh memory as it holds. Positions then count
// from where the file was when it was handed over.
//
// Besides the stream interface it hands out the bytes themselves (Take), so that
// a reader of small fields pays one bounds check per field rather than a call
// through the stream buffer.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <streambuf>
#include <string_view>

class CMemoryReadBuffer final : public std::streambuf {
public:
    CMemoryReadBuffer() = default;
    ~CMemoryReadBuffer() override;
    CMemoryReadBuffer(const CMemoryReadBuffer&) = delete;
    CMemoryReadBuffer& operator=(const CMemoryReadBuffer&) = delete;

    // Reads `bytes` from their start; they must stay in place while they are read.
    // Gives back the window of a file read before.
    void Reset(std::string_view bytes);
    // Reads the `size` bytes of the open file `fd` from its current offset, about
    // `window` bytes at a time (more when one Take asks for more; never more than the
    // file has left). The descriptor stays the caller's and open while it is read. A
    // file that delivers fewer bytes than `size` ends where it stops.
    void ResetFromFile(int fd, std::uint64_t size, std::size_t window);

    std::size_t Remaining() const { return static_cast<std::size_t>(egptr() - gptr() + unread_); }
    // The next n bytes, the read position moved past them; nullptr, the position
    // left as it was, when fewer than n remain. The bytes stay valid until the next
    // call on the buffer.
    const char* Take(std::size_t n)
    {
        if (n > static_cast<std::size_t>(egptr() - gptr()) && !Refill(n))
            return nullptr;
        char* at = gptr();
        setg(eback(), at + n, egptr());
        return at;
    }

protected:
    int_type underflow() override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir from, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    // Makes n bytes available from the read position on, in the window: the unread
    // rest of the window moves to its start and the file's next bytes follow it. False
    // when fewer than n remain.
    bool Refill(std::size_t n);
    std::uint64_t End() const { return windowStart_ + static_cast<std::uint64_t>(egptr() - eback()) + unread_; }

    int fd_ = -1;                   // -1: every byte is in the get area
    std::int64_t fileOffset_ = 0;   // the descriptor's offset of position 0
    std::uint64_t windowStart_ = 0; // the position of eback()
    std::uint64_t unread_ = 0;      // bytes of the file after egptr() not read yet
    std::unique_ptr<char[]> window_;
    std::size_t capacity_ = 0;
};
