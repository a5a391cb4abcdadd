#pragma once
// A framebuffer of W x H pixels without a window, for drawing a frame of the world
// window in a headless context (verdax-tool render, the tests, the benchmarks): an
// RGBA colour buffer and a 24-bit depth buffer with stencil, as the editor's view
// has. Needs a current context with framebuffer objects (GL 3.0, or the EXT/ARB
// extension Mesa offers in every compatibility context).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class COffscreenFrame {
public:
    // Creates the buffers in the current context and binds them for drawing. On
    // failure IsValid() is false and GetFailure() says why.
    COffscreenFrame(int width, int height);
    ~COffscreenFrame();
    COffscreenFrame(const COffscreenFrame&) = delete;
    COffscreenFrame& operator=(const COffscreenFrame&) = delete;

    bool IsValid() const { return failure_.empty(); }
    const std::string& GetFailure() const { return failure_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Makes the buffers the ones drawn into and read from, as after construction.
    void Bind() const;

    // The colour buffer as 8-bit RGB, top row first (as a window shows it).
    std::vector<std::uint8_t> ReadRgb() const;
    // The colour buffer into `pixels` (Width() x Height() of them), top row first, each
    // 0xffRRGGBB: opaque, whatever alpha the drawing left.
    void ReadOpaqueArgb(std::span<std::uint32_t> pixels) const;

private:
    int width_;
    int height_;
    std::uint32_t framebuffer_ = 0;
    std::uint32_t colour_ = 0;
    std::uint32_t depth_ = 0;
    std::string failure_;
};
