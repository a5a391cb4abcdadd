#include "ui/CScriptFrame.h"

#include "core/StringTable.h"
#include "scene/CSceneObjectThing.h"
#include "ui/ChildWindowPlacement.h"
#include "ui/CScriptView.h"
#include "ui/CodePageText.h"
#include "ui/IconStrips.h"
#include "ui/StringTableText.h"

#include <QCloseEvent>

namespace ui {
namespace {

constexpr QSize kDefaultSize(560, 420);
constexpr QStringView kMark = u" *";

QString InitialTitle(const CVerdaxData* object)
{
    if (const auto* scene = dynamic_cast<const CSceneObject*>(object)) {
        const std::string name = scene->GetName();
        if (!name.empty())
            return TextFromCodePage(name);
    }
    return StringTableText(IDS_APP_TITLE);
}

}  // namespace

CScriptFrame::CScriptFrame(CVerdaxData* object, QWidget* parent) : QMdiSubWindow(parent), view_(new CScriptView)
{
    setObjectName(QStringLiteral("scriptFrame"));
    setWindowIcon(IconFromStrip(ItemIconStrip(), ICON_SCRIPT));
    setWidget(view_);
    view_->SetObject(object);
    view_->ReloadText();
    setWindowTitle(InitialTitle(object));
    resize(kDefaultSize);
}

void CScriptFrame::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    if (!placed_) {
        placed_ = true;
        KeepInsideArea(*this, true);
    }
}

void CScriptFrame::closeEvent(QCloseEvent* event)
{
    if (!view_->MayClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

void CScriptFrame::RefreshTitle()
{
    QString title = windowTitle();
    if (marked_)
        title.chop(kMark.size());
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(view_->GetObject()))
        title = TextFromCodePage(thing->GetName());
    marked_ = view_->HoldsPendingEdit();
    if (marked_)
        title += kMark;
    if (title != windowTitle())
        setWindowTitle(title);
}

void CScriptFrame::paintEvent(QPaintEvent* event)
{
    RefreshTitle();
    QMdiSubWindow::paintEvent(event);
}

}  // namespace ui
