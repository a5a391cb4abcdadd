#include "app/CMainFrameBars.h"

#include "app/CMainFrame.h"
#include "app/CMissionSearchDock.h"
#include "ui/CChangesPanel.h"
#include "ui/CEditBar.h"
#include "ui/CEditHistory.h"
#include "ui/CItemTreeView.h"
#include "ui/CMainToolBar.h"
#include "ui/CMissionTreePane.h"
#include "ui/CSizingTabCtrlBar.h"
#include "ui/CommandIds.h"
#include "ui/StringTableText.h"

using namespace ui;

namespace {

constexpr QSize kObjectBarSize(250, 100);

}  // namespace

CMainFrameBars::CMainFrameBars(CMainFrame& frame, QObject& context, std::function<void()> commandStateChanged)
    : frame_(frame), context_(context), commandStateChanged_(std::move(commandStateChanged))
{
}

void CMainFrameBars::CreateToolBar(const CCommandSet& commands)
{
    toolBar_ = new CMainToolBar(&frame_, commands);
    frame_.addToolBar(Qt::TopToolBarArea, toolBar_);
}

bool CMainFrameBars::CreatePanels(CEditHistory& history)
{
    if (!CreateObjectBar(history))
        return false;
    CreateEditBar();
    // The bars at the sides keep the window's height; one at the bottom stands
    // under the document area alone.
    frame_.setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    frame_.setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    searchBar_ = new CMissionSearchDock(&frame_);
    frame_.addDockWidget(Qt::BottomDockWidgetArea, searchBar_);
    searchBar_->hide();
    return true;
}

bool CMainFrameBars::CreateObjectBar(CEditHistory& history)
{
    objectBar_ = new CSizingTabCtrlBar(QStringLiteral("Object Bar"), &frame_, kObjectBarSize, ID_OBJECT_BAR);
    frame_.addDockWidget(Qt::LeftDockWidgetArea, objectBar_);
    QObject::connect(objectBar_, &QDockWidget::visibilityChanged, &context_, commandStateChanged_);
    // The mission tree comes into being here and registers with the mediator.
    missionPane_ = new CMissionTreePane;
    // What the object commands act on is the tree's current item.
    QObject::connect(missionPane_->Tree(), &QTreeWidget::currentItemChanged, &context_, commandStateChanged_);
    if (!objectBar_->AddTabView(StringTableText(IDS_MISSIONS_TAB), missionPane_))
        return false;
    changesPanel_ = new CChangesPanel(missionPane_->Tree());
    // Every step done, undone or redone, and every save, may change what a save would write.
    const auto changed = [panel = changesPanel_] { panel->NoteChange(); };
    QObject::connect(&history.Group(), &QUndoGroup::indexChanged, changesPanel_, changed);
    QObject::connect(&history.Group(), &QUndoGroup::cleanChanged, changesPanel_, changed);
    return objectBar_->AddTabView(StringTableText(IDS_CHANGES_TAB), changesPanel_);
}

void CMainFrameBars::CreateEditBar()
{
    editBar_ = new CEditBar(&frame_);
    frame_.addDockWidget(Qt::RightDockWidgetArea, editBar_);
    QObject::connect(editBar_, &QDockWidget::visibilityChanged, &context_, commandStateChanged_);
}
