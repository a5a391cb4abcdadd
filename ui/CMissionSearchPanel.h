#pragma once
// The search across every mission of the game ("Найти во всех миссиях"): the
// pattern, where to look (names, models, scripts, sectors), "регулярное выражение"
// and "учитывать регистр", the buttons "Найти" and "Остановить", a line counting
// what was found, and the result list, which fills while the search runs.
//
// Missions loaded in the editor are searched as they are in memory, with their
// unsaved edits, the others from their object files on a worker thread, so the
// window never waits for a file. Enter in the pattern or "Найти" starts a search
// (replacing one that runs), Escape or "Остановить" stops it. A pattern that cannot
// be used is explained in the count line and nothing starts. Double-click or Enter
// on a result goes to it (SetActivate).

#include "game/CMissionSearchSession.h"

#include <QElapsedTimer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeView;

namespace ui {

class CSearchResultModel;

class CMissionSearchPanel final : public QWidget {
public:
    // Runs a command that reads the missions once the editors' pending text has gone
    // into their objects; nothing when that failed.
    using MissionCommand = std::function<void(const std::function<void()>& command)>;
    // The missions to search, in their order (CMissionSearch::MissionsOf).
    using MissionList = std::function<CMissionSearch::Missions()>;
    // Goes to a result: its mission's name, and the match or null for a mission that
    // could not be read. Both are copies: what the handler does (a message box's
    // event loop) may let more results in, which moves the session's own.
    using Activate = std::function<void(const std::string& mission, const SearchMatch* match)>;

    explicit CMissionSearchPanel(QWidget* parent = nullptr);
    ~CMissionSearchPanel() override;

    void SetMissionCommand(MissionCommand command) { missionCommand_ = std::move(command); }
    void SetActivate(Activate activate) { activate_ = std::move(activate); }
    // By default the missions of the mediator's game root.
    void SetMissionList(MissionList missions) { missions_ = std::move(missions); }

    // "Найти": a new search of the mediator's missions with what the controls hold.
    void StartSearch();
    // "Остановить".
    void StopSearch();
    // The pattern field, focused with its text selected.
    void FocusPattern();

    const CMissionSearchSession& Session() const { return *session_; }
    CSearchResultModel* Results() const { return model_; }

    QLineEdit* PatternField() const { return pattern_; }
    QCheckBox* FieldBox(SearchField field) const;
    QCheckBox* RegexBox() const { return regex_; }
    QCheckBox* CaseBox() const { return case_; }
    QPushButton* FindButton() const { return find_; }
    QPushButton* StopButton() const { return stop_; }
    QLabel* StatusLine() const { return status_; }
    QTreeView* ResultList() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* AddBox(const QString& text, bool checked);
    QLayout* CreateControls();
    void CreateResultList();
    void Search();
    void OnWake();
    void TakeResults();
    void ShowState();
    void ShowProblem(const QString& text);
    void OnActivated(const QModelIndex& index);

    QLineEdit* pattern_;
    QCheckBox* fields_[4] = {};  // by SearchField
    QCheckBox* regex_;
    QCheckBox* case_;
    QPushButton* find_;
    QPushButton* stop_;
    QLabel* status_;
    QTreeView* list_;
    CSearchResultModel* model_;
    MissionCommand missionCommand_;
    MissionList missions_;
    Activate activate_;
    // New rows show at most every kShowInterval: the list and the count line are
    // painted once for all the missions searched meanwhile.
    QElapsedTimer lastShown_;
    QTimer* showTimer_;
    // A wake posted and not yet taken: the worker posts one call at a time.
    std::atomic<bool> wakePosted_{false};
    // Last: its end waits for the workers, which post to this panel until then.
    std::unique_ptr<CMissionSearchSession> session_;
};

}  // namespace ui
