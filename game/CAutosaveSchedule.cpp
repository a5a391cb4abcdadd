#include "game/CAutosaveSchedule.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

CAutosaveSchedule::CAutosaveSchedule(Clock::duration interval, Clock::duration idleDelay)
    : interval_(interval), idleDelay_(idleDelay)
{
}

CAutosaveSchedule::Clock::duration CAutosaveSchedule::IntervalFromEnvironment()
{
    return IntervalFrom(std::getenv("VERDAX_AUTOSAVE_S"));
}

CAutosaveSchedule::Clock::duration CAutosaveSchedule::IntervalFrom(const char* seconds)
{
    if (seconds == nullptr)
        return kDefaultInterval;
    const char* end = seconds + std::strlen(seconds);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(seconds, end, value);
    // Up to a day: beyond that a copy would no longer protect anything.
    if (error != std::errc() || stop != end || stop == seconds || !std::isfinite(value) || value <= 0.0 ||
        value > 86400.0)
        return kDefaultInterval;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(value));
}

void CAutosaveSchedule::NoteEdit(Clock::time_point now)
{
    if (!firstEdit_)
        firstEdit_ = now;
    lastEdit_ = std::max(lastEdit_, now);
}

void CAutosaveSchedule::NoteWritten()
{
    firstEdit_.reset();
}

std::optional<CAutosaveSchedule::Clock::time_point> CAutosaveSchedule::NextWrite() const
{
    if (!firstEdit_)
        return std::nullopt;
    return std::min(*firstEdit_ + interval_, lastEdit_ + idleDelay_);
}

bool CAutosaveSchedule::IsDue(Clock::time_point now) const
{
    const auto next = NextWrite();
    return next && now >= *next;
}
