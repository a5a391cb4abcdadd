#pragma once
// The three-number pages of the property roll-up (translation, rotation, scale):
// rows "X:", "Y:", "Z:", each a label and a field, holding three 32-bit floats.
// Numbers are shown with at most 6 significant digits and read as one finite
// 32-bit float each.

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

    // Stores the values and shows them in the fields.
    void SetValues(const Vector3& values);
    const Vector3& Values() const { return values_; }

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
    // The three fields as numbers; nothing, with the field at fault refused, when
    // one is not a number.
    std::optional<Vector3> ReadFields() const;
    void ShowValues();

    std::array<QLineEdit*, 3> fields_{};
    Vector3 values_;
};

}  // namespace ui
