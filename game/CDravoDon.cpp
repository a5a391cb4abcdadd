#include "game/CDravoDon.h"

#include "core/CVerdaxException.h"
#include "core/GameFolders.h"
#include "core/StringTable.h"
#include "game/CMission.h"
#include "game/CStructureEdit.h"
#include "game/IEditHistory.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"

#include <algorithm>
#include <exception>

namespace {

// Views may outlive every mediator (windows closed after the process-wide objects
// are gone), so the chain's head is a plain pointer, never destroyed.
CDravoDon* g_liveMediators = nullptr;

// Removals while any walk of the list runs leave a null entry, so that indices stay
// valid for the walk; the outermost walk drops them when it ends.
class BroadcastScope {
public:
    explicit BroadcastScope(int& depth) : depth_(depth) { ++depth_; }
    ~BroadcastScope() { --depth_; }
    BroadcastScope(const BroadcastScope&) = delete;
    BroadcastScope& operator=(const BroadcastScope&) = delete;

private:
    int& depth_;
};

// The sender of an announcement that no view made (undo, redo): receivers read the
// changed object from it as from any sender. It is never registered.
class CEditAnnouncer : public CDravoDonView {
public:
    explicit CEditAnnouncer(CVerdaxData* object) { SetObject(object); }
    void Notify(CDravoDonView*, int, int) override {}
};

bool IsViewKind(int kind)
{
    return kind == DON_VIEW_INFO || kind == DON_VIEW_SCRIPT || kind == DON_VIEW_WORLD;
}

}  // namespace

CDravoDon::CDravoDon() : root_(this), nextLive_(g_liveMediators)
{
    g_liveMediators = this;
    SetGameFolders(&root_);
}

CDravoDon::~CDravoDon()
{
    for (CDravoDon** link = &g_liveMediators; *link; link = &(*link)->nextLive_) {
        if (*link == this) {
            *link = nextLive_;
            break;
        }
    }
    if (&GameFolders() == &root_)
        SetGameFolders(g_liveMediators ? &g_liveMediators->root_ : nullptr);
    views_.clear();
    views_.shrink_to_fit();
}

void CDravoDon::LoadGame()
{
    root_.Load();
}

bool CDravoDon::RegisterView(CDravoDonView* view)
{
    if (!view)
        return false;
    views_.push_back(view);
    return true;
}

bool CDravoDon::UnregisterView(CDravoDonView* view)
{
    const auto it = std::ranges::find(views_, view);
    if (!view || it == views_.end())
        return false;
    RemoveEntry(static_cast<std::size_t>(it - views_.begin()));
    return true;
}

void CDravoDon::RemoveEntry(std::size_t index)
{
    if (broadcastDepth_ > 0)
        views_[index] = nullptr;
    else
        views_.erase(views_.begin() + static_cast<std::ptrdiff_t>(index));
}

void CDravoDon::DropRemovedEntries()
{
    std::erase(views_, nullptr);
}

void CDravoDon::Broadcast(CDravoDonView* sender, int code, int arg)
{
    {
        BroadcastScope walking(broadcastDepth_);
        // The end is read anew at each step: a view registered meanwhile is reached too.
        for (std::size_t i = 0; i < views_.size(); ++i) {
            CDravoDonView* view = views_[i];
            if (view && view != sender)
                view->Notify(sender, code, arg);
        }
    }
    if (broadcastDepth_ == 0)
        DropRemovedEntries();
}

void CDravoDon::BroadcastSelection(CDravoDonView* sender, bool byMouse)
{
    // Typing not yet taken goes in before another object or mission becomes
    // current, into the mission it was typed for.
    TakePendingEdits();
    CVerdaxData* object = sender ? sender->GetObject() : nullptr;
    const bool isMission = dynamic_cast<CMission*>(object) != nullptr;
    const bool isThing = dynamic_cast<CSceneObjectThing*>(object) != nullptr;
    Broadcast(sender, DON_OBJECT_SELECTED, 0);
    if (isMission)
        Broadcast(sender, DON_MISSION_SELECTED, 0);
    if (object)
        Broadcast(sender, DON_DATA_SELECTED, 0);
    if (isThing && byMouse)
        Broadcast(sender, DON_THING_CLICKED, 0);
}

CDravoDonView* CDravoDon::OpenView(int kind, CVerdaxData* object)
{
    if (!host_ || !IsViewKind(kind))
        return nullptr;
    CDravoDonView* view = nullptr;
    try {
        view = host_->OpenView(kind, object);
    } catch (const std::exception&) {
        return nullptr;  // failures to open are reported as null only
    }
    if (!view)
        return nullptr;
    view->SetObject(object);
    RegisterView(view);
    return view;
}

void CDravoDon::ApplyEdit(CDravoDonView* sender, CSceneObject& object, const ObjectEdit& edit, bool announce)
{
    CSceneObject* companion = RenamedCompanion(object, edit);
    std::vector<ObjectChange> changes{{&object, {}, {}}};
    if (companion)
        changes.push_back({companion, {}, {}});
    for (ObjectChange& change : changes)
        change.before = CaptureObjectState(*change.object);
    ApplyObjectEdit(object, edit);
    if (companion)
        companion->SetName(*edit.name);
    for (ObjectChange& change : changes)
        change.after = CaptureObjectState(*change.object);
    std::erase_if(changes, [](const ObjectChange& change) { return SameObjectState(change.before, change.after); });
    if (history_ && !changes.empty())
        history_->Record(changes, edit.kind, edit.gesture);
    if (!announce)
        return;
    if (sender)
        Broadcast(sender, DON_OBJECT_CHANGED, 0);
    else
        Announce(object, DON_OBJECT_CHANGED);
    if (companion && std::ranges::any_of(changes, [companion](const auto& c) { return c.object == companion; }))
        Announce(*companion, DON_OBJECT_CHANGED);
}

// The thing data that a rename of `object` takes along: a thing's linked data.
CSceneObject* CDravoDon::RenamedCompanion(CSceneObject& object, const ObjectEdit& edit)
{
    const auto* thing = dynamic_cast<const CSceneObjectThing*>(&object);
    return edit.name && thing ? thing->GetLinkedData() : nullptr;
}

void CDravoDon::ApplyStructureEdit(std::unique_ptr<CStructureEdit> edit)
{
    edit->Apply(*this);
    if (history_)
        history_->RecordStructure(std::move(edit));
}

void CDravoDon::Announce(CVerdaxData& object, int code)
{
    CEditAnnouncer announcer(&object);
    Broadcast(&announcer, code, 0);
}

void CDravoDon::RestoreObject(CSceneObject& object, const ObjectState& state)
{
    RestoreObjectState(object, state);
    Announce(object, DON_OBJECT_CHANGED);
}

bool CDravoDon::IsMissionModified(const CMission& mission) const
{
    if (history_ && history_->IsMissionModified(mission))
        return true;
    return std::ranges::any_of(views_, [&mission](const CDravoDonView* view) {
        if (!view || !view->HoldsPendingEdit())
            return false;
        const CVerdaxData* object = view->GetObject();
        return object == &mission || mission.Owns(object);
    });
}

CDravoDonView* CDravoDon::TakePendingEdits()
{
    CDravoDonView* kept = nullptr;
    {
        // A walk like a broadcast's: taking an edit announces it, and a view may
        // come or go meanwhile.
        BroadcastScope walking(broadcastDepth_);
        for (std::size_t i = 0; i < views_.size(); ++i) {
            CDravoDonView* view = views_[i];
            if (view && view->HoldsPendingEdit() && !view->TakePendingEdit() && !kept)
                kept = view;
        }
    }
    if (broadcastDepth_ == 0)
        DropRemovedEntries();
    return kept;
}

void CDravoDon::PendingEditsChanged()
{
    if (host_)
        host_->ModifiedMarksChanged();
}

IMissionTree* CDravoDon::GetMissionTree() const
{
    return host_ ? host_->GetMissionTree() : nullptr;
}

void CDravoDon::SaveSelectedMission()
{
    IMissionTree* tree = GetMissionTree();
    CMission* mission = tree ? tree->GetSelectedMission() : nullptr;
    if (!mission) {
        ShowStringMessage(IDS_ERR_NO_MISSION_SELECTED);
        return;
    }
    SaveMission(*mission);
}

void CDravoDon::SaveMission(CMission& mission)
{
    mission.Save();
    if (history_)
        history_->MissionSaved(mission);
}

std::vector<CDravoDonView*> CDravoDon::GetViews() const
{
    std::vector<CDravoDonView*> views;
    std::ranges::copy_if(views_, std::back_inserter(views), [](CDravoDonView* view) { return view != nullptr; });
    return views;
}

void CDravoDon::ForgetView(CDravoDonView* view)
{
    for (CDravoDon* don = g_liveMediators; don; don = don->nextLive_) {
        while (don->UnregisterView(view)) {
        }
    }
}
