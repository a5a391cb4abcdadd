// The description of a recovery entry: a text of our own, but read back from a folder
// anyone with the user's rights may have changed. What it reads must write out and
// read back the same.

#include "fuzz/FuzzSupport.h"
#include "game/RecoveryEntry.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RecoveryDescriptionRead read = ParseRecoveryDescription(text);
    fuzz::Consume(read.failure);
    if (!read.entry)
        return 0;
    const RecoveryEntry& entry = *read.entry;
    fuzz::Consume(RecoverySlotName(entry.installFolder, entry.missionName));
    const RecoveryDescriptionRead again = ParseRecoveryDescription(FormatRecoveryDescription(entry));
    if (!again.entry || again.entry->installFolder != entry.installFolder ||
        again.entry->missionName != entry.missionName || again.entry->writer != entry.writer ||
        again.entry->copy != entry.copy || again.entry->copyHash != entry.copyHash)
        std::abort();
    return 0;
}
