#pragma once
// The child window of the object info form inside the main window's document
// area: its only pane is a CGenericInfoFormView, its title "Инфа Объекта", its
// icon a thing's, and it opens sized to fit the form exactly.

#include <QMdiSubWindow>

class CVerdaxData;

namespace ui {

class CGenericInfoFormView;

class CGenericInfoFrame : public QMdiSubWindow {
public:
    // A window showing `object` (a thing's values; any other object leaves the
    // form empty). The mediator's OpenView registers the view.
    explicit CGenericInfoFrame(CVerdaxData* object, QWidget* parent = nullptr);

    CGenericInfoFormView* View() const { return view_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CGenericInfoFormView* view_;
    bool fitted_ = false;
};

}  // namespace ui
