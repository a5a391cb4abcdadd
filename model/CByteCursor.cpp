#include "model/CByteCursor.h"

#include "core/CVerdaxException.h"

void CByteCursor::RunOut()
{
    position_ = bytes_.size();
    throw CVerdaxException(VERDAX_ERR_READ);
}

std::string CByteCursor::Name()
{
    const std::uint8_t length = U8();
    const auto text = Bytes(length);
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}
