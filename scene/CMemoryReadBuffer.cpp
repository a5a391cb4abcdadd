#include "scene/CMemoryReadBuffer.h"

void CMemoryReadBuffer::Reset(std::string_view bytes)
{
    // The get area is the stream buffer's char*; nothing is ever written through it.
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
}

CMemoryReadBuffer::pos_type CMemoryReadBuffer::seekoff(off_type offset, std::ios_base::seekdir from,
                                                       std::ios_base::openmode which)
{
    if (!(which & std::ios_base::in))
        return pos_type(off_type(-1));
    off_type base = 0;
    if (from == std::ios_base::cur)
        base = gptr() - eback();
    else if (from == std::ios_base::end)
        base = egptr() - eback();
    return seekpos(pos_type(base + offset), which);
}

CMemoryReadBuffer::pos_type CMemoryReadBuffer::seekpos(pos_type position, std::ios_base::openmode which)
{
    const off_type to = position;
    if (!(which & std::ios_base::in) || to < 0 || to > egptr() - eback())
        return pos_type(off_type(-1));
    setg(eback(), eback() + to, egptr());
    return position;
}
