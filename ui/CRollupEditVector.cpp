#include "ui/CRollupEditVector.h"

#include "core/NumberText.h"

#include <QLineEdit>

namespace ui {

namespace {

constexpr int kTemplateWidth = 99;
constexpr int kTemplateHeight = 44;
constexpr int kRowStep = 16;
constexpr int kRowHeight = 12;
constexpr int kLabelLeft = 16;
constexpr int kLabelWidth = 8;

float& Axis(Vector3& v, std::size_t axis)
{
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

}  // namespace

CRollupEditVector::CRollupEditVector(const Fields& fields, QWidget* parent)
    : CRollupPage(kTemplateWidth, kTemplateHeight, parent)
{
    static const std::array<QString, 3> kAxes{QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const int top = static_cast<int>(axis) * kRowStep;
        fields_[axis] = AddField(fields.ids[axis], QRect(fields.left, top, fields.width, kRowHeight),
                                 fields.name + QLatin1Char(' ') + kAxes[axis]);
        AddLabel(kAxes[axis] + QLatin1Char(':'), QRect(kLabelLeft, top, kLabelWidth, kRowHeight), fields_[axis]);
    }
    ShowValues();
}

void CRollupEditVector::SetValues(const Vector3& values, bool keepTyping)
{
    values_ = values;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (!keepTyping || !HoldsTyping(static_cast<int>(axis)))
            ShowValue(axis);
    }
}

bool CRollupEditVector::HoldsTyping(int axis) const
{
    const auto index = static_cast<std::size_t>(axis);
    return fields_[index]->text() != shown_[index];
}

void CRollupEditVector::ShowValues()
{
    for (std::size_t axis = 0; axis < 3; ++axis)
        ShowValue(axis);
}

void CRollupEditVector::ShowValue(std::size_t axis)
{
    shown_[axis] = QString::fromStdString(FormatFieldNumber(Axis(values_, axis)));
    // The same text stays, with its caret and selection, but holds no typing any more.
    if (fields_[axis]->text() != shown_[axis])
        fields_[axis]->setText(shown_[axis]);
    else
        fields_[axis]->setModified(false);
}

void CRollupEditVector::OnCancel()
{
    ShowValues();
}

bool CRollupEditVector::OnOK()
{
    const std::optional<Vector3> taken = ReadFields();
    if (!taken)
        return false;
    bool typed = false;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        typed = typed || HoldsTyping(static_cast<int>(axis));
        shown_[axis] = fields_[axis]->text();  // applied: the field now shows the held value
    }
    if (!typed)
        return true;
    values_ = *taken;
    if (const std::optional<ObjectEdit> edit = EditOf(values_))
        ApplyToObject(*edit);
    return true;
}

std::optional<Vector3> CRollupEditVector::ReadFields() const
{
    Vector3 taken = values_;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (!HoldsTyping(static_cast<int>(axis)))
            continue;
        const std::optional<float> value = ReadNumber(fields_[axis]);
        if (!value)
            return std::nullopt;
        Axis(taken, axis) = *value;
    }
    return taken;
}

}  // namespace ui
