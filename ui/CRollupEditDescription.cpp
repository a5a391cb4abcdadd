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

void CRollupEditDescription::SetText(const std::string& text, bool keepTyping)
{
    const bool keep = keepTyping && HoldsTyping();
    text_ = text;
    const QString shown = TextFromCodePage(text_);
    if (keep)
        return;
    if (field_->text() != shown)
        field_->setText(shown);
    else
        field_->setModified(false);  // the same text stays, holding no typing any more
}

// The code page's bytes show as one character each and come back as the same
// bytes, so the field holds the held text exactly when their texts are equal.
bool CRollupEditDescription::HoldsTyping() const
{
    return field_->text() != TextFromCodePage(text_);
}

bool CRollupEditDescription::OnOK()
{
    if (!HoldsTyping())
        return true;
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
