#include "game/CRefreshPacing.h"

#include <algorithm>

void CRefreshPacing::NoteChange(Clock::time_point now)
{
    if (!firstChange_)
        firstChange_ = now;
    lastChange_ = now;
}

void CRefreshPacing::NoteRefreshed(Clock::time_point now, Clock::duration cost)
{
    firstChange_.reset();
    earliest_ = now + kCostShare * cost;
}

void CRefreshPacing::Clear()
{
    firstChange_.reset();
}

std::optional<CRefreshPacing::Clock::time_point> CRefreshPacing::NextRefresh() const
{
    if (!firstChange_)
        return std::nullopt;
    const Clock::time_point due = std::min(lastChange_ + kQuiet, *firstChange_ + kLongest);
    return std::max(due, earliest_);
}
