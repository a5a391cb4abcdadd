#pragma once
// The editor's undo history: one QUndoStack per mission in a QUndoGroup, the
// group's active stack following the mission that is current (the mission or
// object selected, and the mission of each edit as it arrives). It is the edit
// history the mediator hands every applied edit to, and a view of the mediator, so
// that it learns which mission is current.
//
// A step of an edit holds the edited objects and their whole states before and
// after; undo and redo put a state back through CDravoDon::RestoreObject, which
// announces DON_OBJECT_CHANGED as the edit itself did. A step of a structure edit
// (objects added or removed) owns the CStructureEdit, which reverts and applies
// itself with its own announcements, and holds the objects that are out of the
// mission: a stack dropping its redo tail, or destroyed, frees them. A stack's clean state is the mission
// as loaded or last saved: the mission counts as modified whenever its stack is
// elsewhere, also after undoing past a save.

#include "game/CDravoDonView.h"
#include "game/IEditHistory.h"

#include <QString>
#include <QUndoGroup>
#include <QUndoStack>

#include <functional>
#include <vector>

class CDravoDon;
class CMission;

namespace ui {

class CEditHistory final : public IEditHistory, public CDravoDonView {
public:
    // The mission that owns an edited or selected object; null when none does.
    using MissionOf = std::function<CMission*(const CVerdaxData&)>;

    // Installs itself with `don` as its edit history and registers as its view;
    // leaves both on destruction. Without `missionOf`, the owner is asked of
    // `don`'s game root.
    explicit CEditHistory(CDravoDon& don, MissionOf missionOf = {});
    ~CEditHistory() override;

    // IEditHistory. An edit of an object that no mission owns is not recorded, and
    // nothing is recorded while a step is being undone or redone (a structure edit
    // handed over then is destroyed). A structure edit is a step of the mission it
    // changed, which becomes the current one.
    void Record(const std::vector<ObjectChange>& changes, EditKind kind, std::uint64_t gesture) override;
    void RecordStructure(std::unique_ptr<CStructureEdit> edit) override;
    void MissionSaved(const CMission& mission) override;
    bool IsMissionModified(const CMission& mission) const override;

    // A selected mission, or the mission of a selected object, becomes current.
    void Notify(CDravoDonView* sender, int code, int arg) override;

    // The current mission's stack undoes or redoes one step; nothing without one.
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // The current step's name ("перемещение barrel_1"); empty when there is none.
    QString UndoText() const;
    QString RedoText() const;

    // Makes `mission`'s stack the active one, creating it; null: none is active.
    void SetCurrentMission(CMission* mission);
    CMission* CurrentMission() const;

    // The stack of `mission`; null while it has none.
    QUndoStack* StackOf(const CMission* mission) const;
    QUndoGroup& Group() { return group_; }

    // The missions with unsaved edits, in the order their stacks were made.
    std::vector<CMission*> ModifiedMissions() const;

    // Called with the mission whenever it becomes modified or unmodified.
    void SetModifiedChanged(std::function<void(CMission*)> handler) { modifiedChanged_ = std::move(handler); }
    // Called with the mission whenever its history moves (a step done, merged,
    // undone or redone) or its saved state changes.
    void SetHistoryChanged(std::function<void(CMission*)> handler) { historyChanged_ = std::move(handler); }

    // The name of an undo step: the noun of its kind and the object's name.
    static QString StepText(EditKind kind, const std::string& objectName);

private:
    struct MissionStack {
        CMission* mission;
        QUndoStack* stack;  // owned by the group
    };

    QUndoStack* StackFor(CMission* mission);

    CDravoDon& don_;
    MissionOf missionOf_;
    QUndoGroup group_;
    std::vector<MissionStack> stacks_;
    std::function<void(CMission*)> modifiedChanged_;
    std::function<void(CMission*)> historyChanged_;
    bool restoring_ = false;
};

}  // namespace ui
