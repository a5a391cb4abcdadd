#include "ui/CMessageBoxPresenter.h"

#include "core/StringTable.h"
#include "platform/CodePage.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>

#include <vector>

namespace ui {
namespace {

// Takes every override cursor (the wait cursor of the command that raised the
// message) off for the lifetime of the scope and puts them back in their order: a
// box that waits for the user never shows under a busy cursor.
class SuspendedOverrideCursors {
public:
    SuspendedOverrideCursors()
    {
        while (const QCursor* cursor = QGuiApplication::overrideCursor()) {
            cursors_.push_back(*cursor);
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~SuspendedOverrideCursors()
    {
        for (auto it = cursors_.rbegin(); it != cursors_.rend(); ++it)
            QGuiApplication::setOverrideCursor(*it);
    }
    SuspendedOverrideCursors(const SuspendedOverrideCursors&) = delete;
    SuspendedOverrideCursors& operator=(const SuspendedOverrideCursors&) = delete;

private:
    std::vector<QCursor> cursors_;
};

}  // namespace

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
    const SuspendedOverrideCursors normalCursor;
    box.exec();
}

}  // namespace ui
