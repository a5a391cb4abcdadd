#pragma once
// Where a program keeps the state of a user's sessions that should outlive a run
// (the XDG base directory rules): $XDG_STATE_HOME, or ~/.local/state when that is
// unset, empty or not an absolute path. Nothing is created here.

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// The state folder from the environment: XDG_STATE_HOME, then HOME, then the home
// folder of the user's password entry. Nothing when no home can be found.
std::optional<std::filesystem::path> UserStateFolder();

// The same rule on given values (null: unset).
std::optional<std::filesystem::path> UserStateFolder(const char* xdgStateHome, const char* home);

}  // namespace platform
