#include "ui/FieldRefusal.h"

#include "core/StringTable.h"
#include "platform/MessagePresenter.h"

#include <QLineEdit>

#include <string>

namespace ui {

void RefuseField(QLineEdit* field, int messageId, std::string_view text)
{
    platform::Presenter().ShowMessage(messageId, std::string(text));
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void RefuseNotANumber(QLineEdit* field)
{
    RefuseField(field, IDS_ERR_NOT_A_NUMBER, LoadString(IDS_ERR_NOT_A_NUMBER));
}

}  // namespace ui
