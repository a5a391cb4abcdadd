#pragma once
// The texture cache's textures copied into 3D textures ("stacks"), a texture a
// slice, for the frames of the world window. Mesa's software rasteriser copies its
// whole fragment state, tens of kilobytes, whenever the bound texture changes: about
// 9 µs a change, and a town of ten thousand props of two textures each spent a
// third of its frame on them. Between two textures of one stack only the texture
// matrix changes, which the vertex stage alone reads.
//
// A slice samples exactly as its 2D texture does: the cache's textures are RGBA
// bytes, nearest-filtered, without mipmaps, repeating. The texture matrix adds
// r = (k + ½) / depth, the middle of slice k. A side that is a power of two shorter
// than kTiledSide is repeated along the slice up to that length, so that small
// textures share a stack with larger ones, and the matrix scales its coordinate by
// their ratio; that ratio is a power of two, so the scaled coordinate, its wrapping
// and the texel it falls in come out exactly as before.
//
// At the start of a frame the textures loaded since the last one are stacked
// together, a stack for each slice size, from the pixels GL holds: the first frame
// after a load pays for the copy. The 2D textures stay, for drawing outside frames,
// so GL holds each texture twice. Stacks belong to the texture cache's generation: a
// clear of the cache deletes them. Used from one thread, as the cache is.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

// Where a texture lies: the 3D texture and the texture matrix that reaches its slice.
struct TextureSlot {
    std::uint32_t stack = 0;
    std::array<float, 16> matrix{};  // column-major, as glLoadMatrixf takes it
};

class CTextureStacks {
public:
    // Sides that are powers of two below this are repeated up to it.
    static constexpr int kTiledSide = 128;

    static CTextureStacks& Instance();

    CTextureStacks(const CTextureStacks&) = delete;
    CTextureStacks& operator=(const CTextureStacks&) = delete;

    // Stacks, in the current context, the cache's textures loaded since the last
    // update. A texture that does not fit (a side beyond the context's 3D textures,
    // or no memory for the stack) keeps no slot.
    void Update();

    // The slot of the cached texture of GL name `name`; null for any other name and
    // for a texture that has none.
    const TextureSlot* SlotOf(std::uint32_t name) const;

    std::size_t GetStackCount() const { return stacks_.size(); }

    // Forgets every stack; with `deleteTextures`, the current context being theirs,
    // deletes their GL textures.
    void Clear(bool deleteTextures);

    // Off: frames bind the 2D textures, as on a context without 3D textures (for
    // tests and benchmarks).
    static void SetAllowed(bool allowed);

private:
    CTextureStacks() = default;

    struct Pending;
    void MakeStack(int width, int height, const std::vector<Pending>& textures);

    std::unordered_map<std::uint32_t, TextureSlot> slots_;
    std::vector<std::uint32_t> stacks_;
    std::size_t texturesSeen_ = 0;  // of the cache's textures, in load order
    std::uint64_t generation_ = 0;
};

// For the length of a frame: model drawing inside it draws each face group from its
// texture's stack, and a group of material 0 with the texture of the last group that
// named one, as a drawing that binds 2D textures does. Outside a frame, or where the
// frame cannot use stacks, models bind their 2D textures.
//
// It takes effect where 2D texturing is on, 3D texturing off and the texture matrix
// the identity, as the world window has them. At the start it updates the stacks
// and takes the bound 2D texture as the current one; at the end it binds the last
// current texture as the 2D texture, turns 3D texturing off and puts back the
// identity and the 3D binding it found: GL is left as a drawing that binds 2D
// textures leaves it.
class CStackedTexturing {
public:
    CStackedTexturing();
    ~CStackedTexturing();
    CStackedTexturing(const CStackedTexturing&) = delete;
    CStackedTexturing& operator=(const CStackedTexturing&) = delete;

    // The frame under way that draws from stacks; null when there is none.
    static CStackedTexturing* Active();

    // A face group named this texture: the next textured draw samples it.
    void Select(std::uint32_t name) { current_ = name; }
    // Before a textured draw: GL samples the current texture, from its slice or, when
    // it has none, from its 2D texture.
    void Apply();
    // Around a draw of a model without materials: no texturing at all.
    void BeginUntextured() const;
    void EndUntextured() const;

private:
    void LoadTextureMatrix(const float* matrix);

    bool active_ = false;
    std::uint32_t current_ = 0;
    std::optional<std::uint32_t> applied_;  // the texture GL samples now
    // GL_TEXTURE_3D enabled by this frame, with a slot's texture matrix loaded; off,
    // the identity.
    bool threeD_ = false;
    std::uint32_t boundStack_ = 0;
    std::int32_t saved3dBinding_ = 0;
};
