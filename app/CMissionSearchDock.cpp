#include "app/CMissionSearchDock.h"

#include "app/CMainFrame.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/MatchedObject.h"
#include "game/SearchMatch.h"
#include "ui/CItemTreeView.h"
#include "ui/CMissionSearchPanel.h"
#include "ui/CScriptFrame.h"
#include "ui/CScriptView.h"
#include "ui/CodePageText.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QStatusTipEvent>

using namespace ui;

CMissionSearchDock::CMissionSearchDock(CMainFrame* frame)
    : QDockWidget(QStringLiteral("Найти во всех миссиях"), frame), frame_(frame), panel_(new CMissionSearchPanel(this))
{
    setObjectName(QStringLiteral("missionSearchBar"));
    setAccessibleName(windowTitle());
    setWidget(panel_);
    setFocusProxy(panel_);
    panel_->SetMissionCommand([frame](const std::function<void()>& command) { frame->RunMissionCommand(command); });
    panel_->SetActivate([this](const std::string& mission, const SearchMatch* match) { GoTo(mission, match); });
}

void CMissionSearchDock::ShowForSearch()
{
    show();
    raise();
    panel_->FocusPattern();
}

void CMissionSearchDock::GoTo(const std::string& missionName, const SearchMatch* match)
{
    CMission* mission = OpenMission(missionName);
    if (!mission)
        return;
    CItemTreeView* tree = frame_->GetItemTree();
    tree->SelectObject(mission);
    if (!match)
        return;
    CSceneObject* object = FindMatchedObject(*mission, *match);
    if (!object) {
        ShowMessage(QStringLiteral("В миссии %1 больше нет объекта %2")
                        .arg(TextFromCodePage(missionName), TextFromCodePage(match->object)));
        return;
    }
    tree->SelectObject(object);
    if (match->field != SearchField::kScript)
        return;
    if (CScriptView* view = ScriptWindowOf(object)) {
        view->Search().GoToLine(static_cast<int>(match->line));
        view->setFocus();
    }
}

// The mission named `name`, loaded through its tree item when it was not; null when
// it is gone from the catalogue or could not be loaded (the load told the user why).
CMission* CMissionSearchDock::OpenMission(const std::string& name)
{
    CItemTreeView* tree = frame_->GetItemTree();
    for (int i = 0; tree && i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        const auto* missionItem = dynamic_cast<const CItemTreeItem*>(item);
        auto* mission = missionItem ? dynamic_cast<CMission*>(missionItem->GetObject()) : nullptr;
        if (!mission || mission->GetName() != name)
            continue;
        tree->OpenMissionItem(item);
        return mission->IsLoaded() ? mission : nullptr;
    }
    ShowMessage(QStringLiteral("Миссии %1 больше нет в списке миссий").arg(TextFromCodePage(name)));
    return nullptr;
}

// The script window already open on `object`, brought forward, or a new one.
CScriptView* CMissionSearchDock::ScriptWindowOf(CSceneObject* object)
{
    for (QMdiSubWindow* child : frame_->MdiArea()->subWindowList()) {
        auto* script = dynamic_cast<CScriptFrame*>(child);
        if (script && script->View()->GetObject() == object) {
            frame_->MdiArea()->setActiveSubWindow(child);
            return script->View();
        }
    }
    return dynamic_cast<CScriptView*>(CDravoDon::Instance().OpenView(DON_VIEW_SCRIPT, object));
}

void CMissionSearchDock::ShowMessage(const QString& text)
{
    QStatusTipEvent tip(text);
    QApplication::sendEvent(frame_, &tip);
}
