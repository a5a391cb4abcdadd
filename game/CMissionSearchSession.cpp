#include "game/CMissionSearchSession.h"

#include <utility>

CMissionSearchSession::CMissionSearchSession(std::function<void()> wake) : wake_(std::move(wake)) {}

// The searches first: their workers call `wake_` until they end.
CMissionSearchSession::~CMissionSearchSession()
{
    search_.reset();
    retired_.clear();
}

void CMissionSearchSession::Start(CMissionSearch::Missions missions, const Request& request, int codePage)
{
    CTextMatcher matcher(request.pattern, request.options, codePage);  // throws before anything changes
    if (search_) {
        search_->RequestStop();
        retired_.push_back(std::move(search_));
    }
    outcomes_.clear();
    rows_.clear();
    counts_ = Counts{};
    counts_.missions = missions.size();
    state_ = State::kRunning;
    search_ = std::make_unique<CMissionSearch>(std::move(missions), std::move(matcher), request.fields, wake_);
}

std::size_t CMissionSearchSession::Poll()
{
    EndRetired();
    if (!search_)
        return 0;
    const std::size_t before = rows_.size();
    CMissionSearch::Progress progress = search_->Take();
    for (MissionSearchOutcome& outcome : progress.outcomes)
        Append(std::move(outcome));
    if (progress.finished) {
        state_ = state_ == State::kStopping ? State::kStopped : State::kFinished;
        search_.reset();  // its worker is past its last wake: no wait
    }
    return rows_.size() - before;
}

void CMissionSearchSession::Stop()
{
    if (state_ != State::kRunning)
        return;
    search_->RequestStop();
    state_ = State::kStopping;
}

const SearchMatch* CMissionSearchSession::MatchOf(const SearchResultRow& row) const
{
    const MissionSearchOutcome& outcome = OutcomeOf(row);
    return row.match < outcome.matches.size() ? &outcome.matches[row.match] : nullptr;
}

void CMissionSearchSession::Append(MissionSearchOutcome outcome)
{
    const std::size_t index = outcomes_.size();
    ++counts_.searched;
    if (!outcome.read) {
        ++counts_.unread;
        rows_.push_back({index, SearchResultRow::kNoMatch});
    }
    for (std::size_t i = 0; i < outcome.matches.size(); ++i)
        rows_.push_back({index, i});
    counts_.matches += outcome.matches.size();
    outcomes_.push_back(std::move(outcome));
}

// A replaced search has said its last word once Take tells it finished; what it
// gives before that belongs to no one.
void CMissionSearchSession::EndRetired()
{
    std::erase_if(retired_, [](const std::unique_ptr<CMissionSearch>& search) { return search->Take().finished; });
}
