#pragma once
// The editor's search across every mission, as its panel shows it: one search at a
// time, whose results gather in one list while it runs. Lives on the interface
// thread; only `wake` is called from another.
//
// A new search replaces the one running: the old one is asked to stop and finishes
// in the background, its late outcomes dropped, so that starting never waits for a
// file being read. Stopping waits for nothing either: the search ends at its next
// object and Poll then tells it ended. The session's end stops and waits for every
// search it started, after which `wake` is never called again.
//
// Results keep no pointer into a mission: a match names its object by list, place
// and name (FindMatchedObject finds it again), so missions may be edited, and
// objects come and go, while a search runs or after it ended.

#include "game/CMissionSearch.h"
#include "game/CTextMatcher.h"
#include "game/SearchMatch.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

// One row of the results: a match, or a mission whose objects could not be read.
struct SearchResultRow {
    static constexpr std::size_t kNoMatch = std::numeric_limits<std::size_t>::max();

    std::size_t outcome = 0;     // in CMissionSearchSession::Outcomes()
    std::size_t match = kNoMatch;  // in that outcome's matches; kNoMatch for one not read
};

class CMissionSearchSession {
public:
    enum class State { kIdle, kRunning, kStopping, kFinished, kStopped };

    struct Request {
        std::string pattern;  // UTF-8, as typed
        CTextMatcher::Options options;
        SearchFields fields;
    };

    struct Counts {
        std::size_t missions = 0;  // to search
        std::size_t searched = 0;  // whose outcome has come, read or not
        std::size_t unread = 0;    // of those, the ones whose objects could not be read
        std::size_t matches = 0;
    };

    // `wake` is called, on any thread, whenever Poll has something new to take; it
    // must be quick and must not throw (post a message to the interface thread).
    explicit CMissionSearchSession(std::function<void()> wake = {});
    ~CMissionSearchSession();
    CMissionSearchSession(const CMissionSearchSession&) = delete;
    CMissionSearchSession& operator=(const CMissionSearchSession&) = delete;

    // Clears the results and searches `missions` (CMissionSearch::MissionsOf); those in
    // memory are searched before this returns, and their rows are there for the next
    // Poll. Throws SearchPatternError for a pattern that cannot be used, leaving the
    // search that runs and its results as they were. `codePage` is the game's.
    void Start(CMissionSearch::Missions missions, const Request& request, int codePage);

    // Takes what the search has found since the last call, appending it to Rows();
    // returns how many rows came. Ends searches replaced or stopped that have ended.
    std::size_t Poll();

    // Asks the running search to stop; it becomes kStopped at the Poll that sees it end.
    void Stop();

    State GetState() const { return state_; }
    bool IsRunning() const { return state_ == State::kRunning || state_ == State::kStopping; }
    const Counts& GetCounts() const { return counts_; }
    const std::vector<SearchResultRow>& Rows() const { return rows_; }
    const std::vector<MissionSearchOutcome>& Outcomes() const { return outcomes_; }
    const MissionSearchOutcome& OutcomeOf(const SearchResultRow& row) const { return outcomes_[row.outcome]; }
    // Null for the row of a mission that could not be read.
    const SearchMatch* MatchOf(const SearchResultRow& row) const;

private:
    void Append(MissionSearchOutcome outcome);
    void EndRetired();

    std::function<void()> wake_;
    State state_ = State::kIdle;
    Counts counts_;
    std::vector<MissionSearchOutcome> outcomes_;
    std::vector<SearchResultRow> rows_;
    // Destroyed before `wake_`, which their workers call: each waits for its worker.
    std::vector<std::unique_ptr<CMissionSearch>> retired_;  // asked to stop, not yet ended
    std::unique_ptr<CMissionSearch> search_;
};
