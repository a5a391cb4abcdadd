#pragma once
// One search of many missions for a pattern, run off the interface thread.
//
// The missions are searched in the order given. Those held in memory (loaded in the
// editor, with their unsaved edits) are searched while the search is made, on the
// calling thread, which owns them; the others are read from their object files and
// searched by a worker thread, one after the other. The outcomes come out in the
// missions' order whichever thread searched them.
//
// Use, on the interface thread:
//
//     CMissionSearch search(CMissionSearch::MissionsOf(root), matcher, fields,
//                           [panel] { /* post a call of panel->TakeResults() */ });
//     ... on each call:  CMissionSearch::Progress progress = search.Take();
//                        show progress.outcomes; if (progress.finished) done
//     ... to end early:  search.RequestStop();  (the destructor stops and waits)
//
// The worker thread shows no messages: a mission that cannot be read gives an
// outcome that says why.

#include "game/CTextMatcher.h"
#include "game/IMissionObjectSource.h"
#include "game/SearchMatch.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class CDravoRoot;

class CMissionSearch {
public:
    using Missions = std::vector<std::unique_ptr<IMissionObjectSource>>;

    // The root's missions in the byte order of their names (as `verdax-tool
    // missions` lists them): those loaded from memory, the others from their object
    // files, whose paths are resolved here.
    static Missions MissionsOf(const CDravoRoot& root);

    // Starts the search. `wake` (may be empty) is called on the worker thread each
    // time Take has more to give, the last time once the search has finished; it
    // must be quick, must not throw and must not call back into the search: post a
    // message or notify a condition. The missions in memory are searched before this
    // returns: their outcomes are there for the first Take.
    CMissionSearch(Missions missions, CTextMatcher matcher, SearchFields fields, std::function<void()> wake = {});
    // Stops the search.
    ~CMissionSearch();
    CMissionSearch(const CMissionSearch&) = delete;
    CMissionSearch& operator=(const CMissionSearch&) = delete;

    struct Progress {
        // The outcomes not given before, in the missions' order: each comes only
        // once those of every mission before it have.
        std::vector<MissionSearchOutcome> outcomes;
        // Nothing more will come: every mission has been searched, or the search
        // was stopped, and everything finished was given.
        bool finished = false;
    };
    // Never blocks.
    Progress Take();

    // Blocks until Take has something to give or the search has finished.
    void Wait();

    // Asks the worker to stop without waiting for it: it stops at the next object
    // (or once the file it is reading is read) and then wakes the caller a last
    // time, with Take's `finished`. A mission whose search had not finished gives no
    // outcome, nor does any after it; those before it are still given by Take.
    void RequestStop();
    // The same, and waits for the worker to end: afterwards `wake` is not called.
    void Stop();

    std::size_t GetMissionCount() const { return missions_.size(); }

private:
    void SearchFiles();
    void SearchOne(std::size_t index);
    bool CanGive() const;  // with mutex_ held

    Missions missions_;
    CTextMatcher matcher_;
    SearchFields fields_;
    std::function<void()> wake_;
    std::atomic<bool> stop_{false};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<MissionSearchOutcome>> outcomes_;  // by mission, once searched
    std::size_t given_ = 0;  // outcomes given by Take so far
    bool workerDone_ = false;

    std::thread worker_;  // last: started once everything else is in place
};
