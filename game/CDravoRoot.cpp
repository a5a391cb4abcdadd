#include "game/CDravoRoot.h"

#include "core/CVerdaxException.h"
#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/WaitCursor.h"

#include <algorithm>

namespace {

constexpr std::string_view kRegistryKey = "Software\\Kestrel Works\\Dravo";
constexpr std::string_view kRegistryValue = "idir";

// The name of a folder entry: its path after the last backslash, else after the
// last slash, else the whole path.
std::string EntryName(const std::string& path)
{
    std::size_t separator = path.rfind('\\');
    if (separator == std::string::npos)
        separator = path.rfind('/');
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

CDravoRoot::CDravoRoot(CDravoDon* mediator) : mediator_(mediator) {}

// The missions go first: the install folder outlives them.
CDravoRoot::~CDravoRoot()
{
    missions_.clear();
}

std::string CDravoRoot::ReadInstallFolder()
{
    auto folder = platform::Registry().ReadMachineString(kRegistryKey, kRegistryValue);
    if (!folder)
        throw CVerdaxException(VERDAX_ERR_REGISTRY);
    folder->resize(std::min(folder->size(), folder->find('\0')));
    return *folder;
}

void CDravoRoot::Load()
{
    if (loaded_)
        return;
    try {
        SetInstallFolder(ReadInstallFolder());
    } catch (...) {
        ShowStringMessage(IDS_ERR_REGISTRY);
        return;
    }
    platform::WaitCursorScope wait;
    ListMissions();
    if (IMissionTree* tree = mediator_ ? mediator_->GetMissionTree() : nullptr) {
        for (const auto& mission : missions_)
            tree->AddMission(mission.get());
    }
    if (mediator_)
        mediator_->OpenView(DON_VIEW_WORLD, nullptr);
    loaded_ = true;
}

void CDravoRoot::ListMissions()
{
    for (const auto& entry : platform::FileSystem().List(GetMissionsFolder())) {
        if (!entry.isDirectory)
            continue;
        const std::string name = EntryName(entry.path);
        if (name != "." && name != "..")
            CreateMission(name);
    }
}

CMission* CDravoRoot::CreateMission(const std::string& name)
{
    missions_.push_back(std::make_unique<CMission>(name, this));
    return missions_.back().get();
}

bool CDravoRoot::LoadMission(CVerdaxData* object)
{
    auto* mission = dynamic_cast<CMission*>(object);
    if (!mission) {
        ShowStringMessage(IDS_ERR_FOREIGN);
        return false;
    }
    platform::WaitCursorScope wait;
    try {
        mission->Load();
    } catch (const CVerdaxException&) {
        ShowStringMessage(IDS_ERR_MISSION_LOAD);
        return false;
    } catch (...) {
        ShowStringMessage(IDS_ERR_FOREIGN);
        return false;
    }
    return true;
}

CMission* CDravoRoot::FindMission(std::string_view name) const
{
    const std::string folded = platform::FoldCaseAnsi(name);
    CMission* differingInCase = nullptr;
    int differingCount = 0;
    for (const auto& mission : missions_) {
        if (mission->GetName() == name)
            return mission.get();
        if (platform::FoldCaseAnsi(mission->GetName()) == folded) {
            differingInCase = mission.get();
            ++differingCount;
        }
    }
    return differingCount == 1 ? differingInCase : nullptr;
}

CMission* CDravoRoot::FindMissionOf(const CVerdaxData* object) const
{
    for (const auto& mission : missions_) {
        if (mission.get() == object || mission->Owns(object))
            return mission.get();
    }
    return nullptr;
}
