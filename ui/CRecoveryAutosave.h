#pragma once
// The editor's recovery copies of missions with unsaved edits (CRecoveryStore.h):
// when a mission's history moves and leaves it modified, a copy is due by the
// autosave schedule (CAutosaveSchedule.h: 60 s after the first edit not yet in a
// copy, or VERDAX_AUTOSAVE_S, and 5 s after the last); a timer on the interface
// thread then takes in the text typed in the focused script window, takes every
// such mission's bytes and hands them to the writer thread (CRecoveryWriter.h),
// which writes them. Typing in a script window counts as an edit for the schedule
// (WatchTyping), so a script being written is copied too. When a mission becomes unmodified (saved, or undone back to
// what is saved) its copy is removed at once, and leaving the editor removes every
// copy of this editor ("Не сохранять" in the close question drops the edits with
// their copies). Nothing is written anywhere but the store's folder.
//
// Without a store folder (no home folder) there are no copies.

#include "game/CAutosaveSchedule.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CDravoDon;
class CMission;
class CRecoveryStore;
class CRecoveryWriter;
class QPlainTextEdit;

namespace ui {

class CEditHistory;

class CRecoveryAutosave {
public:
    // Follows `history` (installed with its SetHistoryChanged) for `don`'s missions;
    // writes into `folder` (none: no copies).
    CRecoveryAutosave(CEditHistory& history, CDravoDon& don, std::optional<std::filesystem::path> folder,
                      CAutosaveSchedule schedule = CAutosaveSchedule());
    ~CRecoveryAutosave();
    CRecoveryAutosave(const CRecoveryAutosave&) = delete;
    CRecoveryAutosave& operator=(const CRecoveryAutosave&) = delete;

    // The store the copies go into; null without one.
    CRecoveryStore* Store() const { return store_.get(); }

    // Copies of the modified missions whose edits are not in one yet, now (as the
    // timer does when they are due).
    void WriteDue();
    // Typing in `editor` (a script window) counts as an edit for the schedule: its
    // text is taken in when the copies are due.
    void WatchTyping(QPlainTextEdit* editor);
    // Leaving the editor: every copy this editor wrote is removed, and none is due.
    void RemoveOwnCopies();
    // Returns once the writer has carried out every write and removal asked for.
    void WaitUntilWritten();

    // Where a failed write or removal is told (UTF-8 reason in the text); on the
    // interface thread.
    void SetReport(std::function<void(const QString&)> report) { report_ = std::move(report); }

    // Whether a copy is due, and when (tests).
    bool IsTimerRunning() const { return timer_.isActive(); }

private:
    void OnHistoryChanged(CMission* mission);
    void Arm();
    void OnTimer();
    void TakeInScriptText();
    void Report(const QString& text);

    CEditHistory& history_;
    CDravoDon& don_;
    CAutosaveSchedule schedule_;
    std::vector<CMission*> pending_;  // modified since their last copy
    std::function<void(const QString&)> report_;
    QTimer timer_;  // before the writer: the writer's results are posted to it
    std::unique_ptr<CRecoveryStore> store_;
    std::unique_ptr<CRecoveryWriter> writer_;
};

}  // namespace ui
