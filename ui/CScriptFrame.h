#pragma once
// The child window of a script editor inside the main window's document area: its
// only pane is a CScriptView, its icon a sheet of text. For a thing the title is
// the thing's name, taken again each time the frame is painted (a renamed thing
// shows its new name); any other object keeps the title it was given when the
// window opened (a mission script's name, or "Verdax" when it has none). While
// the view holds text its object has not taken, " *" follows the title. A window
// whose text the object cannot take (CScriptView::MayClose) refuses to close.

#include <QMdiSubWindow>

class CVerdaxData;

namespace ui {

class CScriptView;

class CScriptFrame : public QMdiSubWindow {
public:
    // A window editing the script of `object`, its text already shown. The
    // mediator's OpenView registers the view.
    explicit CScriptFrame(CVerdaxData* object, QWidget* parent = nullptr);

    CScriptView* View() const { return view_; }

    // The thing's name as the title when the view's object is a thing, and the
    // mark while the view holds text its object has not taken.
    void RefreshTitle();

protected:
    void paintEvent(QPaintEvent* event) override;
    // The first showing keeps the window inside the document area.
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CScriptView* view_;
    bool placed_ = false;
    bool marked_ = false;  // the title ends in the mark
};

}  // namespace ui
