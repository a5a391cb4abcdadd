#pragma once
// Builds the meshes of the demo's models: boxes, ground grids, roofs and cylinders,
// face groups collected by material, with normals and texture coordinates.

#include "tools/demo/FourDsWriter.h"

#include <cstdint>
#include <map>

namespace demo {

class CMeshBuilder {
public:
    // A flat quad from four corners in counter-clockwise order seen from its front;
    // the texture repeats every `tile` units along each edge.
    void AddQuad(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d, std::uint16_t material,
                 float tile = 1.0f);
    // The same quad cut into cells × cells smaller quads.
    void AddSubdividedQuad(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d,
                           std::uint16_t material, int cells, float tile = 1.0f);
    // An axis-aligned box with outward faces; `cells` subdivides each side.
    void AddBox(const Vector3& min, const Vector3& max, std::uint16_t material, float tile = 1.0f, int cells = 1);
    // A gable roof over the rectangle min..max (x, z) at height y, ridge along x.
    void AddGableRoof(const Vector3& min, const Vector3& max, float ridgeHeight, std::uint16_t material);
    // An upright cylinder (sides only, plus a top cap) of `segments` sides.
    void AddCylinder(const Vector3& base, float radius, float height, int segments, std::uint16_t material);
    // An upright cone on `base`.
    void AddCone(const Vector3& base, float radius, float height, int segments, std::uint16_t material);

    std::size_t TriangleCount() const;
    // The mesh as one LOD; face groups in the order of their material index.
    FourDsLod Build(float distance) const;

private:
    std::uint16_t AddVertex(const Vector3& position, const Vector3& normal, float u, float v);
    void AddTriangle(std::uint16_t material, std::uint16_t a, std::uint16_t b, std::uint16_t c);

    std::vector<FourDsVertex> vertices_;
    std::map<std::uint16_t, std::vector<std::array<std::uint16_t, 3>>> groups_;
};

// A small deterministic generator (xorshift64*), so that the demo's bytes do not
// depend on the standard library's distributions.
class CDemoRandom {
public:
    explicit CDemoRandom(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    std::uint32_t Next();
    // A value in [low, high).
    float Range(float low, float high);
    // A value in [0, count).
    std::uint32_t Below(std::uint32_t count) { return count ? Next() % count : 0; }

private:
    std::uint64_t state_;
};

}  // namespace demo
