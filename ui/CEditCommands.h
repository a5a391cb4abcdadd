#pragma once
// The Edit menu's commands: "Отменить" and "Повторить" serve a focused text
// editor that can take them, and otherwise the current mission's history, their
// texts naming the step they would undo or redo ("Отменить перемещение barrel_1").
// A field whose text is applied to an object (FieldTyping.h) takes them only while
// it holds typing not yet applied; its undo keys then reach the commands, which a
// text field would otherwise keep for itself;
// "Вырезать", "Копировать" and "Вставить" serve the focused view that handles
// them, and are greyed where none does.

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QWidget;

namespace ui {

class CEditHistory;

class CEditCommands {
public:
    // Makes the action of a command: its id and its menu text.
    using AddCommand = std::function<QAction*(int id, const QString& text)>;
    // Runs a step of a mission's history; the main window takes in what its editors
    // hold first.
    using MissionCommand = std::function<void(const std::function<void()>& command)>;

    CEditCommands(CEditHistory& history, MissionCommand runMissionCommand);
    ~CEditCommands();

    // Makes the five commands with their keys and handlers.
    void Create(const AddCommand& add);

    // The commands' enabled states and texts for the widget that has the focus.
    void Update(const QWidget* focus);

    // Whether undo and redo go to `widget`'s own text rather than to the history.
    static bool TakesTextUndo(const QWidget* widget);

private:
    class CUndoKeyFilter;

    void OnCommand(int id, const char* slot);
    void UpdateUndoCommands(const QWidget* focus);
    QAction* Action(int id) const;

    CEditHistory& history_;
    MissionCommand runMissionCommand_;
    std::map<int, QAction*> actions_;
    QObject context_;  // of the actions' connections, which end with this object
    std::unique_ptr<CUndoKeyFilter> keyFilter_;
};

}  // namespace ui
