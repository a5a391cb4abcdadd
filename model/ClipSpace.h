#pragma once
// Where drawn things land, worked out on the processor beside GL: the matrices that
// glTranslatef, glRotatef and glScalef multiply on, in double precision, and whether
// a box lies wholly outside the clip volume of a projection and modelview, so that
// what it holds cannot reach the screen (or a pick region) and need not be drawn.
// GL keeps drawing with its own matrices; these only decide what to leave out, with
// a margin for the rounding between the two.

#include "core/Geometry.h"

#include <array>
#include <optional>

// Column-major, as GL keeps its matrices.
using Matrix4 = std::array<double, 16>;

inline constexpr Matrix4 kIdentity4 = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// a × b: what b is multiplied onto a as GL's matrix calls do.
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);

// glTranslatef(t), glRotatef(r) and glScalef(s) multiplied on in that order. Null
// when a value is not finite, or when the rotation's axis is too short for the
// result to be sure to match GL's (which leaves out turns about such axes).
std::optional<Matrix4> PlacementMatrix(const Vector3& t, const AxisAngle& r, const Vector3& s);

// An axis-aligned box in some space.
struct ModelBox {
    Vector3 min;
    Vector3 max;
};

// The smallest box holding `box` and the point.
void GrowBox(std::optional<ModelBox>& box, const Vector3& point);

// True when every corner of `box`, taken by `clip` (projection × modelview) into clip
// space, lies beyond one and the same plane of the clip volume by more than rounding:
// then no point of the box, and nothing drawn within it, is inside the volume.
bool OutsideClipVolume(const Matrix4& clip, const ModelBox& box);
