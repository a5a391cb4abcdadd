#pragma once
// What the world window's framing commands aim at, as spheres around what the
// window draws: one thing ("Показать выделенное", F), or a whole mission, its world
// model and every thing ("Показать всё", Shift+F). Without Qt or GL, so that the
// tests and the tools use the same answers.

#include "core/Geometry.h"

#include <optional>

class CMission;
class CSceneObjectThing;

namespace view3d {

struct Sphere {
    Vector3 centre;
    float radius = 0.0f;
};

// Around what the window draws for `thing`: its model's box under the thing's
// translation, rotation and scale, applied in that order as the drawing applies
// them (the radius is half the box's diagonal times the largest scale); a thing
// without a model is a marker of `markerRadius` at its translation.
Sphere ThingSphere(const CSceneObjectThing& thing, float markerRadius);

// Around the box that holds the mission's world model's box (when the world model
// is loaded) and the sphere of every thing: centred in the box, through its corners.
// Nothing when the mission holds neither, or nothing finite.
std::optional<Sphere> MissionSphere(const CMission& mission, float markerRadius);

}  // namespace view3d
