#include "ui/CUnsavedChangesBox.h"

#include "core/StringTable.h"
#include "ui/StringTableText.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <memory>

namespace ui {

QMessageBox* CUnsavedChangesBox::MakeBox(const QStringList& missions) const
{
    const QString text = missions.size() == 1 ? QStringLiteral("Миссия изменена и не сохранена:")
                                              : QStringLiteral("Миссии изменены и не сохранены:");
    auto* box = new QMessageBox(QMessageBox::Warning,
                                StringTableText(IDS_APP_TITLE),
                                text + QStringLiteral("\n\n") + missions.join(QLatin1Char('\n')) +
                                    QStringLiteral("\n\nСохранить изменения?"),
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box->setWindowModality(Qt::ApplicationModal);
    box->button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
    box->button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
    box->button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

UnsavedAnswer CUnsavedChangesBox::Ask(const QStringList& missions)
{
    const std::unique_ptr<QMessageBox> box(MakeBox(missions));
    switch (box->exec()) {
    case QMessageBox::Save: return UnsavedAnswer::Save;
    case QMessageBox::Discard: return UnsavedAnswer::Discard;
    default: return UnsavedAnswer::Cancel;
    }
}

}  // namespace ui
