#pragma once
// A Wine prefix as the tests need it: dosdevices/c: leading to drive_c, the game
// installed under C:\Games\Dravo\, and a system.reg (written here in Wine's format)
// that names the install folder, or one without the game's key.

#include "tests/support/TempDir.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

class TestGamePrefix {
public:
    TestGamePrefix()
    {
        std::filesystem::create_directories(dir_.Path() / "dosdevices");
        std::filesystem::create_directories(Game());
        std::filesystem::create_directory_symlink("../drive_c", dir_.Path() / "dosdevices" / "c:");
    }

    const std::filesystem::path& Path() const { return dir_.Path(); }

    // The install folder on disk, and as the registry names it.
    std::filesystem::path Game() const { return dir_.Path() / "drive_c" / "Games" / "Dravo"; }
    static constexpr std::string_view kInstallFolder = "C:\\Games\\Dravo\\";

    // system.reg naming kInstallFolder under the game's key (in a 64-bit prefix, where
    // Wine keeps a 32-bit program's key under Wow6432Node).
    void WriteRegistry() const
    {
        WriteSystemReg("[Software\\\\Wow6432Node\\\\Kestrel Works\\\\Dravo] 1700000000\n"
                       "#time=1da0b6c8d2e4f00\n"
                       "\"idir\"=\"C:\\\\Games\\\\Dravo\\\\\"\n");
    }

    // system.reg with other keys only.
    void WriteRegistryWithoutGame() const
    {
        WriteSystemReg("[Software\\\\Wine] 1700000000\n\"Version\"=\"win10\"\n");
    }

    void AddMissionFolder(std::string_view name) const
    {
        std::filesystem::create_directories(Game() / "Missions" / name);
    }

    void AddFile(const std::filesystem::path& relative, std::string_view bytes = {}) const
    {
        dir_.Write(Game() / relative, bytes);
    }

    // system.reg with the given key blocks, as Wine writes them.
    void WriteSystemReg(std::string_view keys) const
    {
        dir_.Write("system.reg", "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" +
                                     std::string(keys) + "\n");
    }

private:
    TempDir dir_;
};

}  // namespace testsupport
