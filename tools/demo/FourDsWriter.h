#pragma once
// The game's 4DS model format: a material table, then a frame table whose frames are
// visual meshes with levels of detail, sectors with portals, or dummies, linked into
// a tree by 1-based parent indices.

#include "core/Geometry.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

// A rotation as the game's files store it.
struct Quaternion {
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// The game stores the vector part negated: the editor reads the axis as (−x, −y, −z) / |v|.
Quaternion RotationAbout(const Vector3& axis, float degrees);

struct BoundingBox {
    Vector3 min;
    Vector3 max;
};

namespace material {
constexpr std::uint32_t kShortForm = 0x00000014;      // 14 bytes of record after the flags
constexpr std::uint32_t kColourOnly = 0x00000001;     // colours and one byte, no texture names
constexpr std::uint32_t kEnvironment = 0x00080000;    // an environment texture comes first
constexpr std::uint32_t kAlphaTexture = 0x40000000;   // an alpha texture follows the diffuse one
constexpr std::uint32_t kNoAlphaName = 0xA1000000;    // any of these suppresses the alpha name
constexpr std::uint32_t kAnimated = 0x02000000;       // 34 bytes of animation data at the end
constexpr std::uint32_t kDiffuseTexture = 0x00040000;
}  // namespace material

struct FourDsMaterial {
    std::uint32_t flags = material::kDiffuseTexture;
    Vector3 ambient{0.5f, 0.5f, 0.5f};
    Vector3 diffuse{1.0f, 1.0f, 1.0f};
    Vector3 emission{0.0f, 0.0f, 0.0f};
    float opacity = 1.0f;
    float environmentRatio = 0.5f;
    std::string environmentTexture;
    std::string diffuseTexture;
    std::string alphaTexture;
};

struct FourDsVertex {
    Vector3 position;
    Vector3 normal;
    float u = 0.0f;
    float v = 0.0f;
};

struct FourDsFaceGroup {
    std::vector<std::array<std::uint16_t, 3>> faces;
    std::uint16_t material = 0;  // 0 = none, else 1-based into the material table
};

struct FourDsLod {
    float distance = 0.0f;
    std::vector<FourDsVertex> vertices;
    std::vector<FourDsFaceGroup> groups;
};

struct FourDsPortal {
    std::uint32_t flags = 0;
    std::array<float, 6> plane{};  // normal, distance and two reserved values
    std::vector<Vector3> vertices;
};

struct FourDsSector {
    std::array<std::uint8_t, 8> flags{};
    std::vector<Vector3> vertices;
    std::vector<std::array<std::uint16_t, 3>> faces;
    BoundingBox box;
    std::vector<FourDsPortal> portals;
};

namespace frame {
constexpr std::uint8_t kVisual = 1;
constexpr std::uint8_t kSector = 5;
constexpr std::uint8_t kDummy = 6;
}  // namespace frame

struct FourDsFrame {
    std::uint8_t type = frame::kVisual;
    std::uint8_t visualKind = 0;
    std::uint16_t parent = 0;  // 0 = root, else the 1-based index of an earlier frame
    Vector3 position;
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Quaternion rotation;
    std::string name;
    std::string userText;
    std::uint16_t instance = 0;  // visual frames: 0 = own LODs follow
    std::vector<FourDsLod> lods;
    FourDsSector sector;
    BoundingBox box;  // dummy frames
};

struct FourDsModelData {
    std::uint16_t version = 29;
    std::uint64_t timestamp = 0;
    std::vector<FourDsMaterial> materials;
    std::vector<FourDsFrame> frames;
};

// The whole file. Throws std::length_error or std::invalid_argument when the model
// does not fit the format's counts or refers to what is not there.
std::string Write4ds(const FourDsModelData& model);

}  // namespace demo
