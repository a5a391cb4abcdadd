#pragma once
// The editor of one object's script, the only pane of a script window
// (CScriptFrame): a plain-text editor with a fixed-pitch 10-point font, line
// numbers in a margin, the caret's line and column in the main window's status
// bar, find and replace (Ctrl+F, F3, Shift+F3, Ctrl+H) and go to line (Ctrl+G)
// (CScriptSearchCommands).
//
// Its object is set once, by the mediator's OpenView, and never changed by the
// view. The window follows its object: whenever the object's script changes (an
// edit elsewhere, undo, redo) or another view selects the object again, the
// window shows the new script, unless it holds typing the object has not taken.
// Such typing is never replaced: the window keeps it, marked (HoldsPendingEdit,
// " *" in its title and its mission's), until it goes into the object or the user
// takes it back. A text that did not change is not loaded again, so the caret,
// the scroll position and the window's own undo stay.
//
// Each time the editor loses the keyboard focus to another widget its typing goes
// back into the object through the one edit path, and DON_OBJECT_CHANGED tells
// the other views (also when nothing was typed). A text holding a character the
// game's code page cannot store is not written: the user is told which character
// it is, the window keeps the text and the object its old script, and the window
// does not close until the text can be written. Opening a menu or the editor's
// own context menu is not a loss of focus.
//
// The view leaves the mediator when it is destroyed (CDravoDonView).

#include "game/CDravoDonView.h"
#include "ui/CRichEditStreamIn.h"
#include "ui/CScriptSearchCommands.h"

#include <QPlainTextEdit>
#include <QTimer>

#include <string>

class CSceneObject;

namespace ui {

class CScriptLineNumberArea;

class CScriptView : public QPlainTextEdit, public CDravoDonView, public CRichEditStreamIn {
public:
    explicit CScriptView(QWidget* parent = nullptr);
    ~CScriptView() override;

    // DON_OBJECT_CHANGED, and DON_OBJECT_SELECTED from a view whose current object
    // is this view's object, show the object's script anew unless the window holds
    // typing; any DON_OBJECT_SELECTED then repaints the frame (its title).
    void Notify(CDravoDonView* sender, int code, int arg) override;

    // The object's script into the editor, dropping whatever it held; nothing for
    // an object that is not a scene object.
    void ReloadText();

    // The editor's typing into the object, then DON_OBJECT_CHANGED (sent also when
    // nothing was typed); false, with nothing written or sent, for an object that
    // is not a scene object or a text the code page cannot hold (the user is told
    // which character).
    bool WriteBack();
    // Whether the window may close without losing what it shows: its typing goes
    // into the object first; no, with the user told which character the code page
    // cannot hold, when the object cannot take it.
    bool MayClose();

    // CDravoDonView: whether the window holds text its object has not taken (set at
    // the first keystroke, cleared within a moment when the typing is undone), and
    // putting that text into the object without a message when it cannot go in.
    bool HoldsPendingEdit() const override { return pending_; }
    bool TakePendingEdit() override;

    // "Стр L, Кол C" of the caret, both counted from 1.
    QString PositionText() const;

    // Find, replace and go to line, with their keys and the find dialog.
    CScriptSearchCommands& Search() { return search_; }
    // Says `text` in the main window's status bar.
    void ShowStatus(const QString& text);

    // The line number margin (CScriptLineNumberArea).
    int LineNumberAreaWidth() const;
    void PaintLineNumbers(QPaintEvent* event);

protected:
    QPlainTextEdit* StreamControl() const override { return const_cast<CScriptView*>(this); }
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CSceneObject* SceneObject() const;
    // Whether the text differs from what the object last gave or took.
    bool HoldsTyping();
    // Shows the object's script when it changed and the window holds no typing.
    void FollowObject();
    void LoadText(const std::string& script);
    void GiveText(CSceneObject& object, const std::string& text);
    void OnContentsChanged();
    void CheckPending();
    void SetPending(bool pending);
    void UpdateLineNumberMargin();
    bool IsUsersEditor() const;
    void ShowPosition();
    void RepaintFrame();
    // The message naming the character the code page cannot hold.
    void ShowRefusal(const QString& refused) const;

    CScriptLineNumberArea* lineNumbers_;
    CScriptSearchCommands search_;
    // While the refusal is shown: its box takes the focus, and writing back then
    // would only show it again.
    mutable bool showingRefusal_ = false;

    std::string taken_;     // the script as the object last gave or took it
    int takenCharacters_ = 0;  // the document's length when it held that script
    bool edited_ = false;   // the text changed since; it may have been changed back
    bool pending_ = false;  // the mark: the text is not the object's
    bool loading_ = false;
    QTimer pendingCheck_;   // the mark goes within a moment of typing undone
};

}  // namespace ui
