#pragma once
// A mission as a recovery copy needs it: the bytes a save of it would write, taken
// on the interface thread (they are read from the mission's objects), with what the
// description records beside them. Once taken, a snapshot shares nothing with the
// mission and may go to another thread.
//
// The bytes stay in the memory buffer they were written into: handing them over
// copies nothing, and a buffer given back after the write takes the next snapshot
// without touching fresh pages.

#include "scene/CMemoryWriteBuffer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CMission;

struct RecoverySnapshot {
    std::string installFolder;  // the game's, as the registry gives it
    std::string missionName;
    std::int64_t takenAt = 0;  // seconds since 1970, UTC
    std::int64_t undoSteps = 0;
    std::unique_ptr<CMemoryWriteBuffer> buffer;  // holds the bytes

    // Exactly what CMission::Save would write to "scene2.bin.Verdax".
    std::string_view Bytes() const { return buffer ? buffer->View() : std::string_view(); }

    // A snapshot of given bytes (tests, tools).
    static RecoverySnapshot Of(std::string installFolder, std::string missionName, std::int64_t takenAt,
                               std::int64_t undoSteps, std::string_view bytes);
};

// Takes `mission` (loaded) now, into `buffer` when one is given (rewound first),
// else into a new one with room for `expectedBytes` (the size of the last snapshot
// of it, so that the buffer need not grow while the file is written). Throws the
// CVerdaxException of the scene file's writer, as a save would.
RecoverySnapshot TakeRecoverySnapshot(CMission& mission, const std::string& installFolder, std::int64_t undoSteps,
                                      std::size_t expectedBytes = 0,
                                      std::unique_ptr<CMemoryWriteBuffer> buffer = nullptr);
