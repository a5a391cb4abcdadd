#pragma once
// When a view that shows something costly to work out (the changes panel's
// comparison of a whole mission) refreshes after changes. A lone change is shown
// `quiet` after it (150 ms), so a burst of changes (a thing turned with the mouse,
// undo held down) costs one refresh; changes that go on without a pause are shown
// at the latest `longest` after the first of them (500 ms). Whatever the changes,
// a refresh never starts sooner after the last one than `costShare` times what
// that one cost (4: refreshing takes at most a fifth of the time while the user
// edits on). With no change since the last refresh nothing is due.

#include <chrono>
#include <optional>

class CRefreshPacing {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuiet{150};
    static constexpr std::chrono::milliseconds kLongest{500};
    static constexpr int kCostShare = 4;

    // A change at `now`, not yet shown.
    void NoteChange(Clock::time_point now);
    // A refresh ended at `now` after `cost`; the changes noted before it are shown.
    void NoteRefreshed(Clock::time_point now, Clock::duration cost);
    // Forgets the changes noted (the view shows them by other means).
    void Clear();

    bool HasChanges() const { return firstChange_.has_value(); }
    // When the next refresh is due; none when no change waits.
    std::optional<Clock::time_point> NextRefresh() const;

private:
    std::optional<Clock::time_point> firstChange_;
    Clock::time_point lastChange_{};
    Clock::time_point earliest_{};  // the last refresh's end plus its share
};
