#pragma once
// A view that takes part in the mediator's notifications: the mission tree, the 3D
// world view, the object info form, the property roll-up and the script editor.
// Each carries this class beside its window class.
//
// The protocol: a sender first sets its own current object, then broadcasts a code;
// a receiver learns which object is meant by reading the sender's current object,
// never from the integer argument (always 0).

#include "core/CVerdaxData.h"

// Notification codes; the values are fixed.
enum DravoDonCode : int {
    DON_OBJECT_SELECTED = 257,   // the sender's current object is to be shown now (may be null)
    DON_MISSION_SELECTED = 258,  // the sender's current object is a mission that became current
    DON_DATA_SELECTED = 259,     // the sender's current object is a data object that became current
    DON_OBJECT_CHANGED = 260,    // the current object's data changed; refresh
    DON_THING_CLICKED = 261,     // a thing was selected in the mission tree with the mouse
    // The sender's current object is about to leave its mission: it is still alive and
    // in its list. Every view drops what it holds of it now (selection, current
    // object, a window on it); the object may be destroyed once the broadcast returns.
    DON_OBJECT_REMOVING = 262,
    // The sender's current object has just been put into its mission's list.
    DON_OBJECT_ADDED = 263,
};

// The kinds of child window that the mediator opens. The values overlap the codes
// above but are unrelated to them.
enum DravoDonViewKind : int {
    DON_VIEW_INFO = 256,    // object info form
    DON_VIEW_SCRIPT = 257,  // script editor
    DON_VIEW_WORLD = 258,   // 3D world view
};

class CDravoDonView {
public:
    CDravoDonView() = default;

    // Leaves every mediator the view is registered with, so that no broadcast can
    // reach it after its destruction, including one that is running at that moment.
    virtual ~CDravoDonView();

    CDravoDonView(const CDravoDonView&) = delete;
    CDravoDonView& operator=(const CDravoDonView&) = delete;

    // The object the view shows or edits; not owned, null at construction.
    CVerdaxData* GetObject() const { return object_; }
    void SetObject(CVerdaxData* object) { object_ = object; }

    virtual void Notify(CDravoDonView* sender, int code, int arg) = 0;

    // Whether the view holds an edit its object has not taken yet (a script
    // window's typing); the object's mission then counts as modified.
    virtual bool HoldsPendingEdit() const { return false; }
    // Puts that edit into the object through the edit path; false, with the edit
    // kept and nothing shown, when the object cannot take it.
    virtual bool TakePendingEdit() { return true; }

private:
    CVerdaxData* object_ = nullptr;
};
