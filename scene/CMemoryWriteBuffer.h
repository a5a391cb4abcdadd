#pragma once
// A stream buffer that collects written bytes in memory, for writing a whole file
// before it goes to disk. It holds one growing block of the size asked for up front,
// so that a file whose size is about known is written without moving its bytes as
// the block grows. Writing only; positions may be set back to patch bytes written
// before, and the end is where the furthest byte was written.

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string_view>

class CMemoryWriteBuffer : public std::streambuf {
public:
    CMemoryWriteBuffer() = default;
    CMemoryWriteBuffer(const CMemoryWriteBuffer&) = delete;
    CMemoryWriteBuffer& operator=(const CMemoryWriteBuffer&) = delete;

    // Starts empty, with room for `bytes` (more is taken as needed), in the memory it
    // holds when that is enough.
    void Reset(std::size_t bytes);
    // Gives the memory back; the buffer is empty.
    void Release();

    // The bytes written, up to the furthest position reached.
    std::string_view View() const { return {block_.get(), End()}; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* bytes, std::streamsize n) override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir from, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    std::size_t Position() const { return static_cast<std::size_t>(pptr() - pbase()); }
    std::size_t End() const;
    // Makes room for `needed` bytes from the current position on; false when the memory
    // cannot be had.
    bool Reserve(std::size_t needed)
    {
        return needed <= static_cast<std::size_t>(epptr() - pptr()) || Grow(needed);
    }
    bool Grow(std::size_t needed);
    void PutAt(std::size_t position);

    std::unique_ptr<char[]> block_;
    std::size_t capacity_ = 0;
    std::size_t written_ = 0;  // the end as last recorded; the put position may be beyond it
};
