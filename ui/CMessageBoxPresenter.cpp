#include "ui/CMessageBoxPresenter.h"

#include "core/StringTable.h"
#include "platform/CodePage.h"

#include <QMessageBox>

namespace ui {

void CMessageBoxPresenter::ShowText(std::string_view text)
{
    const std::string utf8 = platform::ToUtf8(text);
    Show(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void CMessageBoxPresenter::ShowMessage(int /*id*/, std::string_view utf8Text)
{
    Show(QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
}

void CMessageBoxPresenter::Show(const QString& text)
{
    const std::string_view title = LoadString(IDS_APP_TITLE);
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())), text,
                    QMessageBox::Ok, parent_);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace ui
