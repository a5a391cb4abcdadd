#pragma once
// A stream buffer that reads bytes held elsewhere, without copying them: a whole
// file read into memory once and walked from there. Reading only; positions may be
// set anywhere from the start to the end of the bytes, as in a string stream.
//
// Besides the stream interface it hands out the bytes themselves (Take), so that
// a reader of small fields pays one bounds check per field rather than a call
// through the stream buffer.

#include <cstddef>
#include <streambuf>
#include <string_view>

class CMemoryReadBuffer final : public std::streambuf {
public:
    CMemoryReadBuffer() = default;
    CMemoryReadBuffer(const CMemoryReadBuffer&) = delete;
    CMemoryReadBuffer& operator=(const CMemoryReadBuffer&) = delete;

    // Reads `bytes` from their start; they must stay in place while they are read.
    void Reset(std::string_view bytes);

    std::size_t Remaining() const { return static_cast<std::size_t>(egptr() - gptr()); }
    // The next n bytes, the read position moved past them; nullptr, the position
    // left as it was, when fewer than n remain.
    const char* Take(std::size_t n)
    {
        if (n > Remaining())
            return nullptr;
        char* at = gptr();
        setg(eback(), at + n, egptr());
        return at;
    }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir from, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
};
