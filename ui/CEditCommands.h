#pragma once
// The Edit menu's commands: "Отменить" and "Повторить" serve a focused text
// editor that can take them, and otherwise the current mission's history, their
// texts naming the step they would undo or redo ("Отменить перемещение barrel_1").
// A field whose text is applied to an object (FieldTyping.h) takes them only while
// it holds typing not yet applied; its undo keys then reach the commands, which a
// text field would otherwise keep for itself;
// "Вырезать", "Копировать" and "Вставить" serve the focused text field that
// handles them, and otherwise the selected object (CObjectCommands), as
// "Дублировать" (Ctrl+D) and "Удалить" (Del) always do; a text field keeps Del and
// Ctrl+D for itself while it has the focus. A command with nothing to act on is
// greyed.

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QWidget;

namespace ui {

class CEditHistory;
class CObjectCommands;

class CEditCommands {
public:
    // Makes the action of a command: its id and its menu text.
    using AddCommand = std::function<QAction*(int id, const QString& text)>;
    // Runs a step of a mission's history; the main window takes in what its editors
    // hold first.
    using MissionCommand = std::function<void(const std::function<void()>& command)>;

    CEditCommands(CEditHistory& history, MissionCommand runMissionCommand);
    ~CEditCommands();

    // Makes the seven commands with their keys and handlers.
    void Create(const AddCommand& add);

    // Where the commands on objects go (not owned); null: nowhere.
    void SetObjectCommands(CObjectCommands* objects) { objects_ = objects; }

    // The commands' enabled states and texts for the widget that has the focus.
    void Update(const QWidget* focus);

    // Whether undo and redo go to `widget`'s own text rather than to the history.
    static bool TakesTextUndo(const QWidget* widget);

private:
    class CUndoKeyFilter;

    void OnCommand(int id, const char* slot);
    void OnObjectCommand(int id);
    bool CanRunObjectCommand(int id) const;
    void UpdateUndoCommands(const QWidget* focus);
    void WatchTextUndo(const QWidget* focus);
    QAction* Action(int id) const;

    CEditHistory& history_;
    MissionCommand runMissionCommand_;
    CObjectCommands* objects_ = nullptr;
    std::map<int, QAction*> actions_;
    QObject context_;  // of the actions' connections, which end with this object
    // The focused text editor whose undo and redo the commands follow, and the
    // connections that tell when what it can undo or redo changes.
    QPointer<const QWidget> watchedText_;
    std::vector<QMetaObject::Connection> textUndoChanged_;
    std::unique_ptr<CUndoKeyFilter> keyFilter_;
};

}  // namespace ui
