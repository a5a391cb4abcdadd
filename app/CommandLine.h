#pragma once
// The editor's command line: verdax [--prefix DIR] [MISSION], --help, --version.
// It is read before the application object exists, so that the help, the version
// and a wrong command line need no display and open no window.

#include <optional>
#include <span>
#include <string>
#include <string_view>

class CVerdaxApp;

struct CommandLine {
    enum class Action { Run, Help, Version, Usage };

    Action action = Action::Run;
    std::optional<std::string> prefix;   // --prefix: the Wine prefix, in place of $WINEPREFIX
    std::optional<std::string> mission;  // the mission to open at start-up, as typed (UTF-8)
    std::string error;                   // Usage: what is wrong, for the user
};

// Reads the arguments after the program's name, left to right: the first of --help,
// --version or a mistake decides. "--" ends the options, so a mission whose name
// starts with '-' can be named; a lone "-" is a name.
CommandLine ParseCommandLine(std::span<const std::string_view> args);

// The text of --help, which the manual page is made from.
std::string CommandLineHelp();

// Puts a Run command line into effect before start-up: the prefix becomes
// $WINEPREFIX (as an absolute path, as Wine wants it) and the mission is handed to
// the application to open once the game is loaded.
void ApplyCommandLine(const CommandLine& line, CVerdaxApp& app);
