#include "ui/CRollupEditTranslation.h"

#include "game/ObjectEdit.h"

namespace ui {

CRollupEditTranslation::CRollupEditTranslation(QWidget* parent)
    : CRollupEditVector({{1025, 1026, 1027}, 26, 48, QStringLiteral("Translation")}, parent)
{
}

bool CRollupEditTranslation::OnOK()
{
    const std::optional<Vector3> taken = TakeFields();
    if (!taken)
        return false;
    ObjectEdit edit;
    edit.kind = EditKind::Translate;
    edit.translation = *taken;
    ApplyToObject(edit);
    return true;
}

}  // namespace ui
