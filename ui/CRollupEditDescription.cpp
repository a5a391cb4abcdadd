#include "ui/CRollupEditDescription.h"

#include "game/ObjectEdit.h"
#include "ui/CodePageText.h"
#include "ui/FieldRefusal.h"

#include <QLineEdit>

namespace ui {

CRollupEditDescription::CRollupEditDescription(QWidget* parent) : CRollupPage(101, 17, parent)
{
    field_ = AddField(1028, QRect(4, 2, 92, 12), QStringLiteral("Description"));
}

void CRollupEditDescription::SetText(const std::string& text)
{
    text_ = text;
    field_->setText(TextFromCodePage(text_));
}

bool CRollupEditDescription::OnOK()
{
    QString refused;
    std::optional<std::string> bytes = TextToCodePage(field_->text(), &refused);
    if (!bytes) {
        RefuseField(field_, 0, UnrepresentableMessage(refused).toStdString());
        return false;
    }
    text_ = std::move(*bytes);
    ObjectEdit edit;
    edit.kind = EditKind::Rename;
    edit.name = text_;
    ApplyToObject(edit);
    return true;
}

void CRollupEditDescription::OnCancel()
{
    field_->setText(TextFromCodePage(text_));
}

}  // namespace ui
