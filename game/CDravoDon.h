#pragma once
// The mediator: the one process-wide object that owns the game root (and through it
// the missions) and carries notifications between the registered views, which never
// call each other. It also opens child windows on request and saves the selected
// mission, both through the host that the main window registers.
//
// Views are not owned. A view leaves every mediator when it is destroyed, so the
// list never holds a dangling entry; a view destroyed while a broadcast runs is not
// called after its destruction.

#include "game/CDravoDonView.h"
#include "game/CDravoRoot.h"
#include "game/CSingleton.h"
#include "game/IDravoDonHost.h"
#include "game/ObjectEdit.h"

#include <cstdint>
#include <memory>
#include <vector>

class CSceneObject;
class CStructureEdit;
class IEditHistory;

class CDravoDon : public CSingleton<CDravoDon> {
    friend class CSingleton<CDravoDon>;

public:
    ~CDravoDon() override;

    CDravoRoot& GetRoot() { return root_; }

    // The start-up load of the game data: the root's Load.
    void LoadGame();

    // Appends `view` (duplicates allowed); false only for a null view.
    bool RegisterView(CDravoDonView* view);

    // Removes the first entry of `view`; false, and nothing changed, if there is none.
    bool UnregisterView(CDravoDonView* view);

    // Calls Notify(sender, code, arg) on every registered view except the sender, in
    // registration order; a view registered twice is called twice.
    void Broadcast(CDravoDonView* sender, int code, int arg);

    // The codes a selection change announces, after the sender has set its current
    // object and every view's pending edit has gone into its object
    // (TakePendingEdits): DON_OBJECT_SELECTED; DON_MISSION_SELECTED for a mission;
    // DON_DATA_SELECTED for any object; DON_THING_CLICKED for a thing chosen with
    // the mouse.
    void BroadcastSelection(CDravoDonView* sender, bool byMouse);

    // Opens a child window of `kind` through the host, makes `object` its view's
    // current object, registers the view and returns it. Null, with nothing opened,
    // for a kind that is not a DravoDonViewKind or without a host; null also when
    // the host cannot open the window.
    CDravoDonView* OpenView(int kind, CVerdaxData* object);

    // "Сохранить Миссию": saves the mission selected in the mission tree, or shows
    // message 1002 when no mission's own item is selected. Errors of the save are
    // not caught here; the command's caller absorbs them.
    void SaveSelectedMission();

    // Saves `mission` (CMission::Save) and, when that succeeds, tells the edit
    // history that what it holds is saved. Errors of the save pass to the caller.
    void SaveMission(CMission& mission);

    // The one path of every edit of an object: applies `edit` through the object's
    // setters, hands the states before and after to the edit history when they
    // differ, and, when `announce`, broadcasts DON_OBJECT_CHANGED with `sender` as
    // sender (null: every view is told, with a sender whose current object is
    // `object`). A drag applies its moves without announcing and announces on release.
    // A thing renamed renames the thing data linked to it too (the game links them
    // by name), in the same step, and that data is announced as changed as well.
    void ApplyEdit(CDravoDonView* sender, CSceneObject& object, const ObjectEdit& edit, bool announce = true);

    // The path of every edit that adds objects to a mission or removes them: applies
    // `edit` (announcing each object added or about to go, CStructureEdit.h) and
    // hands it to the edit history as one step, which owns it from then on. Without
    // a history the edit is destroyed at once, and the objects it removed with it.
    void ApplyStructureEdit(std::unique_ptr<CStructureEdit> edit);

    // Broadcasts `code` to every view from a sender whose current object is
    // `object`: how edits made by no view (undo, redo, a structure edit) are told.
    void Announce(CVerdaxData& object, int code);

    // Undo and redo: puts `object` back into `state` and tells every view with
    // DON_OBJECT_CHANGED, from a sender whose current object is `object`.
    void RestoreObject(CSceneObject& object, const ObjectState& state);

    // A new id for the edits of one drag (ObjectEdit::gesture); never 0.
    std::uint64_t NewGesture() { return ++lastGesture_; }

    // Installs the history that records edits (not owned); null removes it.
    void SetEditHistory(IEditHistory* history) { history_ = history; }
    IEditHistory* GetEditHistory() const { return history_; }
    // Whether `mission` has edits that are not saved: the history says so, or a
    // view holds a pending edit of the mission or one of its objects.
    bool IsMissionModified(const CMission& mission) const;

    // Every registered view's pending edit into its object (TakePendingEdit), so that
    // what is read or written next is what the user sees. Returns the first view
    // that keeps an edit its object cannot take, or null.
    CDravoDonView* TakePendingEdits();
    // Run by a view that began or stopped holding a pending edit: the host shows
    // the modified marks again.
    void PendingEditsChanged();

    // Installs the main window's services (not owned); null removes them.
    void SetHost(IDravoDonHost* host) { host_ = host; }
    IDravoDonHost* GetHost() const { return host_; }
    IMissionTree* GetMissionTree() const;

    // The registered views, in order.
    std::vector<CDravoDonView*> GetViews() const;

    // Removes every entry of `view` from every live mediator; run as a view dies.
    static void ForgetView(CDravoDonView* view);

protected:
    // Makes the root the process's provider of the game folders.
    CDravoDon();

private:
    static CSceneObject* RenamedCompanion(CSceneObject& object, const ObjectEdit& edit);
    void RemoveEntry(std::size_t index);
    void DropRemovedEntries();

    CDravoRoot root_;
    std::vector<CDravoDonView*> views_;  // null: removed while a broadcast walks the list
    IDravoDonHost* host_ = nullptr;
    IEditHistory* history_ = nullptr;
    std::uint64_t lastGesture_ = 0;
    int broadcastDepth_ = 0;
    CDravoDon* nextLive_ = nullptr;  // the chain of live mediators that views leave as they die
};
