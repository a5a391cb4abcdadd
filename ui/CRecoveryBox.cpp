#include "ui/CRecoveryBox.h"

#include "core/StringTable.h"
#include "ui/StringTableText.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <memory>

namespace ui {
namespace {

bool AnyRestorable(const std::vector<RecoveryOfferLine>& copies)
{
    return std::ranges::any_of(copies, [](const RecoveryOfferLine& copy) { return !copy.missionGone; });
}

QString BoxText(const std::vector<RecoveryOfferLine>& copies)
{
    QStringList lines;
    for (const RecoveryOfferLine& copy : copies)
        lines << CRecoveryBox::LineText(copy);
    QString text = QStringLiteral("Редактор завершился, не сохранив изменения. Остались копии восстановления:\n\n") +
                   lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n");
    if (!AnyRestorable(copies))
        return text + QStringLiteral("Папок этих миссий больше нет в игре: копии можно только удалить.");
    return text + QStringLiteral("«Восстановить» загрузит миссии из папки игры и вернёт в них изменения из копий "
                                 "(их можно отменить: Правка → Отменить). «Позже» оставит копии до следующего запуска.");
}

}  // namespace

QString CRecoveryBox::LineText(const RecoveryOfferLine& copy)
{
    QString line = copy.mission + QStringLiteral(" — ") + copy.savedAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    if (copy.missionGone)
        line += QStringLiteral(" (папки миссии нет)");
    return line;
}

QMessageBox* CRecoveryBox::MakeBox(const std::vector<RecoveryOfferLine>& copies) const
{
    auto* box = new QMessageBox(QMessageBox::Question, StringTableText(IDS_APP_TITLE), BoxText(copies),
                                QMessageBox::NoButton, parent_);
    box->setWindowModality(Qt::ApplicationModal);
    if (AnyRestorable(copies))
        box->setDefaultButton(box->addButton(QStringLiteral("Восстановить"), QMessageBox::AcceptRole));
    box->addButton(QStringLiteral("Удалить"), QMessageBox::DestructiveRole);
    QPushButton* later = box->addButton(QStringLiteral("Позже"), QMessageBox::RejectRole);
    box->setEscapeButton(later);
    if (!box->defaultButton())
        box->setDefaultButton(later);
    return box;
}

RecoveryAnswer CRecoveryBox::Ask(const std::vector<RecoveryOfferLine>& copies)
{
    const std::unique_ptr<QMessageBox> box(MakeBox(copies));
    box->exec();
    const QAbstractButton* clicked = box->clickedButton();
    switch (clicked ? box->buttonRole(const_cast<QAbstractButton*>(clicked)) : QMessageBox::RejectRole) {
    case QMessageBox::AcceptRole: return RecoveryAnswer::Restore;
    case QMessageBox::DestructiveRole: return RecoveryAnswer::Remove;
    default: return RecoveryAnswer::Later;
    }
}

}  // namespace ui
