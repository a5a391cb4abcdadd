#include "game/RecoverySnapshot.h"

#include "game/CMission.h"

#include <chrono>
#include <istream>

namespace {

std::int64_t Now()
{
    const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(since1970).count();
}

}  // namespace

RecoverySnapshot RecoverySnapshot::Of(std::string installFolder, std::string missionName, std::int64_t takenAt,
                                      std::int64_t undoSteps, std::string_view bytes)
{
    auto buffer = std::make_unique<CMemoryWriteBuffer>();
    buffer->Reset(bytes.size());
    buffer->sputn(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return {std::move(installFolder), std::move(missionName), takenAt, undoSteps, std::move(buffer)};
}

RecoverySnapshot TakeRecoverySnapshot(CMission& mission, const std::string& installFolder, std::int64_t undoSteps,
                                      std::size_t expectedBytes, std::unique_ptr<CMemoryWriteBuffer> buffer)
{
    if (!buffer)
        buffer = std::make_unique<CMemoryWriteBuffer>();
    buffer->Reset(expectedBytes + expectedBytes / 8);  // an earlier copy's memory serves when large enough
    std::iostream stream(buffer.get());
    mission.SaveTo(stream);
    return {installFolder, mission.GetName(), Now(), undoSteps, std::move(buffer)};
}
