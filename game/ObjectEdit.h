#pragma once
// The one way the views change a scene object. A view describes a small edit (the
// fields it changes), the mediator applies it through the object's setters
// (CDravoDon::ApplyEdit), hands the states before and after to the edit history
// for undo, and announces DON_OBJECT_CHANGED. Undo and redo put a whole state back
// (RestoreObjectState), including which of a thing's transform chunks count as
// present, so that a mission with every edit undone saves the bytes it saved before.

#include "core/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CSceneObject;

// What the user did; it names the undo step.
enum class EditKind {
    Move,       // a drag in the world window moving a thing
    Turn,       // a drag in the world window turning a thing
    Rename,     // the description page
    Translate,  // the translation page
    Scale,      // the scale page
    Transform,  // the info form: translation, rotation and scale at once
    Script,     // a script window writing its text back
    Duplicate,  // a copy put right after the original (CStructureEdit)
    Delete,     // objects taken out of their mission (CStructureEdit)
    Cut,        // objects copied and taken out (CStructureEdit)
    Paste,      // copies put at the end of their lists (CStructureEdit)
    Recover,    // a recovery copy's objects taken as the mission's (CStructureEdit)
};

// Everything an edit can change. Values the object does not have read as the base
// class's defaults and are written back through setters that ignore them.
struct ObjectState {
    std::string name;
    Vector3 translation;
    AxisAngle rotation;
    Vector3 scale;
    std::string script;
    // A thing's transform chunks that will be written; false for other objects.
    bool translationPresent = false;
    bool rotationPresent = false;
    bool scalePresent = false;
};

ObjectState CaptureObjectState(const CSceneObject& object);
void RestoreObjectState(CSceneObject& object, const ObjectState& state);
// Equal to the bit: a float's sign of zero and a NaN's payload count, since both
// reach the saved file.
bool SameObjectState(const ObjectState& a, const ObjectState& b);

// The fields an edit sets; the others are left alone. They are written in this
// order: name, translation, rotation, scale, script.
struct ObjectEdit {
    EditKind kind = EditKind::Transform;
    std::optional<std::string> name;
    std::optional<Vector3> translation;
    std::optional<AxisAngle> rotation;
    std::optional<Vector3> scale;
    std::optional<std::string> script;
    // Non-zero for the edits of one drag (CDravoDon::NewGesture): consecutive edits
    // of the same object and gesture make one undo step.
    std::uint64_t gesture = 0;
};

// One object of an applied edit, between its whole states before and after.
struct ObjectChange {
    CSceneObject* object;
    ObjectState before;
    ObjectState after;
};

// Applies the edit through the setters; no announcement, no history.
void ApplyObjectEdit(CSceneObject& object, const ObjectEdit& edit);
