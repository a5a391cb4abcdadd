#include "ui/CRollupEditScale.h"

#include "game/ObjectEdit.h"

namespace ui {

CRollupEditScale::CRollupEditScale(QWidget* parent)
    : CRollupEditVector({{1038, 1040, 1042}, 24, 50, QStringLiteral("Scale")}, parent)
{
}

bool CRollupEditScale::OnOK()
{
    const std::optional<Vector3> taken = TakeFields();
    if (!taken)
        return false;
    ObjectEdit edit;
    edit.kind = EditKind::Scale;
    edit.scale = *taken;
    ApplyToObject(edit);
    return true;
}

}  // namespace ui
