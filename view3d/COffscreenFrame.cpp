#include "view3d/COffscreenFrame.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

COffscreenFrame::COffscreenFrame(int width, int height) : width_(width), height_(height)
{
    if (width < 1 || height < 1) {
        failure_ = "the frame has no pixels";
        return;
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (width > largest || height > largest) {
        failure_ = "the frame is larger than " + std::to_string(largest) + " pixels a side";
        return;
    }
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        failure_ = "the framebuffer is incomplete";
    Bind();
}

COffscreenFrame::~COffscreenFrame()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (depth_)
        glDeleteRenderbuffers(1, &depth_);
    if (colour_)
        glDeleteRenderbuffers(1, &colour_);
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
}

void COffscreenFrame::Bind() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

void COffscreenFrame::ReadOpaqueArgb(std::span<std::uint32_t> pixels) const
{
    const auto width = static_cast<std::size_t>(width_);
    if (!IsValid() || pixels.size() != width * static_cast<std::size_t>(height_))
        return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    // 0xAARRGGBB words, whatever the machine's byte order.
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    // GL's first row is the bottom one.
    for (int top = 0, bottom = height_ - 1; top <= bottom; ++top, --bottom) {
        const auto upper = pixels.subspan(static_cast<std::size_t>(top) * width, width);
        const auto lower = pixels.subspan(static_cast<std::size_t>(bottom) * width, width);
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t above = upper[x] | 0xff000000u;
            upper[x] = lower[x] | 0xff000000u;
            lower[x] = above;
        }
    }
}

std::vector<std::uint8_t> COffscreenFrame::ReadRgb() const
{
    if (!IsValid())
        return {};
    const std::size_t row = static_cast<std::size_t>(width_) * 3;
    std::vector<std::uint8_t> pixels(row * static_cast<std::size_t>(height_));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // GL's first row is the bottom one.
    for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels.begin() + top * row, pixels.begin() + (top + 1) * row, pixels.begin() + bottom * row);
    return pixels;
}
