#pragma once
// The find and replace box of a script window: a small window beside the editor
// that stays open while the user goes on editing. In find mode it shows the text
// to look for and the options; in replace mode also the replacement with
// "Заменить" and "Заменить все". It searches through its script view and reports
// "not found" and the count of replacements in its own status line.

#include "ui/ScriptSearch.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class CScriptView;

class CScriptFindDialog : public QDialog {
public:
    explicit CScriptFindDialog(CScriptView* view);

    // Shows the box in find or replace mode, with `needle` as the text to look for
    // when it is not empty, and puts the focus on that text.
    void ShowFor(bool replace, const QString& needle);

    SearchOptions Options() const;
    bool IsReplaceMode() const { return replaceMode_; }

    QLineEdit* NeedleField() const { return needle_; }
    QLineEdit* ReplacementField() const { return replacement_; }
    QPushButton* FindButton() const { return find_; }
    QPushButton* ReplaceButton() const { return replace_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }
    QLabel* StatusLine() const { return status_; }

private:
    void OnFind();
    void OnReplace();
    void OnReplaceAll();
    void UpdateButtons();

    CScriptView* view_;
    QLineEdit* needle_;
    QLabel* replacementLabel_;
    QLineEdit* replacement_;
    QCheckBox* caseSensitive_;
    QCheckBox* wholeWord_;
    QCheckBox* backward_;
    QPushButton* find_;
    QPushButton* replace_;
    QPushButton* replaceAll_;
    QLabel* status_;
    bool replaceMode_ = false;
};

}  // namespace ui
