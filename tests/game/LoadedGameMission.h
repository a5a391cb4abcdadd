#pragma once
// A game in a test Wine prefix with one mission "Mise01" (two things, the thing
// data of one with a script, a mission script), the process's file system pointed
// at the prefix and the mission loaded from the game's folder as the editor loads it.

#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "platform/FileSystem.h"
#include "tests/game/TestGamePrefix.h"
#include "tests/support/ByteWriter.h"

#include <memory>
#include <string>

namespace testsupport {

inline std::string TwoThingScene()
{
    return ByteWriter()
        .Chunk(0x4C53,
               [](ByteWriter& w) {
                   w.Chunk(0x4000, [](ByteWriter& l) {
                       for (const char* name : {"door", "lamp"})
                           l.Chunk(0x4010, [name](ByteWriter& t) {
                               t.ChunkText(0x0010, name);
                               t.Header(0x0020, 18).F32(1.0f).F32(2.0f).F32(3.0f);
                           });
                   });
                   w.Chunk(0xAE20, [](ByteWriter& l) {
                       l.Chunk(0xAE21, [](ByteWriter& d) {
                           d.ChunkU32(0xAE22, 5).ChunkText(0xAE23, "door").Chunk(0xAE24, [](ByteWriter& c) {
                               c.U32(0).U32(0).U16(0).Counted("open");
                           });
                       });
                   });
                   w.Chunk(0xAE50, [](ByteWriter& l) {
                       l.Chunk(0xAE51, [](ByteWriter& s) { s.U8(1).Counted("start").Counted("x"); });
                   });
               })
        .Str();
}

class LoadedGameMission {
public:
    LoadedGameMission()
    {
        prefix.AddFile("Missions/Mise01/scene2.bin", TwoThingScene());
        platform::SetFileSystem(&files);
        root.SetInstallFolder(std::string(TestGamePrefix::kInstallFolder));
        mission = Load();
    }
    ~LoadedGameMission() { platform::SetFileSystem(nullptr); }

    // The mission as a new editor loads it from the game's folder.
    std::unique_ptr<CMission> Load()
    {
        auto loaded = std::make_unique<CMission>("Mise01", &root);
        loaded->Load();
        return loaded;
    }
    std::filesystem::path MissionFolder() const { return prefix.Game() / "Missions" / "Mise01"; }

    TestGamePrefix prefix;
    platform::CWineFileSystem files{prefix.Path()};
    CDravoRoot root;
    std::unique_ptr<CMission> mission;
};

}  // namespace testsupport
