// The editor's search as its panel holds it: rows gathered from the missions'
// outcomes, a new search replacing one that runs, stopping, a pattern refused; and
// a match's object found again in a mission edited since it was searched.

#include "game/CMissionSearchSession.h"
#include "game/CSceneObjectStore.h"
#include "game/MatchedObject.h"
#include "game/SearchResultText.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <thread>

namespace {

using State = CMissionSearchSession::State;

std::unique_ptr<CSceneObjectThing> Thing(const std::string& name)
{
    auto thing = std::make_unique<CSceneObjectThing>();
    thing->SetName(name);
    return thing;
}

// A mission of the given things, read from a "file" (on the worker), which can hold
// the worker while it reads, or fail as an unreadable file does.
class TestSource final : public IMissionObjectSource {
public:
    TestSource(std::string name, std::vector<std::string> things) : name_(std::move(name))
    {
        for (const std::string& thing : things)
            objects_.AddThing(Thing(thing));
    }
    const std::string& GetMissionName() const override { return name_; }
    bool IsInMemory() const override { return false; }
    const ISceneFileOwner& GetObjects() override
    {
        if (whileRead)
            whileRead();
        if (broken)
            throw std::runtime_error("unreadable");
        return objects_;
    }

    std::function<void()> whileRead;
    bool broken = false;

private:
    std::string name_;
    CSceneObjectStore objects_;
};

// Holds the worker in one mission's read until released.
struct Gate {
    std::promise<void> reading;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();

    std::function<void()> Hold()
    {
        return [this] {
            reading.set_value();
            released.wait();
        };
    }
};

CMissionSearchSession::Request Request(const std::string& pattern)
{
    return {pattern, {}, {}};
}

// Polls until the search has ended, as the panel does on each wake.
void PollToEnd(CMissionSearchSession& session)
{
    while (session.IsRunning()) {
        session.Poll();
        std::this_thread::yield();
    }
}

std::vector<std::string> RowTexts(const CMissionSearchSession& session)
{
    std::vector<std::string> texts;
    for (const SearchResultRow& row : session.Rows()) {
        const SearchMatch* match = session.MatchOf(row);
        texts.push_back(session.OutcomeOf(row).mission + ":" + (match ? match->object : "error"));
    }
    return texts;
}

TEST(SearchSession, GathersEachMissionsMatchesAndTheMissionsNotReadIntoRows)
{
    CMissionSearch::Missions missions;
    missions.push_back(std::make_unique<TestSource>("alpha", std::vector<std::string>{"gate_1", "tree", "gate_2"}));
    auto broken = std::make_unique<TestSource>("broken", std::vector<std::string>{"gate"});
    broken->broken = true;
    missions.push_back(std::move(broken));
    missions.push_back(std::make_unique<TestSource>("gamma", std::vector<std::string>{"tree"}));
    std::atomic<int> wakes{0};
    CMissionSearchSession session([&] { ++wakes; });
    EXPECT_EQ(SearchStatusText(session.GetState(), session.GetCounts()), "");

    session.Start(std::move(missions), Request("GATE"), 1252);
    EXPECT_EQ(session.GetState(), State::kRunning);
    PollToEnd(session);
    EXPECT_EQ(session.GetState(), State::kFinished);
    EXPECT_EQ(RowTexts(session), (std::vector<std::string>{"alpha:gate_1", "alpha:gate_2", "broken:error"}));
    const auto& counts = session.GetCounts();
    EXPECT_EQ(counts.missions, 3u);
    EXPECT_EQ(counts.searched, 3u);
    EXPECT_EQ(counts.unread, 1u);
    EXPECT_EQ(counts.matches, 2u);
    EXPECT_EQ(session.OutcomeOf(session.Rows()[2]).errorText, "unreadable");
    EXPECT_GT(wakes, 0);
    EXPECT_EQ(SearchStatusText(session.GetState(), counts), "Найдено: 2 · миссий: 3 · не прочитано: 1");
    EXPECT_EQ(SearchStatusText(State::kRunning, {3, 1, 0, 2}), "Поиск… найдено: 2 · миссий: 1 из 3");
    EXPECT_EQ(SearchStatusText(State::kFinished, {3, 3, 0, 0}), "Ничего не найдено · миссий: 3");
}

// The first search is held reading "slow": starting another does not wait for it,
// and nothing the first finds afterwards reaches the rows.
TEST(SearchSession, ANewSearchReplacesOneThatRunsWithoutWaitingForIt)
{
    Gate gate;
    CMissionSearch::Missions first;
    first.push_back(std::make_unique<TestSource>("slow", std::vector<std::string>{"gate_old"}));
    static_cast<TestSource&>(*first[0]).whileRead = gate.Hold();
    CMissionSearchSession session;
    session.Start(std::move(first), Request("gate"), 1252);
    gate.reading.get_future().wait();

    CMissionSearch::Missions second;
    second.push_back(std::make_unique<TestSource>("quick", std::vector<std::string>{"gate_new"}));
    session.Start(std::move(second), Request("gate"), 1252);
    PollToEnd(session);
    gate.release.set_value();
    session.Poll();
    EXPECT_EQ(RowTexts(session), std::vector<std::string>{"quick:gate_new"});
    EXPECT_EQ(session.GetState(), State::kFinished);
}

TEST(SearchSession, AStoppedSearchEndsAsStoppedWithWhatCameBefore)
{
    Gate gate;
    CMissionSearch::Missions missions;
    missions.push_back(std::make_unique<TestSource>("first", std::vector<std::string>{"gate"}));
    missions.push_back(std::make_unique<TestSource>("second", std::vector<std::string>{"gate"}));
    static_cast<TestSource&>(*missions[1]).whileRead = gate.Hold();
    CMissionSearchSession session;
    session.Start(std::move(missions), Request("gate"), 1252);
    gate.reading.get_future().wait();
    session.Stop();
    EXPECT_EQ(session.GetState(), State::kStopping);
    gate.release.set_value();
    PollToEnd(session);
    EXPECT_EQ(session.GetState(), State::kStopped);
    EXPECT_EQ(RowTexts(session), std::vector<std::string>{"first:gate"});
    EXPECT_EQ(SearchStatusText(session.GetState(), session.GetCounts()), "Остановлено · найдено: 1 · миссий: 1 из 2");
}

TEST(SearchSession, APatternThatCannotBeUsedLeavesTheResultsAsTheyWere)
{
    CMissionSearch::Missions missions;
    missions.push_back(std::make_unique<TestSource>("alpha", std::vector<std::string>{"gate"}));
    CMissionSearchSession session;
    session.Start(std::move(missions), Request("gate"), 1252);
    PollToEnd(session);

    CMissionSearch::Missions again;
    again.push_back(std::make_unique<TestSource>("beta", std::vector<std::string>{"gate"}));
    CMissionSearchSession::Request request = Request("(gate");
    request.options.regex = true;
    EXPECT_THROW(session.Start(std::move(again), request, 1252), SearchPatternError);
    EXPECT_EQ(RowTexts(session), std::vector<std::string>{"alpha:gate"});
    EXPECT_EQ(session.GetState(), State::kFinished);
}

// The mission was edited after the search: "crate" inserted before the match, the
// match's own object renamed, or the same name in another list.
TEST(MatchedObject, IsFoundAtItsPlaceByItsNameThenByNameAloneInItsOwnList)
{
    CSceneObjectStore objects;
    objects.AddThing(Thing("barrel"));
    objects.AddThing(Thing("gate"));
    auto data = std::make_unique<CSceneObjectThingData>();
    data->SetName("gate");
    objects.AddThingData(std::move(data));

    SearchMatch match;
    match.list = SearchList::kThings;
    match.index = 1;
    match.object = "gate";
    EXPECT_EQ(FindMatchedObject(objects, match), objects.GetThings()[1].get());
    match.index = 0;  // "barrel" stands there now
    EXPECT_EQ(FindMatchedObject(objects, match), objects.GetThings()[1].get());
    match.index = 7;  // past the list's end
    EXPECT_EQ(FindMatchedObject(objects, match), objects.GetThings()[1].get());
    match.list = SearchList::kThingData;
    EXPECT_EQ(FindMatchedObject(objects, match), objects.GetThingData()[0].get());
    match.list = SearchList::kMissionScripts;
    EXPECT_EQ(FindMatchedObject(objects, match), nullptr);
    match.list = SearchList::kThings;
    objects.GetThings()[1]->SetName("gate_renamed");
    EXPECT_EQ(FindMatchedObject(objects, match), nullptr);
}

}  // namespace
