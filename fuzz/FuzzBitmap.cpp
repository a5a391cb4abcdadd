// The bitmap decoder of the texture cache (the GL upload is kept apart from it).

#include "core/CVerdaxException.h"
#include "fuzz/FuzzSupport.h"
#include "model/BitmapDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::SilentPresenter presenter;
    static const platform::ScopedPresenter scope(presenter);
    try {
        const BitmapImage image = DecodeBitmap({data, size});
        fuzz::Consume(static_cast<std::uint64_t>(image.width) * 65536 + static_cast<std::uint64_t>(image.height));
        // What the upload reads: width × height × bytes per pixel from the pixel buffer.
        const std::size_t uploaded = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) *
                                     image.bytesPerPixel;
        fuzz::Consume({reinterpret_cast<const char*>(image.pixels.data()), std::min(uploaded, image.pixels.size())});
        if (uploaded > image.pixels.size())
            __builtin_trap();  // the upload would read past the decoded pixels
        for (float c : image.red)
            fuzz::ConsumeFloat(c);
        fuzz::Consume(image.green.size() + image.blue.size());
    } catch (const CVerdaxException& error) {
        fuzz::Consume(static_cast<std::uint64_t>(error.GetCode()));
    }
    return 0;
}
