#include "ui/CRollupEditScale.h"

namespace ui {

CRollupEditScale::CRollupEditScale(QWidget* parent)
    : CRollupEditVector({{1038, 1040, 1042}, 24, 50, QStringLiteral("Scale")}, parent)
{
}

std::optional<ObjectEdit> CRollupEditScale::EditOf(const Vector3& values) const
{
    ObjectEdit edit;
    edit.kind = EditKind::Scale;
    edit.scale = values;
    return edit;
}

}  // namespace ui
