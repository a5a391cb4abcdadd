#include "ui/CScriptFindDialog.h"

#include "ui/CScriptView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {
namespace {

QLineEdit* LabelledField(const QString& label, QLabel** labelOut, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    auto* caption = new QLabel(label, parent);
    caption->setBuddy(field);
    field->setAccessibleName(QString(label).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    *labelOut = caption;
    return field;
}

QPushButton* Button(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return button;
}

}  // namespace

CScriptFindDialog::CScriptFindDialog(CScriptView* view) : QDialog(view), view_(view)
{
    setObjectName(QStringLiteral("findDialog"));
    setModal(false);

    QLabel* needleLabel = nullptr;
    needle_ = LabelledField(QStringLiteral("&Найти:"), &needleLabel, this);
    replacement_ = LabelledField(QStringLiteral("За&мена:"), &replacementLabel_, this);
    caseSensitive_ = new QCheckBox(QStringLiteral("С учётом &регистра"), this);
    wholeWord_ = new QCheckBox(QStringLiteral("&Слово целиком"), this);
    backward_ = new QCheckBox(QStringLiteral("&Назад"), this);
    find_ = Button(QStringLiteral("Найти &далее"), this);
    replace_ = Button(QStringLiteral("&Заменить"), this);
    replaceAll_ = Button(QStringLiteral("Заменить &все"), this);
    QPushButton* close = Button(QStringLiteral("Закрыть"), this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("findStatus"));
    status_->setAccessibleName(QStringLiteral("Результат поиска"));
    find_->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(needleLabel, 0, 0);
    fields->addWidget(needle_, 0, 1);
    fields->addWidget(find_, 0, 2);
    fields->addWidget(replacementLabel_, 1, 0);
    fields->addWidget(replacement_, 1, 1);
    fields->addWidget(replace_, 1, 2);
    fields->addWidget(caseSensitive_, 2, 1);
    fields->addWidget(replaceAll_, 2, 2);
    fields->addWidget(wholeWord_, 3, 1);
    fields->addWidget(close, 3, 2);
    fields->addWidget(backward_, 4, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(status_);

    connect(find_, &QPushButton::clicked, this, [this] { OnFind(); });
    connect(replace_, &QPushButton::clicked, this, [this] { OnReplace(); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { OnReplaceAll(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(needle_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
    UpdateButtons();
}

void CScriptFindDialog::ShowFor(bool replace, const QString& needle)
{
    replaceMode_ = replace;
    setWindowTitle(replace ? QStringLiteral("Заменить") : QStringLiteral("Найти"));
    replacementLabel_->setVisible(replace);
    replacement_->setVisible(replace);
    replace_->setVisible(replace);
    replaceAll_->setVisible(replace);
    if (!needle.isEmpty())
        needle_->setText(needle);
    status_->clear();
    adjustSize();
    show();
    raise();
    activateWindow();
    needle_->setFocus();
    needle_->selectAll();
}

SearchOptions CScriptFindDialog::Options() const
{
    return {caseSensitive_->isChecked(), wholeWord_->isChecked(), backward_->isChecked()};
}

void CScriptFindDialog::UpdateButtons()
{
    const bool any = !needle_->text().isEmpty();
    find_->setEnabled(any);
    replace_->setEnabled(any);
    replaceAll_->setEnabled(any);
}

void CScriptFindDialog::OnFind()
{
    status_->setText(view_->Search().FindNext(needle_->text(), Options()) ? QString()
                                                                 : QStringLiteral("Не найдено: «%1»").arg(needle_->text()));
}

void CScriptFindDialog::OnReplace()
{
    status_->setText(view_->Search().Replace(needle_->text(), replacement_->text(), Options())
                         ? QString()
                         : QStringLiteral("Больше не найдено: «%1»").arg(needle_->text()));
}

void CScriptFindDialog::OnReplaceAll()
{
    const int count = view_->Search().ReplaceAll(needle_->text(), replacement_->text(), Options());
    status_->setText(QStringLiteral("Заменено: %1").arg(count));
}

}  // namespace ui
