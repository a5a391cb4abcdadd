#include "game/ObjectEdit.h"

#include "scene/CSceneObjectThing.h"

#include <bit>
#include <cstdint>

namespace {

bool SameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool SameBits(const Vector3& a, const Vector3& b)
{
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

bool SameBits(const AxisAngle& a, const AxisAngle& b)
{
    return SameBits(a.angle, b.angle) && SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

}  // namespace

ObjectState CaptureObjectState(const CSceneObject& object)
{
    ObjectState state;
    state.name = object.GetName();
    state.translation = object.GetTranslation();
    state.rotation = object.GetRotation();
    state.scale = object.GetScale();
    state.script = object.GetScript();
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(&object)) {
        const CSceneObjectThing::Presence& present = thing->GetPresence();
        state.translationPresent = present.translation;
        state.rotationPresent = present.rotation;
        state.scalePresent = present.scale;
    }
    return state;
}

void RestoreObjectState(CSceneObject& object, const ObjectState& state)
{
    // Only what differs is written: a setter that ignores its value (a mission
    // script's name) must not be asked to, and a script is not copied needlessly.
    const ObjectState now = CaptureObjectState(object);
    if (now.name != state.name)
        object.SetName(state.name);
    if (!SameBits(now.translation, state.translation))
        object.SetTranslation(state.translation);
    if (!SameBits(now.rotation, state.rotation))
        object.SetRotation(state.rotation);
    if (!SameBits(now.scale, state.scale))
        object.SetScale(state.scale);
    if (now.script != state.script)
        object.SetScript(state.script);
    if (auto* thing = dynamic_cast<CSceneObjectThing*>(&object))
        thing->RestoreTransformPresence(state.translationPresent, state.rotationPresent, state.scalePresent);
}

bool SameObjectState(const ObjectState& a, const ObjectState& b)
{
    return a.name == b.name && SameBits(a.translation, b.translation) && SameBits(a.rotation, b.rotation) &&
           SameBits(a.scale, b.scale) && a.script == b.script && a.translationPresent == b.translationPresent &&
           a.rotationPresent == b.rotationPresent && a.scalePresent == b.scalePresent;
}

void ApplyObjectEdit(CSceneObject& object, const ObjectEdit& edit)
{
    if (edit.name)
        object.SetName(*edit.name);
    if (edit.translation)
        object.SetTranslation(*edit.translation);
    if (edit.rotation)
        object.SetRotation(*edit.rotation);
    if (edit.scale)
        object.SetScale(*edit.scale);
    if (edit.script)
        object.SetScript(*edit.script);
}
