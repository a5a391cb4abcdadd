#include "game/CMissionSearch.h"

#include "core/CVerdaxException.h"
#include "game/CDravoRoot.h"
#include "game/CLoadedMissionSource.h"
#include "game/CMission.h"
#include "game/CMissionFileSource.h"
#include "game/ObjectSearch.h"
#include "platform/MessagePresenter.h"

#include <algorithm>
#include <exception>
#include <utility>

CMissionSearch::Missions CMissionSearch::MissionsOf(const CDravoRoot& root)
{
    std::vector<const CMission*> listed;
    for (const auto& mission : root.GetMissions())
        listed.push_back(mission.get());
    std::ranges::sort(listed, {}, [](const CMission* mission) { return mission->GetName(); });
    Missions missions;
    for (const CMission* mission : listed) {
        if (mission->IsLoaded())
            missions.push_back(std::make_unique<CLoadedMissionSource>(*mission));
        else
            missions.push_back(CMissionFileSource::ForMission(*mission));
    }
    return missions;
}

CMissionSearch::CMissionSearch(Missions missions, CTextMatcher matcher, SearchFields fields,
                               std::function<void()> wake)
    : missions_(std::move(missions)),
      matcher_(std::move(matcher)),
      fields_(fields),
      wake_(std::move(wake)),
      outcomes_(missions_.size())
{
    worker_ = std::thread(&CMissionSearch::SearchFiles, this);
    for (std::size_t i = 0; i < missions_.size(); ++i) {
        if (missions_[i]->IsInMemory())
            SearchOne(i);
    }
}

CMissionSearch::~CMissionSearch()
{
    Stop();
}

void CMissionSearch::RequestStop()
{
    stop_ = true;
}

void CMissionSearch::Stop()
{
    RequestStop();
    if (worker_.joinable())
        worker_.join();
}

// The worker: a reader's error raised with a text would show it at once, and the
// process's presenter belongs to the interface thread.
void CMissionSearch::SearchFiles()
{
    platform::SilentPresenter silent;
    const platform::ScopedThreadPresenter presenter(silent);
    for (std::size_t i = 0; i < missions_.size() && !stop_; ++i) {
        if (missions_[i]->IsInMemory())
            continue;
        SearchOne(i);
        if (wake_)
            wake_();
    }
    {
        const std::lock_guard lock(mutex_);
        workerDone_ = true;
    }
    changed_.notify_all();
    if (wake_)
        wake_();
}

// An error of one mission is that mission's outcome; the search goes on.
void CMissionSearch::SearchOne(std::size_t index)
{
    IMissionObjectSource& source = *missions_[index];
    MissionSearchOutcome outcome;
    outcome.mission = source.GetMissionName();
    bool complete = true;
    try {
        const ISceneFileOwner& objects = source.GetObjects();
        outcome.read = true;
        complete = SearchObjects(objects, matcher_, fields_, outcome.matches, &stop_);
    } catch (const CVerdaxException& error) {
        outcome.errorCode = error.GetCode();
        outcome.errorText = error.GetText();
    } catch (const std::exception& error) {
        outcome.errorCode = VERDAX_ERR_FOREIGN;
        outcome.errorText = error.what();
    } catch (...) {
        outcome.errorCode = VERDAX_ERR_FOREIGN;
    }
    source.Release();
    if (!complete)
        return;
    {
        const std::lock_guard lock(mutex_);
        outcomes_[index] = std::move(outcome);
    }
    changed_.notify_all();
}

bool CMissionSearch::CanGive() const
{
    return given_ < outcomes_.size() && outcomes_[given_].has_value();
}

CMissionSearch::Progress CMissionSearch::Take()
{
    Progress progress;
    const std::lock_guard lock(mutex_);
    for (; CanGive(); ++given_)
        progress.outcomes.push_back(std::move(*outcomes_[given_]));
    progress.finished = workerDone_;
    return progress;
}

void CMissionSearch::Wait()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return workerDone_ || CanGive(); });
}
