// A search of many missions: the order of its outcomes whichever thread searched
// them, loaded missions as they are in memory, a mission that cannot be read among
// good ones, waking the caller and stopping part way.

#include "core/CVerdaxException.h"
#include "core/GameFolders.h"
#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "game/CMissionSearch.h"
#include "game/CSceneObjectStore.h"
#include "platform/FileSystem.h"
#include "platform/MessagePresenter.h"
#include "platform/Registry.h"
#include "tools/demo/SceneWriter.h"

#include "tests/game/TestGamePrefix.h"
#include "tests/support/ByteWriter.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

// The missions' names and the names of their objects that matched, or the error.
std::vector<std::string> Summary(const std::vector<MissionSearchOutcome>& outcomes)
{
    std::vector<std::string> lines;
    for (const MissionSearchOutcome& outcome : outcomes) {
        std::string line = outcome.mission + ":";
        if (!outcome.read)
            line += " error " + std::to_string(outcome.errorCode) + " " + outcome.errorText;
        for (const SearchMatch& match : outcome.matches)
            line += " " + match.object;
        lines.push_back(line);
    }
    return lines;
}

std::vector<MissionSearchOutcome> TakeAll(CMissionSearch& search)
{
    std::vector<MissionSearchOutcome> outcomes;
    for (;;) {
        search.Wait();
        CMissionSearch::Progress progress = search.Take();
        std::ranges::move(progress.outcomes, std::back_inserter(outcomes));
        if (progress.finished)
            return outcomes;
    }
}

std::string SceneWithThings(std::vector<std::string> names)
{
    demo::SceneFileData scene;
    for (auto& name : names) {
        demo::SceneThing thing;
        thing.name = std::move(name);
        scene.things.push_back(thing);
    }
    return demo::WriteScene2(scene);
}

class MissionSearch : public testing::Test {
protected:
    void SetUp() override
    {
        platform::SetRegistry(&registry_);
        platform::SetFileSystem(&files_);
        SetGameFolders(&root_);
        prefix_.WriteRegistry();
        AddMission("beta", SceneWithThings({"gate_saved", "tree"}));
        AddMission("Alpha", SceneWithThings({"tree", "gate_1", "gate_2"}));
        // A section id that no scene file has: 4002, raised with its position as text.
        AddMission("broken", testsupport::ByteWriter().Header(0x4C53, 12).Header(0x7777, 6).Str());
        root_.SetInstallFolder(CDravoRoot::ReadInstallFolder());
        root_.ListMissions();
    }
    void TearDown() override
    {
        SetGameFolders(nullptr);
        platform::SetFileSystem(nullptr);
        platform::SetRegistry(nullptr);
    }

    void AddMission(const std::string& name, const std::string& sceneFile)
    {
        prefix_.AddMissionFolder(name);
        prefix_.AddFile("Missions/" + name + "/scene2.bin", sceneFile);
    }

    CMission& Mission(const std::string& name)
    {
        for (const auto& mission : root_.GetMissions()) {
            if (mission->GetName() == name)
                return *mission;
        }
        throw std::runtime_error("no mission " + name);
    }

    testsupport::TestGamePrefix prefix_;
    platform::CWineRegistry registry_{prefix_.Path()};
    platform::CWineFileSystem files_{prefix_.Path()};
    platform::RecordingPresenter messages_;
    platform::ScopedPresenter scopedMessages_{messages_};
    CDravoRoot root_;
};

// "beta" is loaded and edited, not saved: the search sees the edit. The broken
// mission's error would show its text at once if the worker showed messages.
TEST_F(MissionSearch, GivesEveryMissionInNameOrderLoadedOnesAsInMemory)
{
    CMission& beta = Mission("beta");
    beta.Load();
    beta.GetThings()[0]->SetName("gate_edited");
    CMissionSearch search(CMissionSearch::MissionsOf(root_), CTextMatcher("GATE", {}, 1251), {});
    EXPECT_EQ(Summary(TakeAll(search)), (std::vector<std::string>{"Alpha: gate_1 gate_2", "beta: gate_edited",
                                                                  "broken: error 4002 fFile pos = 12"}));
    EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(MissionSearch, WakesTheCallerForEachMissionReadAndOnceFinished)
{
    Mission("beta").Load();
    std::atomic<int> wakes{0};
    CMissionSearch search(CMissionSearch::MissionsOf(root_), CTextMatcher("gate", {}, 1251), {}, [&] { ++wakes; });
    EXPECT_EQ(TakeAll(search).size(), 3u);
    search.Stop();  // the last wake may still be under way
    EXPECT_EQ(wakes, 3);  // "Alpha" and "broken" from their files, then the end
}

// A source that says on which thread it was read, and can hold the reader there.
class TestSource final : public IMissionObjectSource {
public:
    TestSource(std::string name, bool inMemory) : name_(std::move(name)), inMemory_(inMemory)
    {
        auto thing = std::make_unique<CSceneObjectThing>();
        thing->SetName("gate");
        objects_.AddThing(std::move(thing));
    }
    const std::string& GetMissionName() const override { return name_; }
    bool IsInMemory() const override { return inMemory_; }
    const ISceneFileOwner& GetObjects() override
    {
        readOn = std::this_thread::get_id();
        if (whileRead)
            whileRead();
        return objects_;
    }

    std::thread::id readOn;
    std::function<void()> whileRead;

private:
    std::string name_;
    bool inMemory_;
    CSceneObjectStore objects_;
};

TEST(MissionSearchThreads, MissionsInMemoryAreReadOnTheCallingThreadFilesOnTheWorker)
{
    auto file = std::make_unique<TestSource>("file", false);
    auto memory = std::make_unique<TestSource>("memory", true);
    TestSource& fileSource = *file;
    TestSource& memorySource = *memory;
    CMissionSearch::Missions missions;
    missions.push_back(std::move(file));
    missions.push_back(std::move(memory));
    CMissionSearch search(std::move(missions), CTextMatcher("gate", {}, 1251), {});
    EXPECT_EQ(Summary(TakeAll(search)), (std::vector<std::string>{"file: gate", "memory: gate"}));
    EXPECT_EQ(memorySource.readOn, std::this_thread::get_id());
    EXPECT_NE(fileSource.readOn, std::this_thread::get_id());
    EXPECT_NE(fileSource.readOn, std::thread::id());
}

// Stopped while the second mission is read: it gives nothing, nor does the third.
TEST(MissionSearchThreads, AStopRequestedPartWayEndsWithTheMissionsFinishedBefore)
{
    std::promise<void> reading;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    CMissionSearch::Missions missions;
    for (const char* name : {"first", "second", "third"})
        missions.push_back(std::make_unique<TestSource>(name, false));
    static_cast<TestSource&>(*missions[1]).whileRead = [&] {
        reading.set_value();
        released.wait();
    };
    CMissionSearch search(std::move(missions), CTextMatcher("gate", {}, 1251), {});
    reading.get_future().wait();
    search.RequestStop();
    release.set_value();
    EXPECT_EQ(Summary(TakeAll(search)), std::vector<std::string>{"first: gate"});
}

}  // namespace
