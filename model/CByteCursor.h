#pragma once
// Reads little-endian values from a file held in memory, or from an open file through
// a window that is refilled as the reads reach its end, so that a large file is never
// held whole. Every read is checked against the bytes that remain: a read that would
// run past the end consumes what is left and throws CVerdaxException 3005, so that a
// file which ends early stops every later read too, as a stream in its failed state
// would.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <memory>
#include <string>

// Little-endian decoding of bytes already known to be there, for bulk arrays.
inline std::uint16_t LoadU16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}
inline std::uint32_t LoadU32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}
inline float LoadF32(const std::uint8_t* at)
{
    return std::bit_cast<float>(LoadU32(at));
}

class CByteCursor {
public:
    explicit CByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes), size_(bytes.size()) {}
    // The `size` bytes of the open file `fd` from its current offset, read in parts of
    // about `window` bytes (more when one read asks for more). A file that delivers
    // fewer bytes than `size` ends where it stops. The descriptor stays the caller's.
    CByteCursor(int fd, std::uint64_t size, std::size_t window);
    ~CByteCursor();
    CByteCursor(const CByteCursor&) = delete;
    CByteCursor& operator=(const CByteCursor&) = delete;

    std::uint8_t U8() { return Bytes(1)[0]; }
    std::uint16_t U16() { return LoadU16(Bytes(2).data()); }
    std::uint32_t U32() { return LoadU32(Bytes(4).data()); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    float F32() { return LoadF32(Bytes(4).data()); }

    // The next `count` bytes, not copied: valid until the next read.
    std::span<const std::uint8_t> Bytes(std::uint64_t count)
    {
        Require(count);
        const auto taken = bytes_.subspan(position_, static_cast<std::size_t>(count));
        position_ += static_cast<std::size_t>(count);
        return taken;
    }
    void Skip(std::uint64_t count) { Bytes(count); }

    // A u8 length, then that many bytes of text without terminator.
    std::string Name();

    // Throws (as a read past the end would) unless `count` bytes remain. Counts read
    // from a file are checked with this before anything is allocated for them.
    void Require(std::uint64_t count)
    {
        if (count > bytes_.size() - position_)
            Refill(count);
    }

    std::uint64_t Remaining() const { return size_ - Position(); }
    bool AtEnd() const { return Remaining() == 0; }
    std::uint64_t Position() const { return windowStart_ + position_; }

private:
    // Makes `count` bytes available in the window, or runs out.
    void Refill(std::uint64_t count);
    [[noreturn]] void RunOut();

    std::span<const std::uint8_t> bytes_;  // the whole file, or the window's bytes
    std::size_t position_ = 0;             // in bytes_
    std::uint64_t size_ = 0;               // of the whole file
    std::uint64_t windowStart_ = 0;        // the file offset of bytes_[0]
    int fd_ = -1;                          // -1: the whole file is in bytes_
    std::unique_ptr<std::uint8_t[]> window_;
    std::size_t windowCapacity_ = 0;
};
