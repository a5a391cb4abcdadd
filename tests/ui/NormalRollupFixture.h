#pragma once
// The property roll-up on a mission of its own, shown in a window: things of the
// kinds that decide its pages ("crate" of kind 2 with a transform, "odd" of kind 5,
// "k4097", "guard" of kind 5 with a kind-27 script, "door" of kind 4098 with a
// kind-5 script), a thing data block without a script and a mission script "init".

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "tests/support/TempDir.h"
#include "tools/demo/SceneWriter.h"
#include "ui/CNormalRollupControl.h"
#include "ui/CRollupPage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace testsupport {

// A view that only holds an object, as a selecting view does.
struct SenderView final : CDravoDonView {
    void Notify(CDravoDonView*, int, int) override {}
};

// A registered view that records what reaches it.
struct RecordingView final : CDravoDonView {
    RecordingView() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView* sender, int code, int) override
    {
        codes.push_back(code);
        objects.push_back(sender ? sender->GetObject() : nullptr);
    }
    std::vector<int> codes;
    std::vector<CVerdaxData*> objects;
};

// The main window's part in opening windows: records the requests, opens nothing.
struct RecordingHost final : IDravoDonHost {
    CDravoDonView* OpenView(int kind, CVerdaxData* object) override
    {
        requests.emplace_back(kind, object);
        return nullptr;
    }
    IMissionTree* GetMissionTree() override { return nullptr; }
    std::vector<std::pair<int, CVerdaxData*>> requests;
};

inline demo::SceneThing Thing(std::int32_t kind, std::string name)
{
    demo::SceneThing t;
    t.kind = kind;
    t.name = std::move(name);
    if (kind == demo::thing::kData1001)
        t.payload = std::string(236, '\0');
    return t;
}

inline demo::SceneThingData Data(std::int32_t kind, std::string name, std::string script = {})
{
    demo::SceneThingData d;
    d.kind = kind;
    d.name = std::move(name);
    d.script = std::move(script);
    if (kind != demo::thingdata::kScript && kind != demo::thingdata::kScript27)
        d.raw = "raw!";
    return d;
}

inline demo::SceneFileData Scene()
{
    demo::SceneFileData scene;
    scene.things = {Thing(demo::thing::kBlock2, "crate"), Thing(5, "odd"), Thing(demo::thing::kData1001, "k4097"),
                    Thing(5, "guard"), Thing(demo::thing::kPlain, "door")};
    scene.things[0].translation = {1.0f, 2.5f, -3.0f};
    scene.things[0].scale = {2.0f, 2.0f, 0.5f};
    scene.thingData = {Data(8, "crate"), Data(demo::thingdata::kScript27, "guard", "guard script\r\n"),
                       Data(demo::thingdata::kScript, "door", "door script\r\n")};
    scene.missionScripts = {{1, "init", "end\r\n"}};
    return scene;
}

class NormalRollupTest : public ::testing::Test {
protected:
    NormalRollupTest() : scope_(shown_)
    {
        dir_.Write("m/scene2.bin", demo::WriteScene2(Scene()));
        mission_ = std::make_unique<CMission>("m", CMission::ExplicitFolder{(dir_.Path() / "m").string() + "/"});
        mission_->Load();
        shown_.entries.clear();  // the missing world model
        rollup_.resize(166, 498);
        rollup_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&rollup_));
    }

    CSceneObjectThing& ThingNamed(const std::string& name)
    {
        for (const auto& thing : mission_->GetThings())
            if (thing->GetName() == name)
                return *thing;
        throw std::logic_error("no thing " + name);
    }

    void Select(CVerdaxData* object)
    {
        sender_.SetObject(object);
        CDravoDon::Instance().Broadcast(&sender_, DON_OBJECT_SELECTED, 0);
    }

    // Which of the five pages are usable.
    std::vector<bool> Enabled() const
    {
        std::vector<bool> enabled;
        for (int i = 0; i < rollup_.PageCount(); ++i)
            enabled.push_back(rollup_.PageAt(i)->enabled);
        return enabled;
    }

    QLineEdit* Field(int id) const
    {
        for (int i = 0; i < rollup_.PageCount(); ++i)
            if (auto* field = qobject_cast<QLineEdit*>(static_cast<ui::CRollupPage*>(rollup_.PageAt(i)->page)->Control(id)))
                return field;
        return nullptr;
    }

    // Replaces the field's text by typing, as the user does.
    static void Type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        // Key by key; QTest knows no keys for letters beyond ASCII, so those come as
        // key events that carry only their text.
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    testsupport::TempDir dir_;
    std::unique_ptr<CMission> mission_;
    ui::CNormalRollupControl rollup_;
    SenderView sender_;
    RecordingView watcher_;
};

}  // namespace testsupport
