#include "ui/CRollupEditTranslation.h"

namespace ui {

CRollupEditTranslation::CRollupEditTranslation(QWidget* parent)
    : CRollupEditVector({{1025, 1026, 1027}, 26, 48, QStringLiteral("Translation")}, parent)
{
}

std::optional<ObjectEdit> CRollupEditTranslation::EditOf(const Vector3& values) const
{
    ObjectEdit edit;
    edit.kind = EditKind::Translate;
    edit.translation = values;
    return edit;
}

}  // namespace ui
