#pragma once
// What C4dsModel keeps of a 4DS file: materials, and frames with their transforms,
// meshes at several levels of detail, sector geometry and boxes. A file's content is
// read once into a ModelGeometry and shared, read only, by every model of that file.

#include "core/Geometry.h"
#include "model/CTexture.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ModelMaterial {
    std::uint32_t flags = 0;
    std::uint32_t diffuseGlName = kGlNameUnset;
    std::uint32_t environmentGlName = kGlNameUnset;
    std::uint32_t alphaGlName = kGlNameUnset;
    const CTexture* diffuse = nullptr;  // owned by the texture cache
    const CTexture* alpha = nullptr;
};

// One vertex in GL's interleaved layout GL_T2F_N3F_V3F, so that a LOD's vertex array
// is handed to glInterleavedArrays as it is.
struct ModelVertex {
    float u = 0.0f;
    float v = 0.0f;
    float normalX = 0.0f;
    float normalY = 0.0f;
    float normalZ = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
static_assert(sizeof(ModelVertex) == 32, "GL_T2F_N3F_V3F is 8 floats without padding");
static_assert(offsetof(ModelVertex, normalX) == 8 && offsetof(ModelVertex, x) == 20);

struct FaceGroup {
    std::uint16_t faceCount = 0;
    std::vector<std::uint16_t> indices;  // three per triangle, each below the LOD's vertex count
    std::uint16_t materialIndex = 0;     // 0: none; else 1-based into the material list
};

struct ModelLod {
    float distance = 0.0f;
    std::uint16_t vertexCount = 0;
    std::vector<ModelVertex> vertices;
    std::vector<FaceGroup> faceGroups;
};

struct BoundingBox {
    Vector3 min;
    Vector3 max;
};

struct SectorPortal {
    std::uint8_t vertexCount = 0;  // as stored; 128 and above hold no vertices
    std::array<std::uint8_t, 4> head{};
    std::array<std::uint8_t, 24> plane{};
    std::vector<Vector3> vertices;
};

struct SectorData {
    std::array<std::uint8_t, 8> flags{};
    std::uint32_t vertexCount = 0;
    std::uint32_t faceCount = 0;
    std::vector<Vector3> vertices;
    std::vector<std::uint16_t> faces;  // three per face
    BoundingBox box;
    std::uint8_t portalCount = 0;
    std::vector<SectorPortal> portals;
};

// Frame types of the file.
enum ModelFrameType : std::uint8_t {
    FRAME_VISUAL = 1,
    FRAME_SECTOR = 5,
    FRAME_DUMMY = 6,
};

struct ModelFrame {
    std::string name;
    std::string userText;
    std::uint8_t type = 0;
    std::uint8_t visualKind = 0;
    std::uint16_t parentIndex = 0;  // 0: a root frame; else 1-based into the frame list
    Vector3 position;
    Vector3 scale;
    AxisAngle rotation;
    std::uint16_t instanceIndex = 0;
    std::vector<ModelLod> lods;
    BoundingBox box;
    std::vector<ModelFrame*> children;  // frames of the same model, in attach order
    std::vector<SectorData> sectors;
};

// The content of one 4DS file as read, shared by the models loaded from it: never
// changed once read, since every model of the file sees the same frames.
struct ModelGeometry {
    std::array<std::uint8_t, 10> header{};
    std::vector<ModelMaterial> materials;
    std::vector<std::unique_ptr<ModelFrame>> frames;  // file order, dropped frames left out
    // Texture names whose request failed while reading: the texture cache keeps no
    // failure, so a later model of the file asks for these again.
    std::vector<std::string> failedTextures;
};
