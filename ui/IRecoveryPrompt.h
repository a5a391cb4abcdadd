#pragma once
// The question asked at start-up when editors that are gone left recovery copies
// of this game's missions: restore them, remove them, or keep them for the next
// start. The editor asks it through this interface, so that tests can answer it.

#include <QDateTime>
#include <QString>

#include <vector>

namespace ui {

enum class RecoveryAnswer {
    Restore,  // "Восстановить": each mission loaded and its copy taken as its state
    Remove,   // "Удалить": every listed copy removed
    Later,    // "Позже": nothing changes; offered again at the next start
};

struct RecoveryOfferLine {
    QString mission;  // as shown
    QDateTime savedAt;
    bool missionGone = false;  // its folder is no longer in the game: it can only be removed
};

class IRecoveryPrompt {
public:
    virtual ~IRecoveryPrompt() = default;

    virtual RecoveryAnswer Ask(const std::vector<RecoveryOfferLine>& copies) = 0;
};

}  // namespace ui
