#pragma once
// A mission tree for the tests of its rows and of its selection, with missions
// written by the demo's scene writer into a folder of its own, and a view that
// records what the mediator delivers.

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/MessagePresenter.h"
#include "tests/support/TempDir.h"
#include "tools/demo/DemoScenes.h"
#include "tools/demo/SceneWriter.h"
#include "ui/CItemTreeView.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace uitest {

using namespace ui;

// A view that records what the mediator delivers: the code and the sender's object.
struct RecordingView final : CDravoDonView {
    RecordingView() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView* sender, int code, int) override
    {
        codes.push_back(code);
        objects.push_back(sender->GetObject());
    }
    std::vector<int> codes;
    std::vector<CVerdaxData*> objects;
};

inline demo::SceneThing Thing(std::string name, std::string model)
{
    demo::SceneThing t;
    t.kind = demo::thing::kModel;
    t.name = std::move(name);
    t.modelName = std::move(model);
    return t;
}

inline demo::SceneThingData Data(std::int32_t kind, std::string name)
{
    demo::SceneThingData d;
    d.kind = kind;
    d.name = std::move(name);
    if (kind != demo::thingdata::kScript && kind != demo::thingdata::kScript27)
        d.raw = "raw!";
    return d;
}

// Things of every icon: linked to kind 5 (also the one without a name, through the
// thing data without a name), kind 27, a raw kind, and none.
inline demo::SceneFileData MixedScene(const std::string& prefix)
{
    demo::SceneFileData scene;
    scene.things = {Thing(prefix + "door", "door.4ds"), Thing(prefix + "guard", "man.4ds"),
                    Thing(prefix + "crate", "crate.4ds"), Thing("", "barrel.4ds"), Thing(prefix + "lamp", "lamp.4ds")};
    scene.thingData = {Data(demo::thingdata::kScript, prefix + "door"),
                       Data(demo::thingdata::kScript27, prefix + "guard"), Data(8, prefix + "crate"),
                       Data(demo::thingdata::kScript, "")};
    scene.missionScripts = {{1, prefix + "init", "end\r\n"}, {1, "", ""}};
    return scene;
}

inline QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class ItemTreeTest : public ::testing::Test {
protected:
    ItemTreeTest() : scope_(shown_) {}

    CMission* MakeMission(const std::string& name, const std::string& sceneBytes)
    {
        dir_.Write(name + "/scene2.bin", sceneBytes);
        missions_.push_back(
            std::make_unique<CMission>(name, CMission::ExplicitFolder{(dir_.Path() / name).string() + "/"}));
        return missions_.back().get();
    }

    CMission* MakeMission(const std::string& name) { return MakeMission(name, demo::WriteScene2(MixedScene(name + "_"))); }

    void ShowTree()
    {
        tree_->resize(300, 600);
        tree_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tree_.get()));
        // Receiving the focus makes the first item current; start with none.
        tree_->setCurrentItem(nullptr);
        recorder_.codes.clear();
        recorder_.objects.clear();
    }

    CItemTreeItem* Child(QTreeWidgetItem* parent, const QString& text)
    {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == text)
                return static_cast<CItemTreeItem*>(parent->child(i));
        return nullptr;
    }

    // A mission that did not load ends the test as a failure (the exception), not
    // as a crash on nodes that are not there.
    CItemTreeItem* OpenedMission(CMission* mission)
    {
        CItemTreeItem* item = tree_->AddMissionItem(mission);
        tree_->OpenMissionItem(item);
        if (!mission->IsLoaded() || item->childCount() != 4)
            throw std::runtime_error("the mission did not open: " + mission->GetName());
        item->setExpanded(true);
        for (int i = 0; i < item->childCount(); ++i)
            item->child(i)->setExpanded(true);
        return item;
    }

    void Click(QTreeWidgetItem* item)
    {
        tree_->scrollToItem(item);
        QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, tree_->visualItemRect(item).center());
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    testsupport::TempDir dir_;
    std::vector<std::unique_ptr<CMission>> missions_;  // outlive the tree, as the root's do
    std::unique_ptr<CItemTreeView> tree_ = std::make_unique<CItemTreeView>();
    RecordingView recorder_;
};

}  // namespace uitest
