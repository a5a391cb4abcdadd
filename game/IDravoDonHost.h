#pragma once
// What the mediator needs of the main window, which implements it and registers it
// with CDravoDon::SetHost at start-up. The game layer knows no windows: opening a
// child window and reaching the mission tree go through here.

class CDravoDonView;
class CMission;
class CVerdaxData;

// The mission tree, the view in the first tab of the main window's object bar.
class IMissionTree {
public:
    virtual ~IMissionTree() = default;

    // Adds a top-level item for a listed mission.
    virtual void AddMission(CMission* mission) = 0;

    // The mission when the selected item is a mission's own item; null when nothing
    // is selected, or a category or an object below a mission is.
    virtual CMission* GetSelectedMission() = 0;

    // Selects the item of `object` and announces the selection as any selection in
    // the tree is announced; nothing when no item holds it (the world window's pick).
    virtual void SelectObject(CVerdaxData* object) = 0;
};

class IDravoDonHost {
public:
    virtual ~IDravoDonHost() = default;

    // Creates a child window of `kind` (a DravoDonViewKind) for `object` and returns
    // its view, or null when that fails or its view takes no part in notifications.
    // The mediator then sets the view's current object and registers it.
    virtual CDravoDonView* OpenView(int kind, CVerdaxData* object) = 0;

    // Null while the main window has no mission tree.
    virtual IMissionTree* GetMissionTree() = 0;

    // Lets the world window frame its selected thing (a double-click on the thing in
    // the tree); nothing without a world window.
    virtual void FrameSelectionInWorld() {}

    // A view began or stopped holding a pending edit: the missions' modified marks
    // (CDravoDon::IsMissionModified) are to be shown again.
    virtual void ModifiedMarksChanged() {}
};
