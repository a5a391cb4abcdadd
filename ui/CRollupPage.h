#pragma once
// The base of the property roll-up's pages: a plain dialog-like widget without OK
// or Cancel buttons. Enter in one of its fields is its OK action (take the fields,
// apply them to the roll-up's current object through the edit path), Escape its
// Cancel action (put the held values back into the fields).
//
// Controls are placed from dialog units, turned into pixels with the metrics of the
// page's font as a dialog template would be, and carry their control id as their
// object name ("1025") so that they can be found by id.

#include <QWidget>

#include <optional>

class CDravoDonView;
class CSceneObject;
class QLabel;
class QLineEdit;
struct ObjectEdit;

namespace ui {

class CRollupPage : public QWidget {
public:
    // A page of `widthDlu` x `heightDlu` dialog units.
    CRollupPage(int widthDlu, int heightDlu, QWidget* parent = nullptr);

    // The control with the id, or null.
    QWidget* Control(int id) const;

    // Transfers the fields to the held values and applies them; false, with the
    // message shown and the focus on the field at fault, when a field cannot be
    // taken (the object is then untouched).
    virtual bool OnOK() { return true; }
    // Transfers the held values back to the fields.
    virtual void OnCancel() {}

protected:
    // A rectangle given in dialog units, in pixels.
    QRect DialogRect(int left, int top, int width, int height) const;

    QLineEdit* AddField(int id, const QRect& dialogUnits, const QString& accessibleName);
    QLabel* AddLabel(const QString& text, const QRect& dialogUnits, QWidget* buddy);

    // The roll-up the page sits in, as a view; null when it is none.
    CDravoDonView* OwnerView() const;
    // Applies `edit` to the roll-up's current object through the edit path, as the
    // roll-up's edit; nothing when there is no roll-up or its object is no scene
    // object.
    void ApplyToObject(const ObjectEdit& edit);

    // The number in `field`; nothing, with the message "Введите число." shown and the
    // focus on the field, when it holds anything else.
    static std::optional<float> ReadNumber(QLineEdit* field);

    void keyPressEvent(QKeyEvent* event) override;

private:
    int baseX_ = 0;  // the dialog base units of the page's font
    int baseY_ = 0;
};

}  // namespace ui
