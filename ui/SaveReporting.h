#pragma once
// Saving a mission from a command. A failed save never ends the program: an error
// that carried a text has been shown where it arose, and one without a text is
// reported here, so that no failed save passes for done.

#include <functional>

namespace ui {

// Runs `save`; true when it returned, false when it threw (the user has been told).
bool SaveReportingFailure(const std::function<void()>& save);

}  // namespace ui
