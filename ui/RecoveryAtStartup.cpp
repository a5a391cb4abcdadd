#include "ui/RecoveryAtStartup.h"

#include "core/CVerdaxException.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CRecoveryStore.h"
#include "game/CStructureEdit.h"
#include "game/RecoveredMission.h"
#include "game/RecoveryEdit.h"
#include "platform/MessagePresenter.h"
#include "ui/CItemTreeView.h"
#include "ui/CodePageText.h"
#include "ui/IRecoveryPrompt.h"

#include <QDateTime>

#include <set>

namespace ui {
namespace {

struct OfferedCopy {
    RecoveryEntry entry;
    bool missionGone;
};

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

std::string MissionText(const std::string& name)
{
    return Utf8(TextFromCodePage(name));
}

void ReportUnreadable(const std::vector<UnreadableRecoveryEntry>& unreadable)
{
    if (unreadable.empty())
        return;
    std::string text = "Копии восстановления не читаются и отложены (не удалены):\n";
    for (const UnreadableRecoveryEntry& moved : unreadable)
        text += "\n" + moved.movedTo.string() + ": " + moved.reason;
    platform::Presenter().ShowMessage(0, text);
}

CMission* MissionNamed(CDravoDon& don, const std::string& name)
{
    for (const auto& mission : don.GetRoot().GetMissions()) {
        if (mission->GetName() == name)
            return mission.get();
    }
    return nullptr;
}

QTreeWidgetItem* MissionItem(CItemTreeView& tree, const CMission* mission)
{
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        auto* item = static_cast<CItemTreeItem*>(tree.topLevelItem(i));
        if (item->GetObject() == mission)
            return item;
    }
    return nullptr;
}

class Restoration {
public:
    Restoration(CRecoveryStore& store, CDravoDon& don) : store_(store), don_(don) {}

    // The copy's objects as its mission's state; null when not restored (a
    // failure is noted).
    CMission* Restore(const RecoveryEntry& entry)
    {
        CMission* mission = MissionNamed(don_, entry.missionName);
        const std::string name = MissionText(entry.missionName);
        if (!mission) {
            failures_.push_back(name + ": миссии нет в игре");
            return nullptr;
        }
        if (!mission->IsLoaded() && !don_.GetRoot().LoadMission(mission)) {
            failures_.push_back(name + ": миссия не загружена из папки игры; копия оставлена");
            return nullptr;
        }
        RecoveredMission recovered = ReadRecoveredMission(store_, entry, *mission, don_.GetRoot());
        if (!recovered.objects) {
            if (const auto moved = store_.MoveAside(entry, recovered.failure))
                unreadable_.push_back(*moved);
            else
                failures_.push_back(name + ": " + recovered.failure);
            return nullptr;
        }
        // Reading the mission's own save back should never fail; if it does, the
        // mission stays as loaded and the copy is kept.
        try {
            don_.ApplyStructureEdit(MakeRecoveryEdit(*mission, *recovered.objects));
        } catch (const CVerdaxException& error) {
            failures_.push_back(name + ": не восстановлена (ошибка " + std::to_string(error.GetCode()) +
                                "); копия оставлена");
            return nullptr;
        }
        if (const RecoveryOutcome adopted = store_.Adopt(entry); !adopted.done)
            failures_.push_back(name + ": восстановлена, но копия не перешла к этому редактору: " + adopted.failure);
        return mission;
    }

    void Report() const
    {
        ReportUnreadable(unreadable_);
        if (failures_.empty())
            return;
        std::string text = "Не всё восстановлено:\n";
        for (const std::string& failure : failures_)
            text += "\n" + failure;
        platform::Presenter().ShowMessage(0, text);
    }

private:
    CRecoveryStore& store_;
    CDravoDon& don_;
    std::vector<UnreadableRecoveryEntry> unreadable_;
    std::vector<std::string> failures_;
};

void RestoreAll(CRecoveryStore& store, CDravoDon& don, CItemTreeView* tree, const std::vector<OfferedCopy>& copies)
{
    Restoration restoration(store, don);
    std::set<std::string> restored;  // newest first: an older copy of the same mission is kept
    CMission* first = nullptr;
    for (const OfferedCopy& copy : copies) {
        if (copy.missionGone || restored.contains(copy.entry.missionName))
            continue;
        CMission* mission = restoration.Restore(copy.entry);
        if (!mission)
            continue;
        restored.insert(copy.entry.missionName);
        if (QTreeWidgetItem* item = tree ? MissionItem(*tree, mission) : nullptr)
            tree->OpenMissionItem(item);
        first = first ? first : mission;
    }
    if (tree && first)
        tree->SelectObject(first);
    restoration.Report();
}

void RemoveAll(CRecoveryStore& store, const std::vector<OfferedCopy>& copies)
{
    std::string failures;
    for (const OfferedCopy& copy : copies) {
        if (const RecoveryOutcome removed = store.Remove(copy.entry); !removed.done)
            failures += "\n" + MissionText(copy.entry.missionName) + ": " + removed.failure;
    }
    if (!failures.empty())
        platform::Presenter().ShowMessage(0, "Не все копии восстановления удалены:\n" + failures);
}

}  // namespace

void OfferRecovery(CRecoveryStore& store, CDravoDon& don, CItemTreeView* tree, IRecoveryPrompt& prompt)
{
    const RecoveryListing listing = store.List(don.GetRoot().GetInstallFolder());
    ReportUnreadable(listing.movedAside);
    if (listing.left.empty())
        return;
    std::vector<OfferedCopy> copies;
    std::vector<RecoveryOfferLine> lines;
    for (const RecoveryEntry& entry : listing.left) {
        const bool gone = !CRecoveryStore::MissionFolderExists(entry);
        copies.push_back({entry, gone});
        lines.push_back({TextFromCodePage(entry.missionName), QDateTime::fromSecsSinceEpoch(entry.savedAt), gone});
    }
    switch (prompt.Ask(lines)) {
    case RecoveryAnswer::Restore: RestoreAll(store, don, tree, copies); break;
    case RecoveryAnswer::Remove: RemoveAll(store, copies); break;
    case RecoveryAnswer::Later: break;
    }
}

}  // namespace ui
