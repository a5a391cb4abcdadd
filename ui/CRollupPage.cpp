#include "ui/CRollupPage.h"

#include "core/NumberText.h"
#include "game/CDravoDon.h"
#include "scene/CSceneObject.h"
#include "ui/FieldRefusal.h"
#include "ui/FieldTyping.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace ui {

namespace {

// The templates name an 8-point font: 11 pixels at 96 dots per inch, whose letters
// give a horizontal base unit of 6 pixels, for which the roll-up's 166-pixel column
// is made. A wider font is taken a pixel smaller until its unit is no wider, down
// to 9 pixels.
constexpr int kFontPixels = 11;
constexpr int kSmallestFontPixels = 9;
constexpr int kColumnBaseX = 6;

// The dialog base units of a font: the average width of the Latin letters as a
// template's font gives it, and the font's height.
QSize BaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

// Windows' MulDiv: the product over the divisor, rounded half away from zero.
int MulDiv(int value, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

CRollupPage::CRollupPage(int widthDlu, int heightDlu, QWidget* parent) : QWidget(parent)
{
    QFont pageFont = font();
    pageFont.setPixelSize(kFontPixels);
    QSize units = BaseUnits(pageFont);
    while (units.width() > kColumnBaseX && pageFont.pixelSize() > kSmallestFontPixels) {
        pageFont.setPixelSize(pageFont.pixelSize() - 1);
        units = BaseUnits(pageFont);
    }
    setFont(pageFont);
    baseX_ = units.width();
    baseY_ = units.height();
    resize(DialogRect(0, 0, widthDlu, heightDlu).size());
}

QRect CRollupPage::DialogRect(int left, int top, int width, int height) const
{
    return {MulDiv(left, baseX_, 4), MulDiv(top, baseY_, 8), MulDiv(width, baseX_, 4), MulDiv(height, baseY_, 8)};
}

QWidget* CRollupPage::Control(int id) const
{
    return findChild<QWidget*>(QString::number(id));
}

QLineEdit* CRollupPage::AddField(int id, const QRect& dialogUnits, const QString& accessibleName)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::number(id));
    field->setGeometry(DialogRect(dialogUnits.x(), dialogUnits.y(), dialogUnits.width(), dialogUnits.height()));
    field->setAccessibleName(accessibleName);
    MarkAppliedField(*field);
    return field;
}

QLabel* CRollupPage::AddLabel(const QString& text, const QRect& dialogUnits, QWidget* buddy)
{
    auto* label = new QLabel(text, this);
    label->setGeometry(DialogRect(dialogUnits.x(), dialogUnits.y(), dialogUnits.width(), dialogUnits.height()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setAccessibleName(text);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

CDravoDonView* CRollupPage::OwnerView() const
{
    return dynamic_cast<CDravoDonView*>(parentWidget());
}

void CRollupPage::ApplyToObject(const ObjectEdit& edit)
{
    CDravoDonView* view = OwnerView();
    if (!view)
        return;
    auto* object = dynamic_cast<CSceneObject*>(view->GetObject());
    if (!object)
        return;
    CDravoDon::Instance().ApplyEdit(view, *object, edit);
}

std::optional<float> CRollupPage::ReadNumber(QLineEdit* field)
{
    const std::optional<float> value = ParseFieldNumber(field->text().toStdString());
    if (!value)
        RefuseNotANumber(field);
    return value;
}

void CRollupPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (OnOK())
            MarkTypingApplied(*this);
        event->accept();
        return;
    case Qt::Key_Escape:
        OnCancel();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

}  // namespace ui
