#include "core/GameFolders.h"
#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/FileSystem.h"
#include "platform/MessagePresenter.h"
#include "platform/Registry.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"

#include "tests/game/TestGamePrefix.h"
#include "tests/support/ByteWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct Delivery {
    std::string view;
    int code;
    CDravoDonView* sender;
    bool operator==(const Delivery&) const = default;
};

using DeliveryLog = std::vector<Delivery>;

class FakeView final : public CDravoDonView {
public:
    FakeView(std::string name, DeliveryLog& log) : name_(std::move(name)), log_(log) {}

    void Notify(CDravoDonView* sender, int code, int arg) override
    {
        EXPECT_EQ(arg, 0);
        log_.push_back({name_, code, sender});
        if (onNotify)
            onNotify(code);
    }

    std::function<void(int code)> onNotify;

private:
    std::string name_;
    DeliveryLog& log_;
};

// A mediator of the test's own, so that each test starts from an empty list.
class TestDon final : public CDravoDon {
public:
    TestDon() = default;
};

class FakeTree final : public IMissionTree {
public:
    void AddMission(CMission* mission) override { added.push_back(mission); }
    CMission* GetSelectedMission() override { return selected; }
    void SelectObject(CVerdaxData*) override {}

    std::vector<CMission*> added;
    CMission* selected = nullptr;
};

class FakeHost final : public IDravoDonHost {
public:
    CDravoDonView* OpenView(int kind, CVerdaxData* object) override
    {
        requests.push_back({kind, object});
        return viewToOpen;
    }
    IMissionTree* GetMissionTree() override { return tree; }

    std::vector<std::pair<int, CVerdaxData*>> requests;
    CDravoDonView* viewToOpen = nullptr;
    IMissionTree* tree = nullptr;
};

class Mediator : public testing::Test {
protected:
    std::vector<int> CodesOf(const std::string& view) const
    {
        std::vector<int> codes;
        for (const auto& delivery : log_)
            if (delivery.view == view)
                codes.push_back(delivery.code);
        return codes;
    }

    DeliveryLog log_;
    TestDon don_;
    platform::RecordingPresenter messages_;
    platform::ScopedPresenter scopedMessages_{messages_};
};

TEST_F(Mediator, BroadcastReachesEveryOtherViewInRegistrationOrder)
{
    FakeView a("a", log_), b("b", log_), c("c", log_);
    for (auto* view : {&a, &b, &c})
        EXPECT_TRUE(don_.RegisterView(view));
    don_.Broadcast(&b, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(log_, (DeliveryLog{{"a", DON_OBJECT_CHANGED, &b}, {"c", DON_OBJECT_CHANGED, &b}}));
}

TEST_F(Mediator, ViewRegisteredTwiceIsCalledTwiceAndSkippedTwiceAsSender)
{
    FakeView a("a", log_), twice("twice", log_);
    don_.RegisterView(&twice);
    don_.RegisterView(&a);
    don_.RegisterView(&twice);

    don_.Broadcast(&a, DON_OBJECT_SELECTED, 0);
    EXPECT_EQ(CodesOf("twice"), (std::vector<int>{DON_OBJECT_SELECTED, DON_OBJECT_SELECTED}));

    log_.clear();
    don_.Broadcast(&twice, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(log_, (DeliveryLog{{"a", DON_OBJECT_CHANGED, &twice}}));

    // Unregistering removes only the first entry.
    EXPECT_TRUE(don_.UnregisterView(&twice));
    EXPECT_EQ(don_.GetViews(), (std::vector<CDravoDonView*>{&a, &twice}));
}

TEST_F(Mediator, UnregisteringAViewThatIsNotThereChangesNothing)
{
    FakeView a("a", log_), stranger("stranger", log_);
    don_.RegisterView(&a);
    EXPECT_FALSE(don_.UnregisterView(&stranger));
    EXPECT_FALSE(don_.UnregisterView(nullptr));
    EXPECT_FALSE(don_.RegisterView(nullptr));
    EXPECT_EQ(don_.GetViews(), (std::vector<CDravoDonView*>{&a}));
}

TEST_F(Mediator, DestroyedViewAmongThreeIsNeitherCalledNorKept)
{
    FakeView first("first", log_), third("third", log_);
    auto middle = std::make_unique<FakeView>("middle", log_);
    don_.RegisterView(&first);
    don_.RegisterView(middle.get());
    don_.RegisterView(middle.get());
    don_.RegisterView(&third);
    middle.reset();

    don_.Broadcast(&first, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(log_, (DeliveryLog{{"third", DON_OBJECT_CHANGED, &first}}));
    EXPECT_EQ(don_.GetViews(), (std::vector<CDravoDonView*>{&first, &third}));
}

TEST_F(Mediator, ViewDestroyedDuringABroadcastIsNotCalledAfterwards)
{
    FakeView sender("sender", log_), closer("closer", log_), last("last", log_);
    auto victim = std::make_unique<FakeView>("victim", log_);
    auto selfCloser = std::make_unique<FakeView>("selfCloser", log_);
    closer.onNotify = [&](int) { victim.reset(); };
    selfCloser->onNotify = [&](int) { selfCloser.reset(); };
    for (CDravoDonView* view : std::initializer_list<CDravoDonView*>{&closer, victim.get(), selfCloser.get(), &last})
        don_.RegisterView(view);

    don_.Broadcast(&sender, DON_OBJECT_SELECTED, 0);
    EXPECT_EQ(log_, (DeliveryLog{{"closer", DON_OBJECT_SELECTED, &sender},
                                 {"selfCloser", DON_OBJECT_SELECTED, &sender},
                                 {"last", DON_OBJECT_SELECTED, &sender}}));
    EXPECT_EQ(don_.GetViews(), (std::vector<CDravoDonView*>{&closer, &last}));

    log_.clear();
    don_.Broadcast(&sender, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(log_.size(), 2u);
}

TEST_F(Mediator, NestedBroadcastKeepsTheOuterWalkSound)
{
    FakeView tree("tree", log_), view3d("view3d", log_);
    auto script = std::make_unique<FakeView>("script", log_);
    // The 3D view answers a change by having the tree announce a selection, during
    // which the script editor goes away.
    view3d.onNotify = [&](int code) {
        if (code == DON_OBJECT_CHANGED) {
            script.reset();
            don_.Broadcast(&tree, DON_OBJECT_SELECTED, 0);
        }
    };
    don_.RegisterView(&tree);
    don_.RegisterView(&view3d);
    don_.RegisterView(script.get());

    FakeView rollup("rollup", log_);
    don_.Broadcast(&rollup, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(log_, (DeliveryLog{{"tree", DON_OBJECT_CHANGED, &rollup},
                                 {"view3d", DON_OBJECT_CHANGED, &rollup},
                                 {"view3d", DON_OBJECT_SELECTED, &tree}}));
    EXPECT_EQ(don_.GetViews(), (std::vector<CDravoDonView*>{&tree, &view3d}));
}

TEST_F(Mediator, ViewsOutliveTheirMediatorSafely)
{
    FakeView survivor("survivor", log_);
    {
        TestDon shortLived;
        shortLived.RegisterView(&survivor);
        don_.RegisterView(&survivor);
    }
    don_.Broadcast(nullptr, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(CodesOf("survivor"), (std::vector<int>{DON_OBJECT_CHANGED}));
}

TEST_F(Mediator, OpenViewAsksTheHostOnlyForTheThreeKinds)
{
    FakeView opened("opened", log_);
    FakeHost host;
    host.viewToOpen = &opened;
    CSceneObjectThingData object;

    EXPECT_EQ(don_.OpenView(DON_VIEW_SCRIPT, &object), nullptr);  // no host yet

    don_.SetHost(&host);
    EXPECT_EQ(don_.OpenView(259, &object), nullptr);
    EXPECT_EQ(don_.OpenView(255, &object), nullptr);
    EXPECT_TRUE(host.requests.empty());
    EXPECT_TRUE(don_.GetViews().empty());

    EXPECT_EQ(don_.OpenView(DON_VIEW_SCRIPT, &object), &opened);
    EXPECT_EQ(opened.GetObject(), &object);
    EXPECT_EQ(don_.GetViews(), (std::vector<CDravoDonView*>{&opened}));

    host.viewToOpen = nullptr;
    EXPECT_EQ(don_.OpenView(DON_VIEW_INFO, nullptr), nullptr);
    EXPECT_EQ(host.requests, (std::vector<std::pair<int, CVerdaxData*>>{{DON_VIEW_SCRIPT, &object},
                                                                        {DON_VIEW_INFO, nullptr}}));
    EXPECT_EQ(don_.GetViews().size(), 1u);
    EXPECT_TRUE(messages_.entries.empty());
}

// The selection change of the mission tree, for each kind of item.
TEST_F(Mediator, SelectionCodesFollowTheKindOfObject)
{
    FakeView tree("tree", log_), receiver("receiver", log_);
    don_.RegisterView(&tree);
    don_.RegisterView(&receiver);
    CDravoRoot root;
    CMission mission("Mise01", &root);
    CSceneObjectThing thing;
    CSceneObjectThingData data;

    const auto codesFor = [&](CVerdaxData* object, bool byMouse) {
        log_.clear();
        tree.SetObject(object);
        don_.BroadcastSelection(&tree, byMouse);
        return CodesOf("receiver");
    };
    using Codes = std::vector<int>;
    EXPECT_EQ(codesFor(&mission, true), (Codes{DON_OBJECT_SELECTED, DON_MISSION_SELECTED, DON_DATA_SELECTED}));
    EXPECT_EQ(codesFor(&thing, true), (Codes{DON_OBJECT_SELECTED, DON_DATA_SELECTED, DON_THING_CLICKED}));
    EXPECT_EQ(codesFor(&thing, false), (Codes{DON_OBJECT_SELECTED, DON_DATA_SELECTED}));
    EXPECT_EQ(codesFor(&data, true), (Codes{DON_OBJECT_SELECTED, DON_DATA_SELECTED}));
    EXPECT_EQ(codesFor(nullptr, true), (Codes{DON_OBJECT_SELECTED}));
    EXPECT_TRUE(CodesOf("tree").empty());
}

namespace {

// A view holding typing its object has not taken, as a script window does; it
// takes it when asked, unless the object cannot.
class PendingView final : public CDravoDonView {
public:
    void Notify(CDravoDonView*, int, int) override {}
    bool HoldsPendingEdit() const override { return pending; }
    bool TakePendingEdit() override
    {
        ++asked;
        if (takeable)
            pending = false;
        return takeable;
    }
    bool pending = false;
    bool takeable = true;
    int asked = 0;
};

}  // namespace

// A mission counts as modified while a view holds an edit of it or of one of its
// objects not yet taken; every such edit goes in before a selection is announced.
TEST_F(Mediator, PendingEditsMarkTheirMissionAndGoInBeforeASelection)
{
    CDravoRoot root;
    CMission mission("Mise01", &root);
    CMission other("Mise02", &root);
    auto owned = std::make_unique<CSceneObjectThing>();
    CSceneObjectThing* thing = owned.get();
    mission.AddThing(std::move(owned));
    PendingView script, missionView, unregistered;
    script.SetObject(thing);
    missionView.SetObject(&other);
    don_.RegisterView(&script);
    don_.RegisterView(&missionView);
    unregistered.SetObject(thing);
    unregistered.pending = true;

    EXPECT_FALSE(don_.IsMissionModified(mission));
    script.pending = true;
    EXPECT_TRUE(don_.IsMissionModified(mission));
    EXPECT_FALSE(don_.IsMissionModified(other));
    missionView.pending = true;
    EXPECT_TRUE(don_.IsMissionModified(other));

    // A view that cannot give its edit keeps it, and is named; the others give theirs.
    script.takeable = false;
    EXPECT_EQ(don_.TakePendingEdits(), &script);
    EXPECT_FALSE(missionView.pending);
    EXPECT_TRUE(don_.IsMissionModified(mission));
    EXPECT_EQ(unregistered.asked, 0);

    FakeView tree("tree", log_);
    tree.SetObject(&other);
    tree.onNotify = [&](int) { EXPECT_EQ(script.asked, 2); };  // asked before anyone is told
    don_.RegisterView(&tree);
    script.takeable = true;
    FakeView selector("selector", log_);
    selector.SetObject(&other);
    don_.BroadcastSelection(&selector, true);
    EXPECT_EQ(script.asked, 2);
    EXPECT_FALSE(don_.IsMissionModified(mission));
    EXPECT_EQ(missionView.asked, 1);  // nothing pending: not asked again
}

class SaveCommand : public Mediator {
protected:
    void SetUp() override
    {
        host_.tree = &tree_;
        don_.SetHost(&host_);
        prefix_.AddMissionFolder("Mise01");
        prefix_.AddFile("Missions/Mise01/scene2.bin", "not read");
        root_.SetInstallFolder((prefix_.Game() / "").string());
    }

    bool OutputWritten() const { return std::filesystem::exists(prefix_.Game() / "Missions" / "Mise01" / "scene2.bin.Verdax"); }

    testsupport::TestGamePrefix prefix_;
    FakeHost host_;
    FakeTree tree_;
    CDravoRoot root_;
};

TEST_F(SaveCommand, WithoutASelectedMissionShows1002)
{
    // Nothing selected, a category or an object below a mission: the tree names no mission.
    tree_.selected = nullptr;
    don_.SaveSelectedMission();
    EXPECT_EQ(messages_.entries, (std::vector<platform::RecordingPresenter::Entry>{
                                     {IDS_ERR_NO_MISSION_SELECTED, std::string(LoadString(IDS_ERR_NO_MISSION_SELECTED))}}));

    // Without a host, or with a host that has no tree yet.
    don_.SetHost(nullptr);
    don_.SaveSelectedMission();
    host_.tree = nullptr;
    don_.SetHost(&host_);
    don_.SaveSelectedMission();
    EXPECT_EQ(messages_.entries.size(), 3u);
    EXPECT_FALSE(OutputWritten());
}

TEST_F(SaveCommand, UnloadedMissionWritesAndShowsNothing)
{
    CMission* mission = root_.CreateMission("Mise01");
    tree_.selected = mission;
    don_.SaveSelectedMission();
    EXPECT_TRUE(messages_.entries.empty());
    EXPECT_FALSE(OutputWritten());
}

TEST_F(SaveCommand, LoadedMissionIsWritten)
{
    prefix_.AddFile("Missions/Mise01/scene2.bin", testsupport::ByteWriter().Header(0x4C53, 6).Str());
    CMission* mission = root_.CreateMission("Mise01");
    ASSERT_TRUE(root_.LoadMission(mission));
    tree_.selected = mission;
    don_.SaveSelectedMission();
    EXPECT_TRUE(messages_.entries.empty());
    EXPECT_TRUE(OutputWritten());
}

TEST_F(Mediator, RootIsTheProcessGameFolders)
{
    don_.GetRoot().SetInstallFolder("D:\\Games\\X\\");
    EXPECT_EQ(GameFolders().GetModelsFolder(), "D:\\Games\\X\\Models\\");
    {
        TestDon later;
        later.GetRoot().SetInstallFolder("E:\\");
        EXPECT_EQ(GameFolders().GetMapsFolder(), "E:\\Maps\\");
    }
    EXPECT_EQ(GameFolders().GetMapsFolder(), "D:\\Games\\X\\Maps\\");
}

TEST(MediatorInstance, IsOneObject)
{
    EXPECT_EQ(&CDravoDon::Instance(), &CDravoDon::Instance());
}

class GameLoad : public Mediator {
protected:
    void SetUp() override
    {
        host_.tree = &tree_;
        host_.viewToOpen = &world_;
        don_.SetHost(&host_);
        platform::SetRegistry(&registry_);
        platform::SetFileSystem(&files_);
    }
    void TearDown() override
    {
        platform::SetRegistry(nullptr);
        platform::SetFileSystem(nullptr);
    }

    testsupport::TestGamePrefix prefix_;
    platform::CWineRegistry registry_{prefix_.Path()};
    platform::CWineFileSystem files_{prefix_.Path()};
    FakeHost host_;
    FakeTree tree_;
    FakeView world_{"world", log_};
};

TEST_F(GameLoad, ListsMissionsIntoTheTreeAndOpensTheWorldWindow)
{
    prefix_.WriteRegistry();
    prefix_.AddMissionFolder("Mise02");
    prefix_.AddMissionFolder("Mise01");
    don_.LoadGame();

    const auto& missions = don_.GetRoot().GetMissions();
    ASSERT_EQ(missions.size(), 2u);
    EXPECT_EQ(tree_.added, (std::vector<CMission*>{missions[0].get(), missions[1].get()}));
    EXPECT_EQ(host_.requests, (std::vector<std::pair<int, CVerdaxData*>>{{DON_VIEW_WORLD, nullptr}}));
    EXPECT_EQ(don_.GetViews(), (std::vector<CDravoDonView*>{&world_}));
    EXPECT_TRUE(don_.GetRoot().IsLoaded());
    EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(GameLoad, WithoutTheRegistryKeyNothingIsListedOrOpened)
{
    prefix_.WriteRegistryWithoutGame();
    prefix_.AddMissionFolder("Mise01");
    don_.LoadGame();

    EXPECT_TRUE(tree_.added.empty());
    EXPECT_TRUE(host_.requests.empty());
    EXPECT_TRUE(don_.GetViews().empty());
    EXPECT_FALSE(don_.GetRoot().IsLoaded());
    ASSERT_EQ(messages_.entries.size(), 1u);
    EXPECT_EQ(messages_.entries.front().id, IDS_ERR_REGISTRY);
}

}  // namespace
