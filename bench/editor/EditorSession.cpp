#include "bench/editor/EditorSession.h"

#include "app/CMainFrame.h"
#include "app/CVerdaxApp.h"
#include "game/CMission.h"
#include "tools/demo/ScaledMission.h"
#include "ui/CItemTreeView.h"
#include "view3d/CGlView.h"

#include <QMdiSubWindow>
#include <QTest>

#include <cstdlib>

CEditorSession::CEditorSession(int& argc, char** argv, const std::filesystem::path& prefix)
{
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    app_ = std::make_unique<CVerdaxApp>(argc, argv);
    if (!app_->InitInstance()) {
        failure_ = QStringLiteral("the editor did not start");
        return;
    }
    frame_ = app_->GetMainFrame();
    if (!QTest::qWaitForWindowExposed(frame_)) {
        failure_ = QStringLiteral("the main window was never shown");
        return;
    }
    worldView_ = frame_->WorldView();
    if (!worldView_) {
        failure_ = QStringLiteral("no world window");
        return;
    }
    for (QWidget* parent = worldView_->parentWidget(); parent; parent = parent->parentWidget()) {
        if (auto* child = qobject_cast<QMdiSubWindow*>(parent)) {
            child->showMaximized();
            break;
        }
    }
    for (int i = 0; i < Tree().topLevelItemCount(); ++i) {
        auto* item = dynamic_cast<ui::CItemTreeItem*>(Tree().topLevelItem(i));
        auto* mission = item ? dynamic_cast<CMission*>(item->GetObject()) : nullptr;
        if (mission && mission->GetName() == demo::kScaledMission) {
            missionItem_ = item;
            mission_ = mission;
        }
    }
    if (!mission_)
        failure_ = QStringLiteral("the mission is not in the tree");
    Settle();
}

CEditorSession::~CEditorSession()
{
    if (app_)
        app_->ExitInstance(0);
}

ui::CItemTreeView& CEditorSession::Tree() const
{
    return *frame_->GetItemTree();
}

void CEditorSession::Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}
