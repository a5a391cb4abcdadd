// The whole story in real processes: an editor on the demo game edits a thing,
// writes its recovery copy and is killed with SIGKILL; a new editor offers the
// copy, restores it and saves the bytes the killed one would have saved. The
// game's Wine prefix sees nothing but that save.

#include "tests/app/RecoveryOnDemo.h"

#include "ui/CommandIds.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QProcess>

#include <csignal>

namespace {

constexpr const char* kChildVariable = "VERDAX_TEST_CHILD";

// Clicks "Восстановить" in the recovery box once it shows.
void RestoreWhenAsked(QTimer& timer)
{
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&timer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == "Восстановить") {
                timer.stop();
                QTest::mouseClick(button, Qt::LeftButton);
            }
        }
    });
    timer.start();
}

}  // namespace

// Run only as the child of the test below: the editor whose work is lost.
TEST(RecoveryChild, EditsAndWaitsToBeKilled)
{
    const char* expected = std::getenv(kChildVariable);
    if (!expected)
        GTEST_SKIP() << "run by RecoveryAfterKill";
    auto& app = *static_cast<CVerdaxApp*>(qApp);
    ASSERT_TRUE(app.InitInstance());
    CMission* harbour = nullptr;
    for (const auto& mission : CDravoDon::Instance().GetRoot().GetMissions())
        if (mission->GetName() == demo::kHarbourMission)
            harbour = mission.get();
    ASSERT_NE(harbour, nullptr);
    ASSERT_TRUE(CDravoDon::Instance().GetRoot().LoadMission(harbour));
    ObjectEdit edit;
    edit.kind = EditKind::Translate;
    edit.translation = Vector3{11.0f, 12.0f, 13.0f};
    CDravoDon::Instance().ApplyEdit(nullptr, *harbour->FindThing("barrel_1"), edit);
    std::ofstream(expected, std::ios::binary) << SavedBytes(*harbour);
    for (;;)
        QTest::qWait(100);
}

TEST(RecoveryAfterKill, ANewEditorOffersAndRestoresTheWorkOfAKilledOne)
{
    testsupport::TempDir dir;
    const auto prefix = dir.Path() / "prefix";
    const auto state = dir.Path() / "state";
    const auto expected = dir.Path() / "expected.bin";
    demo::WriteDemoGame(prefix);
    const auto prefixBefore = FilesUnder(prefix);
    // The editor's program name: an entry of a running "verdax" is another editor's.
    const auto program = dir.Path() / "verdax";
    std::filesystem::copy_file(QCoreApplication::applicationFilePath().toStdString(), program);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("WINEPREFIX", QString::fromStdString(prefix.string()));
    environment.insert("XDG_STATE_HOME", QString::fromStdString(state.string()));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.Path() / "config").string()));
    environment.insert("VERDAX_AUTOSAVE_S", "0.3");
    environment.insert(kChildVariable, QString::fromStdString(expected.string()));
    QProcess killed;
    killed.setProcessEnvironment(environment);
    killed.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    killed.start(QString::fromStdString(program.string()), {"--gtest_filter=RecoveryChild.*"});
    ASSERT_TRUE(killed.waitForStarted());

    CRecoveryStore store(state / "verdax" / "recovery");
    const auto copied = [&] {
        const RecoveryListing listing = store.List(demo::kDemoInstallFolder);
        EXPECT_TRUE(listing.left.empty());  // a running editor's copy is not offered
        return std::filesystem::exists(expected) && listing.running.size() == 1 && listing.running[0].HasCopy() &&
               store.ReadCopy(listing.running[0]).bytes == testsupport::ReadFile(expected);
    };
    ASSERT_TRUE(QTest::qWaitFor(copied, 60000));
    ::kill(static_cast<pid_t>(killed.processId()), SIGKILL);
    ASSERT_TRUE(killed.waitForFinished());
    EXPECT_EQ(FilesUnder(prefix), prefixBefore);

    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    QTimer answer;
    RestoreWhenAsked(answer);
    auto& app = *static_cast<CVerdaxApp*>(qApp);
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.GetMainFrame();
    EXPECT_FALSE(answer.isActive());  // asked, and answered
    CMission* harbour = frame->MissionToSave();
    ASSERT_NE(harbour, nullptr);
    EXPECT_EQ(harbour->GetName(), demo::kHarbourMission);
    EXPECT_TRUE(CDravoDon::Instance().IsMissionModified(*harbour));
    frame->Action(ui::ID_FILE_SAVE)->trigger();

    const auto output = prefix / demo::kDemoInstallPath / "Missions" / demo::kHarbourMission / "scene2.bin.Verdax";
    EXPECT_TRUE(testsupport::ReadFile(output) == testsupport::ReadFile(expected));
    auto prefixAfter = FilesUnder(prefix);
    EXPECT_EQ(prefixAfter.erase(output), 1u);
    EXPECT_EQ(prefixAfter, prefixBefore);
    frame->Autosave().WaitUntilWritten();
    const RecoveryListing after = store.List(demo::kDemoInstallFolder);
    EXPECT_TRUE(after.left.empty());
    EXPECT_TRUE(after.running.empty());
}
