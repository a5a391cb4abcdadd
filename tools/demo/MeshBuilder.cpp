#include "tools/demo/MeshBuilder.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace demo {
namespace {

constexpr float kPi = 3.14159265358979f;

Vector3 Sub(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 Lerp(const Vector3& a, const Vector3& b, float t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Length(const Vector3& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

Vector3 Normalised(const Vector3& v)
{
    const float length = Length(v);
    return length > 0.0f ? Vector3{v.x / length, v.y / length, v.z / length} : Vector3{0.0f, 1.0f, 0.0f};
}

}  // namespace

std::uint16_t CMeshBuilder::AddVertex(const Vector3& position, const Vector3& normal, float u, float v)
{
    if (vertices_.size() >= std::numeric_limits<std::uint16_t>::max())
        throw std::length_error("mesh: more vertices than a LOD can hold");
    vertices_.push_back({position, normal, u, v});
    return static_cast<std::uint16_t>(vertices_.size() - 1);
}

void CMeshBuilder::AddTriangle(std::uint16_t material, std::uint16_t a, std::uint16_t b, std::uint16_t c)
{
    groups_[material].push_back({a, b, c});
}

void CMeshBuilder::AddQuad(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d,
                           std::uint16_t material, float tile)
{
    AddSubdividedQuad(a, b, c, d, material, 1, tile);
}

void CMeshBuilder::AddSubdividedQuad(const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d,
                                     std::uint16_t material, int cells, float tile)
{
    const Vector3 normal = Normalised(Cross(Sub(b, a), Sub(d, a)));
    const float uSpan = Length(Sub(b, a)) / tile;
    const float vSpan = Length(Sub(d, a)) / tile;
    const int n = cells < 1 ? 1 : cells;
    const std::size_t first = vertices_.size();
    for (int row = 0; row <= n; ++row) {
        const float t = float(row) / float(n);
        const Vector3 left = Lerp(a, d, t);
        const Vector3 right = Lerp(b, c, t);
        for (int column = 0; column <= n; ++column) {
            const float s = float(column) / float(n);
            AddVertex(Lerp(left, right, s), normal, s * uSpan, t * vSpan);
        }
    }
    const auto at = [&](int row, int column) {
        return static_cast<std::uint16_t>(first + std::size_t(row) * std::size_t(n + 1) + std::size_t(column));
    };
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            AddTriangle(material, at(row, column), at(row, column + 1), at(row + 1, column + 1));
            AddTriangle(material, at(row, column), at(row + 1, column + 1), at(row + 1, column));
        }
    }
}

void CMeshBuilder::AddBox(const Vector3& lo, const Vector3& hi, std::uint16_t material, float tile, int cells)
{
    const Vector3 p000{lo.x, lo.y, lo.z}, p100{hi.x, lo.y, lo.z}, p110{hi.x, hi.y, lo.z}, p010{lo.x, hi.y, lo.z};
    const Vector3 p001{lo.x, lo.y, hi.z}, p101{hi.x, lo.y, hi.z}, p111{hi.x, hi.y, hi.z}, p011{lo.x, hi.y, hi.z};
    AddSubdividedQuad(p001, p101, p111, p011, material, cells, tile);  // +z
    AddSubdividedQuad(p100, p000, p010, p110, material, cells, tile);  // -z
    AddSubdividedQuad(p101, p100, p110, p111, material, cells, tile);  // +x
    AddSubdividedQuad(p000, p001, p011, p010, material, cells, tile);  // -x
    AddSubdividedQuad(p011, p111, p110, p010, material, cells, tile);  // top
    AddSubdividedQuad(p000, p100, p101, p001, material, cells, tile);  // bottom
}

void CMeshBuilder::AddGableRoof(const Vector3& lo, const Vector3& hi, float ridgeHeight, std::uint16_t material)
{
    const float y = lo.y;
    const float midZ = (lo.z + hi.z) * 0.5f;
    const Vector3 ridgeA{lo.x, y + ridgeHeight, midZ}, ridgeB{hi.x, y + ridgeHeight, midZ};
    AddQuad({lo.x, y, hi.z}, {hi.x, y, hi.z}, ridgeB, ridgeA, material, 2.0f);  // front slope
    AddQuad({hi.x, y, lo.z}, {lo.x, y, lo.z}, ridgeA, ridgeB, material, 2.0f);  // back slope
    // The gable ends are triangles; a quad with two equal corners would be degenerate.
    const Vector3 west = {-1.0f, 0.0f, 0.0f}, east = {1.0f, 0.0f, 0.0f};
    const auto w0 = AddVertex({lo.x, y, lo.z}, west, 0.0f, 0.0f);
    const auto w1 = AddVertex({lo.x, y, hi.z}, west, 1.0f, 0.0f);
    const auto w2 = AddVertex(ridgeA, west, 0.5f, 0.5f);
    AddTriangle(material, w0, w1, w2);
    const auto e0 = AddVertex({hi.x, y, hi.z}, east, 0.0f, 0.0f);
    const auto e1 = AddVertex({hi.x, y, lo.z}, east, 1.0f, 0.0f);
    const auto e2 = AddVertex(ridgeB, east, 0.5f, 0.5f);
    AddTriangle(material, e0, e1, e2);
}

void CMeshBuilder::AddCylinder(const Vector3& base, float radius, float height, int segments,
                               std::uint16_t material)
{
    const std::size_t first = vertices_.size();
    for (int i = 0; i <= segments; ++i) {
        const float angle = 2.0f * kPi * float(i) / float(segments);
        const Vector3 normal{std::cos(angle), 0.0f, std::sin(angle)};
        const Vector3 bottom{base.x + radius * normal.x, base.y, base.z + radius * normal.z};
        AddVertex(bottom, normal, float(i) / float(segments), 0.0f);
        AddVertex({bottom.x, base.y + height, bottom.z}, normal, float(i) / float(segments), 1.0f);
    }
    for (int i = 0; i < segments; ++i) {
        const auto b0 = static_cast<std::uint16_t>(first + 2 * std::size_t(i));
        AddTriangle(material, b0, static_cast<std::uint16_t>(b0 + 1), static_cast<std::uint16_t>(b0 + 3));
        AddTriangle(material, b0, static_cast<std::uint16_t>(b0 + 3), static_cast<std::uint16_t>(b0 + 2));
    }
    const Vector3 up{0.0f, 1.0f, 0.0f};
    const auto centre = AddVertex({base.x, base.y + height, base.z}, up, 0.5f, 0.5f);
    const std::size_t rim = vertices_.size();
    for (int i = 0; i <= segments; ++i) {
        const float angle = 2.0f * kPi * float(i) / float(segments);
        AddVertex({base.x + radius * std::cos(angle), base.y + height, base.z + radius * std::sin(angle)}, up,
                  0.5f + 0.5f * std::cos(angle), 0.5f + 0.5f * std::sin(angle));
    }
    for (int i = 0; i < segments; ++i)
        AddTriangle(material, centre, static_cast<std::uint16_t>(rim + i + 1), static_cast<std::uint16_t>(rim + i));
}

void CMeshBuilder::AddCone(const Vector3& base, float radius, float height, int segments, std::uint16_t material)
{
    const float slope = radius / height;
    for (int i = 0; i < segments; ++i) {
        const float a0 = 2.0f * kPi * float(i) / float(segments);
        const float a1 = 2.0f * kPi * float(i + 1) / float(segments);
        const float mid = (a0 + a1) * 0.5f;
        const Vector3 normal = Normalised({std::cos(mid), slope, std::sin(mid)});
        const auto v0 = AddVertex({base.x + radius * std::cos(a0), base.y, base.z + radius * std::sin(a0)}, normal,
                                  float(i) / float(segments), 0.0f);
        const auto v1 = AddVertex({base.x + radius * std::cos(a1), base.y, base.z + radius * std::sin(a1)}, normal,
                                  float(i + 1) / float(segments), 0.0f);
        const auto tip = AddVertex({base.x, base.y + height, base.z}, normal, (float(i) + 0.5f) / float(segments), 1.0f);
        AddTriangle(material, v0, tip, v1);
    }
}

std::size_t CMeshBuilder::TriangleCount() const
{
    std::size_t count = 0;
    for (const auto& [material, faces] : groups_)
        count += faces.size();
    return count;
}

FourDsLod CMeshBuilder::Build(float distance) const
{
    FourDsLod lod;
    lod.distance = distance;
    lod.vertices = vertices_;
    for (const auto& [material, faces] : groups_)
        lod.groups.push_back({faces, material});
    return lod;
}

std::uint32_t CDemoRandom::Next()
{
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
}

float CDemoRandom::Range(float low, float high)
{
    return low + (high - low) * (float(Next() >> 8) / float(1u << 24));
}

}  // namespace demo
