#pragma once
// The three-number pages of the property roll-up (translation, rotation, scale):
// rows "X:", "Y:", "Z:", each a label and a field, holding three 32-bit floats.
// Numbers are shown with at most 6 significant digits and read as one finite
// 32-bit float each. Only a field whose text the user changed is read: the others
// give back the value they showed, bit for bit, and Enter with no field changed
// is no edit.

#include "core/Geometry.h"
#include "game/ObjectEdit.h"
#include "ui/CRollupPage.h"

#include <array>
#include <optional>

class QLineEdit;

namespace ui {

class CRollupEditVector : public CRollupPage {
public:
    // Where the fields of a page stand, in dialog units, and what they are.
    struct Fields {
        std::array<int, 3> ids;
        int left;
        int width;
        QString name;  // the page's name: the fields are "<name> X" and so on
    };

    CRollupEditVector(const Fields& fields, QWidget* parent = nullptr);

    // Stores the values and shows them in the fields; with `keepTyping`, a field
    // holding typing not yet applied keeps it. A field whose text does not change
    // is left alone (its caret and selection stay).
    void SetValues(const Vector3& values, bool keepTyping = false);
    const Vector3& Values() const { return values_; }
    // Whether the field of `axis` holds text other than what the page showed.
    bool HoldsTyping(int axis) const;

    QLineEdit* Field(int axis) const { return fields_[static_cast<std::size_t>(axis)]; }

    // Takes the three fields as the held values and applies the page's edit of
    // them; a field that is not a number is refused and nothing changes.
    bool OnOK() override;
    void OnCancel() override;

protected:
    // The edit that applies `values` to an object; nothing for a page that only
    // shows.
    virtual std::optional<ObjectEdit> EditOf(const Vector3& values) const = 0;

private:
    // The held values with the typed fields read over them; nothing, with the
    // field at fault refused, when one is not a number.
    std::optional<Vector3> ReadFields() const;
    void ShowValues();
    void ShowValue(std::size_t axis);

    std::array<QLineEdit*, 3> fields_{};
    std::array<QString, 3> shown_;  // each field's text as the page put it there
    Vector3 values_;
};

}  // namespace ui
