#include "model/CTextureStacks.h"

#include "model/CTexture.h"
#include "model/CTextureManager.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <utility>

namespace {

bool g_allowed = true;
CStackedTexturing* g_active = nullptr;

constexpr std::array<float, 16> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

int SliceSide(int side)
{
    return std::has_single_bit(static_cast<unsigned>(side)) && side < CTextureStacks::kTiledSide
               ? CTextureStacks::kTiledSide
               : side;
}

// The texture's pixels repeated over a slice of `width` × `height`, whose sides are
// whole multiples of the texture's.
void TileInto(const std::vector<std::uint8_t>& texels, int w, int h, int width, int height,
              std::vector<std::uint8_t>& slice)
{
    const std::size_t row = static_cast<std::size_t>(w) * 4;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = texels.data() + static_cast<std::size_t>(y % h) * row;
        std::uint8_t* to = slice.data() + static_cast<std::size_t>(y) * width * 4;
        for (int x = 0; x < width; x += w)
            std::memcpy(to + static_cast<std::size_t>(x) * 4, from, row);
    }
}

}  // namespace

struct CTextureStacks::Pending {
    GLuint name = 0;
    int width = 0;
    int height = 0;
};

CTextureStacks& CTextureStacks::Instance()
{
    static CTextureStacks stacks;
    return stacks;
}

void CTextureStacks::SetAllowed(bool allowed)
{
    g_allowed = allowed;
}

const TextureSlot* CTextureStacks::SlotOf(std::uint32_t name) const
{
    const auto found = slots_.find(name);
    return found == slots_.end() ? nullptr : &found->second;
}

void CTextureStacks::Update()
{
    const CTextureManager& cache = CTextureManager::Instance();
    if (generation_ != cache.GetGeneration()) {
        Clear(false);  // the cache was cleared, and these with it
        generation_ = cache.GetGeneration();
    }
    if (texturesSeen_ >= cache.GetCount())
        return;
    GLint most = 0;
    glGetIntegerv(GL_MAX_3D_TEXTURE_SIZE, &most);
    std::map<std::pair<int, int>, std::vector<Pending>> bySize;
    for (; texturesSeen_ < cache.GetCount(); ++texturesSeen_) {
        const CTexture& texture = cache.GetAt(texturesSeen_);
        const int width = SliceSide(texture.GetWidth());
        const int height = SliceSide(texture.GetHeight());
        if (texture.GetGlName() == kGlNameUnset || texture.GetWidth() <= 0 || texture.GetHeight() <= 0 ||
            width > most || height > most)
            continue;
        bySize[{width, height}].push_back({texture.GetGlName(), texture.GetWidth(), texture.GetHeight()});
    }
    GLint bound2d = 0;
    GLint bound3d = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound2d);
    glGetIntegerv(GL_TEXTURE_BINDING_3D, &bound3d);
    const CUnpaddedPixelRows unpadded;
    for (const auto& [size, textures] : bySize) {
        for (std::size_t first = 0; first < textures.size(); first += static_cast<std::size_t>(most)) {
            const auto last = std::min(textures.size(), first + static_cast<std::size_t>(most));
            MakeStack(size.first, size.second, {textures.begin() + first, textures.begin() + last});
        }
    }
    glBindTexture(GL_TEXTURE_2D, bound2d);
    glBindTexture(GL_TEXTURE_3D, bound3d);
}

void CTextureStacks::MakeStack(int width, int height, const std::vector<Pending>& textures)
{
    while (glGetError() != GL_NO_ERROR) {
    }
    const auto depth = static_cast<GLsizei>(textures.size());
    GLuint stack = 0;
    glGenTextures(1, &stack);
    glBindTexture(GL_TEXTURE_3D, stack);
    glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA8, width, height, depth, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &stack);
        return;
    }
    std::vector<std::uint8_t> texels;
    std::vector<std::uint8_t> slice(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    std::vector<std::pair<GLuint, TextureSlot>> made;
    for (GLsizei k = 0; k < depth; ++k) {
        const Pending& texture = textures[static_cast<std::size_t>(k)];
        texels.resize(static_cast<std::size_t>(texture.width) * static_cast<std::size_t>(texture.height) * 4);
        glBindTexture(GL_TEXTURE_2D, texture.name);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        TileInto(texels, texture.width, texture.height, width, height, slice);
        glTexSubImage3D(GL_TEXTURE_3D, 0, 0, 0, k, width, height, 1, GL_RGBA, GL_UNSIGNED_BYTE, slice.data());
        TextureSlot slot{stack, {}};
        slot.matrix[0] = static_cast<float>(texture.width) / static_cast<float>(width);
        slot.matrix[5] = static_cast<float>(texture.height) / static_cast<float>(height);
        slot.matrix[14] = (static_cast<float>(k) + 0.5f) / static_cast<float>(depth);
        slot.matrix[15] = 1.0f;
        made.emplace_back(texture.name, slot);
    }
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &stack);
        return;
    }
    stacks_.push_back(stack);
    slots_.insert(made.begin(), made.end());
}

void CTextureStacks::Clear(bool deleteTextures)
{
    if (deleteTextures && !stacks_.empty())
        glDeleteTextures(static_cast<GLsizei>(stacks_.size()), stacks_.data());
    stacks_.clear();
    slots_.clear();
    texturesSeen_ = 0;
}

CStackedTexturing::CStackedTexturing()
{
    if (!g_allowed || g_active || !glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_TEXTURE_3D) || !GlVersionAtLeast(1, 2))
        return;
    // The slots' matrices stand in for an identity texture matrix.
    std::array<float, 16> matrix{};
    glGetFloatv(GL_TEXTURE_MATRIX, matrix.data());
    if (matrix != kIdentity)
        return;
    active_ = true;
    g_active = this;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    current_ = static_cast<std::uint32_t>(bound);
    glGetIntegerv(GL_TEXTURE_BINDING_3D, &saved3dBinding_);
    CTextureStacks::Instance().Update();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

CStackedTexturing::~CStackedTexturing()
{
    if (!active_)
        return;
    g_active = nullptr;
    glDisable(GL_TEXTURE_3D);
    glBindTexture(GL_TEXTURE_3D, static_cast<GLuint>(saved3dBinding_));
    if (threeD_)
        LoadTextureMatrix(kIdentity.data());
    glBindTexture(GL_TEXTURE_2D, current_);
}

CStackedTexturing* CStackedTexturing::Active()
{
    return g_active;
}

void CStackedTexturing::Apply()
{
    if (applied_ == current_)
        return;
    if (const TextureSlot* slot = CTextureStacks::Instance().SlotOf(current_)) {
        if (!threeD_)
            glEnable(GL_TEXTURE_3D);
        threeD_ = true;
        if (slot->stack != boundStack_)
            glBindTexture(GL_TEXTURE_3D, slot->stack);
        boundStack_ = slot->stack;
        LoadTextureMatrix(slot->matrix.data());
    } else {
        if (threeD_) {
            glDisable(GL_TEXTURE_3D);
            LoadTextureMatrix(kIdentity.data());
        }
        threeD_ = false;
        glBindTexture(GL_TEXTURE_2D, current_);
    }
    applied_ = current_;
}

void CStackedTexturing::LoadTextureMatrix(const float* matrix)
{
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(matrix);
    glMatrixMode(GL_MODELVIEW);
}

void CStackedTexturing::BeginUntextured() const
{
    glDisable(GL_TEXTURE_2D);
    if (threeD_)
        glDisable(GL_TEXTURE_3D);
}

void CStackedTexturing::EndUntextured() const
{
    glEnable(GL_TEXTURE_2D);
    if (threeD_)
        glEnable(GL_TEXTURE_3D);
}
