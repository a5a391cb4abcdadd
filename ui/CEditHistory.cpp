#include "ui/CEditHistory.h"

#include "core/ScopedValue.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CStructureEdit.h"
#include "scene/CSceneObject.h"
#include "ui/CodePageText.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

namespace ui {
namespace {

// The id under which the steps of drags merge; steps of other edits never do.
constexpr int kGestureStepId = 1;

QString KindNoun(EditKind kind)
{
    switch (kind) {
    case EditKind::Move: return QStringLiteral("перемещение");
    case EditKind::Turn: return QStringLiteral("поворот");
    case EditKind::Rename: return QStringLiteral("переименование");
    case EditKind::Translate: return QStringLiteral("перемещение");
    case EditKind::Scale: return QStringLiteral("масштаб");
    case EditKind::Transform: return QStringLiteral("изменение свойств");
    case EditKind::Script: return QStringLiteral("изменение скрипта");
    case EditKind::Duplicate: return QStringLiteral("дублирование");
    case EditKind::Delete: return QStringLiteral("удаление");
    case EditKind::Cut: return QStringLiteral("вырезание");
    case EditKind::Paste: return QStringLiteral("вставка");
    case EditKind::Recover: return QStringLiteral("Восстановление");
    }
    return {};
}

bool SameObjects(const std::vector<ObjectChange>& a, const std::vector<ObjectChange>& b)
{
    return std::ranges::equal(a, b, {}, &ObjectChange::object, &ObjectChange::object);
}

// One undo step: objects between their whole states (a thing renamed with its
// linked thing data). The edit has been applied when the step is pushed, so the
// stack's first redo() finds nothing to do.
class CEditStep final : public QUndoCommand {
public:
    CEditStep(CDravoDon& don, std::vector<ObjectChange> changes, EditKind kind, std::uint64_t gesture)
        : QUndoCommand(CEditHistory::StepText(kind, changes.front().before.name)), don_(don),
          changes_(std::move(changes)), gesture_(gesture)
    {
    }

    int id() const override { return gesture_ != 0 ? kGestureStepId : -1; }

    // The later moves of the same drag extend this step; a drag that ends where it
    // began leaves no step (the stack drops an obsolete one).
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const CEditStep*>(other);
        if (next->gesture_ != gesture_ || !SameObjects(next->changes_, changes_))
            return false;
        bool unchanged = true;
        for (std::size_t i = 0; i < changes_.size(); ++i) {
            changes_[i].after = next->changes_[i].after;
            unchanged = unchanged && SameObjectState(changes_[i].before, changes_[i].after);
        }
        setObsolete(unchanged);
        return true;
    }

    void redo() override
    {
        if (applied_) {
            applied_ = false;
            return;
        }
        for (const ObjectChange& change : changes_)
            don_.RestoreObject(*change.object, change.after);
    }

    void undo() override
    {
        for (const ObjectChange& change : changes_)
            don_.RestoreObject(*change.object, change.before);
    }

private:
    CDravoDon& don_;
    std::vector<ObjectChange> changes_;
    std::uint64_t gesture_;
    bool applied_ = true;
};

// One undo step that adds objects to a mission or takes them out. It owns the edit,
// and through it the objects out of the mission: they are freed when the step is,
// as the stack drops its redo tail or is destroyed.
class CStructureStep final : public QUndoCommand {
public:
    CStructureStep(CDravoDon& don, std::unique_ptr<CStructureEdit> edit)
        : QUndoCommand(CEditHistory::StepText(edit->GetKind(), edit->GetObjectName())), don_(don),
          edit_(std::move(edit))
    {
    }

    void redo() override { edit_->Apply(don_); }  // nothing the first time: applied
    void undo() override { edit_->Revert(don_); }

private:
    CDravoDon& don_;
    std::unique_ptr<CStructureEdit> edit_;
};

}  // namespace

CEditHistory::CEditHistory(CDravoDon& don, MissionOf missionOf) : don_(don), missionOf_(std::move(missionOf))
{
    if (!missionOf_)
        missionOf_ = [&don](const CVerdaxData& object) { return don.GetRoot().FindMissionOf(&object); };
    don_.SetEditHistory(this);
    don_.RegisterView(this);
}

CEditHistory::~CEditHistory()
{
    if (don_.GetEditHistory() == this)
        don_.SetEditHistory(nullptr);
    // The stacks go with the group; nobody is told of their clean states any more.
    modifiedChanged_ = nullptr;
    historyChanged_ = nullptr;
    for (const MissionStack& entry : stacks_)
        QObject::disconnect(entry.stack, nullptr, nullptr, nullptr);
}

QString CEditHistory::StepText(EditKind kind, const std::string& objectName)
{
    const QString noun = KindNoun(kind);
    return objectName.empty() ? noun : noun + QLatin1Char(' ') + TextFromCodePage(objectName);
}

QUndoStack* CEditHistory::StackOf(const CMission* mission) const
{
    const auto it = std::ranges::find(stacks_, mission, &MissionStack::mission);
    return it == stacks_.end() ? nullptr : it->stack;
}

QUndoStack* CEditHistory::StackFor(CMission* mission)
{
    if (QUndoStack* stack = StackOf(mission))
        return stack;
    auto* stack = new QUndoStack(&group_);  // a child of the group joins it
    QObject::connect(stack, &QUndoStack::cleanChanged, stack, [this, mission] {
        if (modifiedChanged_)
            modifiedChanged_(mission);
        if (historyChanged_)
            historyChanged_(mission);
    });
    QObject::connect(stack, &QUndoStack::indexChanged, stack, [this, mission] {
        if (historyChanged_)
            historyChanged_(mission);
    });
    stacks_.push_back({mission, stack});
    return stack;
}

void CEditHistory::SetCurrentMission(CMission* mission)
{
    group_.setActiveStack(mission ? StackFor(mission) : nullptr);
}

CMission* CEditHistory::CurrentMission() const
{
    const auto it = std::ranges::find(stacks_, group_.activeStack(), &MissionStack::stack);
    return it == stacks_.end() ? nullptr : it->mission;
}

void CEditHistory::Record(const std::vector<ObjectChange>& changes, EditKind kind, std::uint64_t gesture)
{
    if (restoring_ || changes.empty())
        return;
    CMission* mission = missionOf_(*changes.front().object);
    if (!mission)
        return;
    SetCurrentMission(mission);
    StackFor(mission)->push(new CEditStep(don_, changes, kind, gesture));
}

void CEditHistory::RecordStructure(std::unique_ptr<CStructureEdit> edit)
{
    if (restoring_)
        return;
    CMission& mission = edit->GetMission();
    SetCurrentMission(&mission);
    StackFor(&mission)->push(new CStructureStep(don_, std::move(edit)));
}

// A mission without a stack has no edits: it is clean already, and so will its
// stack be when it is made.
void CEditHistory::MissionSaved(const CMission& mission)
{
    if (QUndoStack* stack = StackOf(&mission))
        stack->setClean();
}

bool CEditHistory::IsMissionModified(const CMission& mission) const
{
    const QUndoStack* stack = StackOf(&mission);
    return stack && !stack->isClean();
}

std::vector<CMission*> CEditHistory::ModifiedMissions() const
{
    std::vector<CMission*> modified;
    for (const MissionStack& entry : stacks_) {
        if (!entry.stack->isClean())
            modified.push_back(entry.mission);
    }
    return modified;
}

void CEditHistory::Notify(CDravoDonView* sender, int code, int /*arg*/)
{
    if (code != DON_MISSION_SELECTED && code != DON_DATA_SELECTED)
        return;
    CVerdaxData* object = sender ? sender->GetObject() : nullptr;
    if (!object)
        return;
    auto* mission = dynamic_cast<CMission*>(object);
    if (!mission)
        mission = missionOf_(*object);
    if (mission)
        SetCurrentMission(mission);
}

void CEditHistory::Undo()
{
    const ScopedValue restoring(restoring_, true);
    group_.undo();
}

void CEditHistory::Redo()
{
    const ScopedValue restoring(restoring_, true);
    group_.redo();
}

bool CEditHistory::CanUndo() const
{
    return group_.canUndo();
}

bool CEditHistory::CanRedo() const
{
    return group_.canRedo();
}

QString CEditHistory::UndoText() const
{
    return group_.undoText();
}

QString CEditHistory::RedoText() const
{
    return group_.redoText();
}

}  // namespace ui
