#pragma once
// The editor on the demo game, started as the program starts it, with the harbour
// mission opened in the tree and its barrel selected; the unsaved-changes question
// is answered by the test.

#include "app/CMainFrame.h"
#include "app/CVerdaxApp.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "scene/CSceneObjectMissionScript.h"
#include "tests/app/MessageBoxWatcher.h"
#include "tests/support/TempDir.h"
#include "tools/demo/DemoGame.h"
#include "ui/CItemTreeView.h"
#include "ui/CScriptView.h"
#include "ui/IUnsavedChangesPrompt.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// Answers the question as told and keeps what it was asked.
class AnsweringPrompt final : public ui::IUnsavedChangesPrompt {
public:
    ui::UnsavedAnswer Ask(const QStringList& missions) override
    {
        asked.push_back(missions);
        return answer;
    }
    ui::UnsavedAnswer answer = ui::UnsavedAnswer::Cancel;
    std::vector<QStringList> asked;
};

class EditorOnDemo : public ::testing::Test {
protected:
    EditorOnDemo()
    {
        demo::WriteDemoGame(prefix_);
        setenv("WINEPREFIX", prefix_.c_str(), 1);
        auto& app = *static_cast<CVerdaxApp*>(qApp);
        EXPECT_TRUE(app.InitInstance());
        frame_ = app.GetMainFrame();
        tree_ = frame_->GetItemTree();
        frame_->SetUnsavedChangesPrompt(&prompt_);
        QApplication::setActiveWindow(frame_);
        for (const auto& mission : CDravoDon::Instance().GetRoot().GetMissions())
            if (mission->GetName() == demo::kHarbourMission)
                harbour_ = mission.get();
        EXPECT_NE(harbour_, nullptr);
        tree_->OpenMissionItem(MissionItem());
        barrel_ = harbour_->FindThing("barrel_1");
        EXPECT_NE(barrel_, nullptr);
        tree_->SelectObject(barrel_);  // the undo keys act on the mission of what is selected
    }

    QTreeWidgetItem* MissionItem() const
    {
        for (int i = 0; i < tree_->topLevelItemCount(); ++i)
            if (static_cast<ui::CItemTreeItem*>(tree_->topLevelItem(i))->GetObject() == harbour_)
                return tree_->topLevelItem(i);
        return nullptr;
    }

    void Move(Vector3 to)
    {
        ObjectEdit edit;
        edit.kind = EditKind::Move;
        edit.gesture = CDravoDon::Instance().NewGesture();
        edit.translation = to;
        CDravoDon::Instance().ApplyEdit(nullptr, *barrel_, edit);
    }

    void KeyOnTree(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        tree_->setFocus();
        QApplication::processEvents();
        QTest::keyClick(tree_, key, modifiers);
    }

    // A script window on the harbour's first mission script, focused, its caret at
    // the end of the text.
    ui::CScriptView* OpenFocusedScriptWindow()
    {
        auto* view = dynamic_cast<ui::CScriptView*>(
            CDravoDon::Instance().OpenView(DON_VIEW_SCRIPT, harbour_->GetMissionScripts().at(0).get()));
        EXPECT_NE(view, nullptr);
        frame_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame_));
        view->setFocus();
        view->moveCursor(QTextCursor::End);
        return view;
    }

    std::filesystem::path OutputFile() const
    {
        return prefix_ / demo::kDemoInstallPath / "Missions" / demo::kHarbourMission / "scene2.bin.Verdax";
    }

    testsupport::TempDir dir_;
    std::filesystem::path prefix_ = dir_.Path() / "prefix";
    AnsweringPrompt prompt_;
    MessageBoxWatcher boxes_;
    CMainFrame* frame_ = nullptr;
    ui::CItemTreeView* tree_ = nullptr;
    CMission* harbour_ = nullptr;
    CSceneObjectThing* barrel_ = nullptr;
};

