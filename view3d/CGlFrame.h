#pragma once
// The world window: a child window of the main window's document area holding the
// world view as its only pane. Titled "Вид Мира" with the world icon (resource 142)
// until a mission becomes current; then the mission's name, marked as the tree marks
// it while the mission has unsaved edits (the title follows at every frame). The focus goes to the
// view.

#include <QMdiSubWindow>

class CGlView;

class CGlFrame : public QMdiSubWindow {
public:
    explicit CGlFrame(QWidget* parent = nullptr);

    CGlView* GetView() const { return view_; }

    // "Вид Мира", or the current mission's name, with " *" while it has unsaved edits.
    QString Title() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    // A new world window fills the document area, as the first child window of a
    // multiple-document window does.
    void showEvent(QShowEvent* event) override;

private:
    void UpdateTitle();

    CGlView* view_;
    bool shown_ = false;
};

// The small icon of the world window (resource 142): a globe, drawn in code.
QIcon WorldWindowIcon();
