// The search panel driven as a user drives it, on the demo game: typing a pattern
// and Enter, the field and option boxes, the result list filling from the worker,
// a pattern refused, stopping, a new search over one that runs, going to a result,
// and the editors' text taken in before anything is searched.

#include "core/GameFolders.h"
#include "game/CDravoRoot.h"
#include "tests/game/HeldMissionSource.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/MessagePresenter.h"
#include "platform/Registry.h"
#include "tests/support/TempDir.h"
#include "tools/demo/DemoGame.h"
#include "ui/CMissionSearchPanel.h"
#include "ui/CSearchResultModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <future>

using namespace ui;

namespace {

class MissionSearchPanel : public testing::Test {
protected:
    void SetUp() override
    {
        demo::WriteDemoGame(dir_.Path());
        platform::SetRegistry(&registry_);
        platform::SetFileSystem(&files_);
        platform::SetAnsiCodePage(1251);
        SetGameFolders(&root_);
        root_.SetInstallFolder(CDravoRoot::ReadInstallFolder());
        root_.ListMissions();
        panel_.SetMissionList([this] { return CMissionSearch::MissionsOf(root_); });
        panel_.resize(900, 400);
        panel_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel_));
    }
    void TearDown() override
    {
        SetGameFolders(nullptr);
        platform::SetAnsiCodePage(0);
        platform::SetFileSystem(nullptr);
        platform::SetRegistry(nullptr);
    }

    void Search(const QString& pattern)
    {
        panel_.PatternField()->setFocus();
        panel_.PatternField()->selectAll();
        Type(pattern);
        QTest::keyClick(panel_.PatternField(), Qt::Key_Return);
        WaitUntilDone();
    }

    // Character by character as key events carrying their text (QTest::keyClicks
    // knows only ASCII keys).
    void Type(const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, panel_.PatternField(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    void WaitUntilDone()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !panel_.Session().IsRunning(); }, 5000));
    }

    // Each shown row's cells, joined by '|'.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        const QAbstractItemModel* model = panel_.ResultList()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            rows.push_back(cells.join(u'|').toStdString());
        }
        return rows;
    }

    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    testsupport::TempDir dir_;
    platform::CWineRegistry registry_{dir_.Path()};
    platform::CWineFileSystem files_{dir_.Path()};
    platform::RecordingPresenter messages_;
    platform::ScopedPresenter scopedMessages_{messages_};
    CDravoRoot root_;
    CMissionSearchPanel panel_;
};

// The broken mission's error comes in its place among the matches; the Cyrillic
// mission's texts are shown from code page 1251; the worker shows no message.
TEST_F(MissionSearchPanel, ListsEveryScriptLineOfEveryMissionWithTheMissionsNotRead)
{
    Search(QStringLiteral("WEATHER_SET"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "broken_scene||||Файл объектов не прочитан: ошибка 4002 (fFile pos = 432)",
                          "forest_outpost|init|скрипт|1|weather_set fog",
                          "harbor_town|init|скрипт|2|weather_set clear",
                          "деревня|начало|скрипт|1|weather_set clear",
                      }));
    EXPECT_EQ(panel_.StatusLine()->text(), QStringLiteral("Найдено: 3 · миссий: 4 · не прочитано: 1"));
    EXPECT_FALSE(panel_.StopButton()->isEnabled());
    EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(MissionSearchPanel, TheFieldAndOptionBoxesChooseWhatIsSearched)
{
    Click(panel_.FieldBox(SearchField::kScript));
    Search(QStringLiteral("weather_set"));
    EXPECT_EQ(panel_.StatusLine()->text(), QStringLiteral("Ничего не найдено · миссий: 4 · не прочитано: 1"));

    Click(panel_.FieldBox(SearchField::kName));
    Click(panel_.FieldBox(SearchField::kSector));
    Search(QStringLiteral("tree.i3d"));  // only models are left
    const auto rows = Rows();
    ASSERT_GT(rows.size(), 1u);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_TRUE(rows[i].ends_with("|модель||tree.i3d")) << rows[i];

    Click(panel_.FieldBox(SearchField::kName));
    Click(panel_.FieldBox(SearchField::kModel));
    Click(panel_.RegexBox());
    Search(QStringLiteral("^Сто"));  // "Сторож", a thing and its data, not "Старый дуб"
    EXPECT_EQ(Rows(), (std::vector<std::string>{Rows().front(), "деревня|Сторож|имя||Сторож",
                                                "деревня|Сторож|имя||Сторож"}));
    Click(panel_.CaseBox());
    Search(QStringLiteral("^сто"));
    EXPECT_EQ(Rows().size(), 1u);  // the broken mission alone
}

// What was found stays listed under the explanation.
TEST_F(MissionSearchPanel, APatternThatCannotBeUsedIsExplainedAndStartsNothing)
{
    Search(QStringLiteral("guard"));
    const auto found = Rows();
    ASSERT_GT(found.size(), 1u);
    Click(panel_.RegexBox());
    Search(QStringLiteral("guard("));
    EXPECT_TRUE(panel_.StatusLine()->text().startsWith(QStringLiteral("Регулярное выражение не годится: ")));
    EXPECT_TRUE(panel_.StatusLine()->text().contains(QStringLiteral("at character 7")));
    EXPECT_EQ(Rows(), found);

    panel_.PatternField()->clear();
    QTest::keyClick(panel_.PatternField(), Qt::Key_Return);
    EXPECT_EQ(panel_.StatusLine()->text(), QStringLiteral("Введите, что искать."));
    for (SearchField field : {SearchField::kName, SearchField::kModel, SearchField::kSector, SearchField::kScript})
        Click(panel_.FieldBox(field));
    Search(QStringLiteral("guard"));
    EXPECT_TRUE(panel_.StatusLine()->text().startsWith(QStringLiteral("Отметьте, где искать")));
    EXPECT_EQ(Rows(), found);
}

// The harbour's matches come from its file at once; the held mission after it
// keeps the search running until Escape (then "Остановить") stops it.
TEST_F(MissionSearchPanel, ResultsComeWhileTheSearchRunsAndStoppingKeepsThem)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    panel_.SetMissionList([&] {
        CMissionSearch::Missions missions = CMissionSearch::MissionsOf(root_);
        missions.push_back(std::make_unique<HeldMissionSource>("zz_held", released));
        return missions;
    });
    Type(QStringLiteral("gate"));
    QTest::keyClick(panel_.PatternField(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([this] { return panel_.Session().GetCounts().searched == 4; }, 5000));
    EXPECT_TRUE(panel_.Session().IsRunning());
    EXPECT_TRUE(panel_.StopButton()->isEnabled());
    EXPECT_TRUE(std::ranges::any_of(Rows(), [](const std::string& row) { return row.starts_with("harbor_town|guard_gate|"); }));
    EXPECT_TRUE(panel_.StatusLine()->text().startsWith(QStringLiteral("Поиск… найдено: ")));
    const auto before = Rows();

    QTest::keyClick(panel_.PatternField(), Qt::Key_Escape);
    release.set_value();
    WaitUntilDone();
    EXPECT_EQ(panel_.Session().GetState(), CMissionSearchSession::State::kStopped);
    EXPECT_EQ(Rows(), before);
    EXPECT_TRUE(panel_.StatusLine()->text().startsWith(QStringLiteral("Остановлено · ")));
    EXPECT_TRUE(panel_.StatusLine()->text().contains(QStringLiteral("миссий: 4 из 5")));
}

// The first search is held in its last mission; "Найти" again lists the new
// search's results alone, and the old one's never come.
TEST_F(MissionSearchPanel, ANewSearchReplacesOneThatRuns)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool hold = true;
    panel_.SetMissionList([&] {
        CMissionSearch::Missions missions = CMissionSearch::MissionsOf(root_);
        if (hold)
            missions.push_back(std::make_unique<HeldMissionSource>("zz_held", released));
        return missions;
    });
    Type(QStringLiteral("gate"));
    Click(panel_.FindButton());
    EXPECT_TRUE(QTest::qWaitFor([this] { return panel_.Session().GetCounts().searched == 4; }, 5000));
    hold = false;
    panel_.PatternField()->selectAll();
    Type(QStringLiteral("sniper"));
    Click(panel_.FindButton());
    WaitUntilDone();
    release.set_value();
    QTest::qWait(50);  // the old search's last words, which must not reach the list
    const auto rows = Rows();
    EXPECT_EQ(std::vector<std::string>(rows.begin() + 1, rows.end()),
              (std::vector<std::string>{"harbor_town|sniper_roof|имя||sniper_roof",
                                        "harbor_town|sniper_roof|скрипт|1|// the sniper was removed from this mission"}));
    EXPECT_EQ(panel_.Session().GetState(), CMissionSearchSession::State::kFinished);
}

// Double-click and Enter on a row go to it; the broken mission's row gives its
// outcome without a match.
TEST_F(MissionSearchPanel, DoubleClickOrEnterOnAResultGoesToIt)
{
    std::vector<std::string> goneTo;
    panel_.SetActivate([&](const std::string& mission, const SearchMatch* match) {
        goneTo.push_back(mission + ":" + (match ? match->object + ":" + std::to_string(match->line) : "-"));
    });
    Search(QStringLiteral("weather_set"));
    QTreeView* list = panel_.ResultList();
    QApplication::processEvents();  // the list lays its new rows out
    const QRect second = list->visualRect(list->model()->index(2, CSearchResultModel::kText));
    // A user's double-click: the press and release of the first click, then the second.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(goneTo, (std::vector<std::string>{"harbor_town:init:2", "broken_scene:-"}));
}

// A screen reader names every control; the boxes by their own text.
TEST_F(MissionSearchPanel, EveryControlHasAnAccessibleName)
{
    std::vector<QWidget*> controls{panel_.PatternField(), panel_.RegexBox(), panel_.CaseBox(), panel_.FindButton(),
                                   panel_.StopButton(), panel_.StatusLine(), panel_.ResultList()};
    for (SearchField field : {SearchField::kName, SearchField::kModel, SearchField::kSector, SearchField::kScript})
        controls.push_back(panel_.FieldBox(field));
    for (QWidget* control : controls)
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
    EXPECT_EQ(panel_.FieldBox(SearchField::kSector)->accessibleName(), QStringLiteral("секторы"));
    // None left out above.
    EXPECT_EQ(panel_.findChildren<QCheckBox*>().size() + panel_.findChildren<QPushButton*>().size(), 8);
}

// The search waits for the editors' text; when that fails it does not start.
TEST_F(MissionSearchPanel, SearchesOnlyOnceTheEditorsTextIsTakenIn)
{
    bool taken = false;
    panel_.SetMissionCommand([&](const std::function<void()>& command) {
        if (taken)
            command();
    });
    Type(QStringLiteral("gate"));
    QTest::keyClick(panel_.PatternField(), Qt::Key_Return);
    EXPECT_EQ(panel_.Session().GetState(), CMissionSearchSession::State::kIdle);
    taken = true;
    QTest::keyClick(panel_.PatternField(), Qt::Key_Return);
    WaitUntilDone();
    EXPECT_EQ(panel_.Session().GetState(), CMissionSearchSession::State::kFinished);
}

}  // namespace
