#pragma once
// The form of the object info window (CGenericInfoFrame): a thing's name, model,
// initial sector and kind, and its translation, rotation and scale, which the user
// can type and apply with "Применить". Laid out after dialog template 133
// (504 x 204 dialog units) in the metrics of the form's font; it scrolls when the
// window is made smaller than the form.
//
// The form keeps one value per control and transfers all of them at once. Showing
// a thing copies its values in; any other object leaves the values as they were.
// "Применить" reads the controls in a fixed order, each only when the user changed
// its text (a field as it was shown gives back its value bit for bit); a number
// field that does not hold one finite 32-bit float (the kind: one unsigned 32-bit
// integer) stops the reading there with the message "Введите число." and the
// focus on that field, the fields read before it keeping their new values and the
// rest their previous ones. When a field of the translation, the rotation or the
// scale was changed, the thing then receives all three through the one edit path,
// which announces DON_OBJECT_CHANGED; otherwise nothing is edited. The kind can be
// typed but is never written; name, model and sector are read-only.
//
// DON_OBJECT_SELECTED makes the sender's object the form's own and shows it;
// DON_OBJECT_CHANGED shows the form's thing anew, keeping every field the user has
// typed into since. The view leaves the mediator when it is destroyed.

#include "core/Geometry.h"
#include "game/CDravoDonView.h"

#include <QScrollArea>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ui {

class CGenericInfoFormView : public QScrollArea, public CDravoDonView {
public:
    // Control ids of template 133.
    enum ControlId : int {
        IDC_NAME = 1003,
        IDC_SCRIPT = 1004,
        IDC_APPLY = 1007,
        IDC_MODEL = 1011,
        IDC_MARK = 1012,
        IDC_KIND = 1013,
        IDC_TRANSLATION_X = 1015,
        IDC_TRANSLATION_Y = 1016,
        IDC_TRANSLATION_Z = 1017,
        IDC_AXIS_X = 1018,
        IDC_AXIS_Y = 1019,
        IDC_AXIS_Z = 1020,
        IDC_SECTOR = 1021,
        IDC_ANGLE = 1022,
        IDC_SCALE_X = 1023,
        IDC_SCALE_Y = 1024,
        IDC_SCALE_Z = 1025,
    };

    // One value per control; all start empty or zero.
    struct Values {
        std::string name;
        std::string modelName;
        std::string mark;
        std::string sector;
        Vector3 translation{};
        AxisAngle rotation{};
        Vector3 scale{};
        std::uint32_t kind = 0;
    };

    explicit CGenericInfoFormView(QWidget* parent = nullptr);

    void Notify(CDravoDonView* sender, int code, int arg) override;

    // Shows the current object: a thing's values are copied in, then every value
    // goes to its control.
    void ShowObject();

    // "Применить".
    void OnApply();

    const Values& GetValues() const { return values_; }
    // The control of an id of the template; null for another id.
    QWidget* Control(int id) const;
    // The form's own size, that of the template in pixels.
    QSize FormSize() const;

private:
    // How a control and its value are transferred.
    struct Binding {
        int id;
        std::string* text = nullptr;
        float* number = nullptr;
        std::uint32_t* unsignedNumber = nullptr;
    };

    void CreateControls();
    void CopyFromThing();
    // With `keepTyping`, a field the user has typed into keeps its text.
    void TransferToControls(bool keepTyping = false);
    // Reads the fields the user typed into; false when one stopped the transfer.
    // `transformTyped` tells whether a field of the transform was taken.
    bool TransferFromControls(bool& transformTyped);
    bool ReadControl(const Binding& binding);
    QString ControlText(int id) const;
    bool HoldsTyping(int id) const;

    Values values_;
    std::vector<Binding> order_;  // the order in which "Применить" reads the controls
    std::map<int, QWidget*> controls_;
    std::map<int, QString> shown_;  // each control's text as the form put it there
    QWidget* page_;
};

}  // namespace ui
