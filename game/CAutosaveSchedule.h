#pragma once
// When the editor writes its recovery copies. Edits not yet in a copy are written
// at the latest `interval` after the first of them (60 s, or VERDAX_AUTOSAVE_S),
// and earlier once the editor has been idle for `idleDelay` (5 s) after the last,
// whichever comes first; with no such edit nothing is due. The editor asks
// NextWrite after each change, runs a timer to that moment, and then writes every
// mission that changed since its last copy.

#include <chrono>
#include <optional>

class CAutosaveSchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kDefaultInterval{60};
    static constexpr std::chrono::seconds kIdleDelay{5};

    explicit CAutosaveSchedule(Clock::duration interval = IntervalFromEnvironment(),
                               Clock::duration idleDelay = kIdleDelay);

    // VERDAX_AUTOSAVE_S: a positive number of seconds, fractions allowed; the
    // default when unset or not such a number.
    static Clock::duration IntervalFromEnvironment();
    static Clock::duration IntervalFrom(const char* seconds);

    // An edit at `now`, not yet in a copy.
    void NoteEdit(Clock::time_point now);
    // The copies were taken at `now`: the edits noted before are in them.
    void NoteWritten();

    // When the next write is due; nothing while no edit waits for a copy.
    std::optional<Clock::time_point> NextWrite() const;
    bool IsDue(Clock::time_point now) const;

    Clock::duration Interval() const { return interval_; }

private:
    Clock::duration interval_;
    Clock::duration idleDelay_;
    std::optional<Clock::time_point> firstEdit_;
    Clock::time_point lastEdit_{};
};
