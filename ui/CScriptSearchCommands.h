#pragma once
// The search commands of a script window's editor (CScriptView): find, find again
// forwards and backwards, replace, replace all and go to line. Their keys (Ctrl+F,
// F3, Shift+F3, Ctrl+H, Ctrl+G) work while the editor has the focus, and they
// stand in the editor's context menu. The find dialog is made at first use; the
// last search is remembered for F3. Where a search ends (not found, wrapped
// around) is said in the main window's status bar. The matching itself is
// ScriptSearch's.

#include "ui/ScriptSearch.h"

#include <QList>
#include <QObject>
#include <QString>

class QAction;

namespace ui {

class CScriptFindDialog;
class CScriptView;

class CScriptSearchCommands {
public:
    // The commands' actions go into `view` (which owns this and outlives it).
    explicit CScriptSearchCommands(CScriptView& view);

    // For the editor's context menu.
    const QList<QAction*>& Actions() const { return actions_; }

    // FindNext selects the next match (from the selection's end, or backwards from
    // its start), wrapping around; false when there is none. Replace replaces the
    // selection when it is a match, then finds the next one. ReplaceAll replaces
    // every match as one undo step and returns their count.
    bool FindNext(const QString& needle, const SearchOptions& options);
    bool Replace(const QString& needle, const QString& replacement, const SearchOptions& options);
    int ReplaceAll(const QString& needle, const QString& replacement, const SearchOptions& options);
    // F3 and Shift+F3: the last search again, forwards or backwards; the find
    // dialog when nothing has been searched for yet.
    void FindAgain(bool backward);
    // Puts the caret at the start of `line` (1-based, limited to the text's lines).
    void GoToLine(int line);

    void ShowFindDialog(bool replace);
    void ShowGoToDialog();
    CScriptFindDialog* FindDialog() const { return findDialog_; }

private:
    void AddShortcuts();

    CScriptView& view_;
    CScriptFindDialog* findDialog_ = nullptr;  // a child of the view, made at first use
    QList<QAction*> actions_;
    QString lastNeedle_;
    SearchOptions lastOptions_;
    QObject context_;  // of the actions' connections, which end with this object
};

}  // namespace ui
