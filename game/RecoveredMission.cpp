#include "game/RecoveredMission.h"

#include "core/CVerdaxException.h"
#include "game/CDravoRoot.h"
#include "game/CMission.h"
#include "game/CRecoveryStore.h"
#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "scene/CMemoryReadBuffer.h"

#include <istream>

namespace {

RecoveredMission Refused(std::string failure)
{
    return {nullptr, std::move(failure)};
}

std::string ReaderFailure(const CVerdaxException& error, const platform::RecordingPresenter& shown)
{
    std::string failure = "копия не читается как файл сцены: ошибка " + std::to_string(error.GetCode());
    for (const auto& message : shown.entries)
        failure += "; " + (message.id == 0 ? platform::ToUtf8(message.text) : message.text);
    return failure;
}

}  // namespace

RecoveredMission ReadRecoveredMission(const CRecoveryStore& store, const RecoveryEntry& entry, const CMission& mission,
                                      CDravoRoot& root)
{
    if (!entry.IsOf(root.GetInstallFolder(), mission.GetName()))
        return Refused("копия восстановления другой миссии");
    if (!mission.IsLoaded())
        return Refused("миссия не загружена");
    RecoveryCopyRead copy = store.ReadCopy(entry);
    if (!copy.failure.empty())
        return Refused(std::move(copy.failure));

    auto recovered = std::make_unique<CMission>(mission.GetName(), &root);
    CMemoryReadBuffer buffer;
    buffer.Reset(copy.bytes);
    std::iostream stream(&buffer);
    platform::RecordingPresenter shown;
    try {
        platform::ScopedPresenter gather(shown);
        recovered->LoadFrom(stream);
    } catch (const CVerdaxException& error) {
        return Refused(ReaderFailure(error, shown));
    }
    return {std::move(recovered), {}};
}
