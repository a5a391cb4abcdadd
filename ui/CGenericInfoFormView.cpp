#include "ui/CGenericInfoFormView.h"

#include "core/NumberText.h"
#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "scene/CSceneObjectThing.h"
#include "ui/CScriptCtrl.h"
#include "ui/CodePageText.h"
#include "ui/DialogUnits.h"
#include "ui/FieldRefusal.h"
#include "ui/FieldTyping.h"
#include "ui/StringTableText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {
namespace {

constexpr int kFormWidth = 504;   // dialog units
constexpr int kFormHeight = 204;

struct Rect {
    int left, top, width, height;
};

struct StaticText {
    const char* text;
    Rect rect;
};

// The captions of template 133.
constexpr StaticText kCaptions[] = {
    {"Описание:", {7, 7, 38, 8}},         {"I3D/Модель:", {7, 40, 40, 8}}, {"Начальный Сектор:", {7, 73, 80, 8}},
    {"Скрипт:", {7, 108, 40, 8}},         {"4011:", {332, 113, 19, 8}},
};

struct Field {
    int id;
    Rect rect;
    const char* accessibleName;  // the caption beside it, or its column and axis
    bool editable;
};

// The edits, in the template's (and the tab) order.
constexpr Field kFields[] = {
    {CGenericInfoFormView::IDC_NAME, {7, 20, 169, 14}, "Описание", false},
    {CGenericInfoFormView::IDC_MODEL, {7, 52, 169, 14}, "I3D/Модель", false},
    {CGenericInfoFormView::IDC_SECTOR, {7, 86, 169, 14}, "Начальный Сектор", false},
    {CGenericInfoFormView::IDC_KIND, {352, 110, 69, 14}, "4011", true},
    {CGenericInfoFormView::IDC_TRANSLATION_X, {240, 15, 69, 14}, "Translation X", true},
    {CGenericInfoFormView::IDC_TRANSLATION_Y, {240, 33, 69, 14}, "Translation Y", true},
    {CGenericInfoFormView::IDC_TRANSLATION_Z, {240, 52, 69, 14}, "Translation Z", true},
    {CGenericInfoFormView::IDC_AXIS_X, {352, 15, 69, 14}, "Rotation axis X", true},
    {CGenericInfoFormView::IDC_AXIS_Y, {352, 33, 69, 14}, "Rotation axis Y", true},
    {CGenericInfoFormView::IDC_AXIS_Z, {352, 52, 69, 14}, "Rotation axis Z", true},
    {CGenericInfoFormView::IDC_ANGLE, {352, 71, 69, 14}, "Rotation angle", true},
    {CGenericInfoFormView::IDC_SCALE_X, {428, 15, 69, 14}, "Scale X", true},
    {CGenericInfoFormView::IDC_SCALE_Y, {428, 33, 69, 14}, "Scale Y", true},
    {CGenericInfoFormView::IDC_SCALE_Z, {428, 52, 69, 14}, "Scale Z", true},
};

constexpr Rect kMarkRect{48, 40, 31, 8};
constexpr Rect kScriptRect{7, 120, 302, 77};
constexpr Rect kApplyRect{447, 183, 50, 14};
constexpr char kMarkText = '*';

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CGenericInfoFormView::CGenericInfoFormView(QWidget* parent) : QScrollArea(parent), page_(new QWidget)
{
    setObjectName(QStringLiteral("infoForm"));
    setAccessibleName(StringTableText(IDS_INFO_TITLE));
    page_->setObjectName(QStringLiteral("infoFormPage"));
    CreateControls();
    setWidget(page_);
    setWidgetResizable(false);
    setFocusProxy(Control(IDC_NAME));

    // The transfer order of "Применить".
    Values& v = values_;
    order_ = {
        {IDC_NAME, &v.name},
        {IDC_TRANSLATION_Y, nullptr, &v.translation.y},
        {IDC_TRANSLATION_Z, nullptr, &v.translation.z},
        {IDC_TRANSLATION_X, nullptr, &v.translation.x},
        {IDC_MODEL, &v.modelName},
        {IDC_MARK, &v.mark},
        {IDC_ANGLE, nullptr, &v.rotation.angle},
        {IDC_AXIS_X, nullptr, &v.rotation.x},
        {IDC_AXIS_Y, nullptr, &v.rotation.y},
        {IDC_AXIS_Z, nullptr, &v.rotation.z},
        {IDC_SCALE_X, nullptr, &v.scale.x},
        {IDC_SCALE_Y, nullptr, &v.scale.y},
        {IDC_SCALE_Z, nullptr, &v.scale.z},
        {IDC_KIND, nullptr, nullptr, &v.kind},
        {IDC_SECTOR, &v.sector},
    };
    TransferToControls();
}

void CGenericInfoFormView::CreateControls()
{
    const DialogUnits units(page_->font());
    const auto place = [&units](QWidget* widget, const Rect& r) {
        widget->setGeometry(units.Rect(r.left, r.top, r.width, r.height));
    };
    // A caption never clips its text where the font is wider than the template's.
    const auto caption = [&](const StaticText& text) {
        auto* label = new QLabel(Utf8(text.text), page_);
        place(label, text.rect);
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        return label;
    };
    QLabel* nameLabel = caption(kCaptions[0]);
    QLabel* modelLabel = caption(kCaptions[1]);
    QLabel* sectorLabel = caption(kCaptions[2]);
    QLabel* scriptLabel = caption(kCaptions[3]);
    QLabel* kindLabel = caption(kCaptions[4]);

    auto* mark = new QLabel(page_);
    place(mark, kMarkRect);
    mark->move(std::max(mark->x(), modelLabel->geometry().right() + 3), mark->y());
    mark->setAccessibleName(QStringLiteral("I3D/Модель, отметка"));
    controls_[IDC_MARK] = mark;

    QWidget* previous = nullptr;
    const auto chain = [this, &previous](QWidget* widget) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    };
    for (const Field& field : kFields) {
        auto* edit = new QLineEdit(page_);
        place(edit, field.rect);
        edit->setObjectName(QStringLiteral("edit%1").arg(field.id));
        edit->setAccessibleName(Utf8(field.accessibleName));
        edit->setReadOnly(!field.editable);
        MarkAppliedField(*edit);
        // Enter in a field presses the default button, as in a dialog.
        connect(edit, &QLineEdit::returnPressed, this, [this] { OnApply(); });
        controls_[field.id] = edit;
        if (field.id == IDC_KIND) {
            auto* script = new CScriptCtrl(page_);
            place(script, kScriptRect);
            script->setObjectName(QStringLiteral("script%1").arg(IDC_SCRIPT));
            script->setAccessibleName(QStringLiteral("Скрипт"));
            controls_[IDC_SCRIPT] = script;
            scriptLabel->setBuddy(script);
            chain(script);
        }
        chain(edit);
    }
    nameLabel->setBuddy(Control(IDC_NAME));
    modelLabel->setBuddy(Control(IDC_MODEL));
    sectorLabel->setBuddy(Control(IDC_SECTOR));
    kindLabel->setBuddy(Control(IDC_KIND));

    auto* apply = new QPushButton(QStringLiteral("Применить"), page_);
    place(apply, kApplyRect);
    apply->setObjectName(QStringLiteral("button%1").arg(IDC_APPLY));
    apply->setAccessibleName(apply->text());
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, [this] { OnApply(); });
    controls_[IDC_APPLY] = apply;
    chain(apply);

    page_->setFixedSize(units.Size(kFormWidth, kFormHeight));
}

QWidget* CGenericInfoFormView::Control(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QSize CGenericInfoFormView::FormSize() const
{
    return page_->size();
}

void CGenericInfoFormView::Notify(CDravoDonView* sender, int code, int /*arg*/)
{
    if (code != DON_OBJECT_SELECTED)
        return;
    SetObject(sender ? sender->GetObject() : nullptr);
    ShowObject();
}

void CGenericInfoFormView::ShowObject()
{
    CopyFromThing();
    TransferToControls();
}

void CGenericInfoFormView::CopyFromThing()
{
    const auto* thing = dynamic_cast<const CSceneObjectThing*>(GetObject());
    if (!thing)
        return;
    values_.name = thing->GetName();
    values_.modelName = thing->GetModelName();
    values_.sector = thing->GetSectorName();
    values_.kind = static_cast<std::uint32_t>(thing->GetKind());
    values_.translation = thing->GetTranslation();
    values_.rotation = thing->GetRotation();
    values_.scale = thing->GetScale();
    values_.mark.assign(1, kMarkText);
}

void CGenericInfoFormView::TransferToControls()
{
    for (const Binding& binding : order_) {
        QString text;
        if (binding.text)
            text = TextFromCodePage(*binding.text);
        else if (binding.number)
            text = QString::fromStdString(FormatFieldNumber(*binding.number));
        else
            text = QString::number(*binding.unsignedNumber);
        QWidget* control = Control(binding.id);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(text);
            edit->setCursorPosition(0);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(text);
        }
    }
}

bool CGenericInfoFormView::ReadControl(const Binding& binding)
{
    QWidget* control = Control(binding.id);
    const auto* edit = qobject_cast<const QLineEdit*>(control);
    const auto* label = qobject_cast<const QLabel*>(control);
    const QString text = edit ? edit->text() : label ? label->text() : QString();
    if (binding.text) {
        // The texts are read-only here; one that cannot be stored keeps its value.
        if (std::optional<std::string> bytes = TextToCodePage(text))
            *binding.text = std::move(*bytes);
        return true;
    }
    const std::string utf8 = text.toStdString();
    if (binding.number) {
        const std::optional<float> number = ParseFieldNumber(utf8);
        if (number)
            *binding.number = *number;
        return number.has_value();
    }
    const std::optional<std::uint32_t> number = ParseFieldUnsigned(utf8);
    if (number)
        *binding.unsignedNumber = *number;
    return number.has_value();
}

bool CGenericInfoFormView::TransferFromControls()
{
    for (const Binding& binding : order_) {
        if (ReadControl(binding))
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(Control(binding.id))) {
            ensureWidgetVisible(edit);
            RefuseNotANumber(edit);
        }
        return false;
    }
    return true;
}

void CGenericInfoFormView::OnApply()
{
    const bool complete = TransferFromControls();
    auto* thing = dynamic_cast<CSceneObjectThing*>(GetObject());
    if (!thing)
        return;
    ObjectEdit edit;
    edit.kind = EditKind::Transform;
    edit.translation = values_.translation;
    edit.rotation = values_.rotation;
    edit.scale = values_.scale;
    CDravoDon::Instance().ApplyEdit(this, *thing, edit);
    if (complete)
        MarkTypingApplied(*page_);
}

}  // namespace ui
