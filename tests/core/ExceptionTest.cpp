#include "core/CVerdaxException.h"
#include "core/StringTable.h"
#include "platform/MessagePresenter.h"

#include <gtest/gtest.h>

using platform::RecordingPresenter;

TEST(VerdaxException, CodeAloneShowsNothing)
{
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    try {
        throw CVerdaxException(VERDAX_ERR_OPEN_READ);
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), 3002);
        EXPECT_TRUE(e.GetText().empty());
    }
    EXPECT_TRUE(shown.entries.empty());
}

TEST(VerdaxException, TextIsShownOnceThoughCopiedAndRethrown)
{
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    try {
        try {
            try {
                throw CVerdaxException(VERDAX_ERR_CHUNK_ID, "fFile pos = 42");
            } catch (const CVerdaxException& e) {
                const CVerdaxException copy = e;  // a catch point that cleans up takes a copy
                EXPECT_EQ(copy.GetText(), "fFile pos = 42");
                throw;
            }
        } catch (const CVerdaxException& e) {
            throw CVerdaxException(e);  // passed on by value
        }
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), 4002);
        EXPECT_EQ(e.GetText(), "fFile pos = 42");
    }
    ASSERT_EQ(shown.entries.size(), 1u);
    EXPECT_EQ(shown.entries[0], (RecordingPresenter::Entry{0, "fFile pos = 42"}));
}

TEST(VerdaxException, WhatCarriesNothingOfTheProgram)
{
    platform::RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    const CVerdaxException e(VERDAX_ERR_FOREIGN, "fFile pos = 7");
    EXPECT_STREQ(e.what(), std::exception().what());
}

TEST(StringTable, MessagesAndCaptionsAsTheUserSeesThem)
{
    EXPECT_EQ(LoadString(IDS_APP_TITLE), "Verdax");
    EXPECT_EQ(LoadString(IDR_MAINFRAME), "Verdax");
    EXPECT_EQ(LoadString(IDS_ERR_FOREIGN), "Внешняя ошибка. Не могу загрузить миссию.");
    EXPECT_EQ(LoadString(IDS_ERR_MISSION_LOAD), "Сорри, миссия не может быть загружена.");
    EXPECT_EQ(LoadString(IDS_ERR_NO_MISSION_SELECTED), "Сорри, невозможно определить, какая миссия выбрана.");
    EXPECT_EQ(LoadString(IDS_ERR_REGISTRY), "Сорри, невозможно открыть ветку реестра. Переустановить игру.");
    EXPECT_EQ(LoadString(IDS_CATEGORY_WHOLE), " Целое");
    EXPECT_EQ(LoadString(IDS_PROMPT_SAVE_MISSION), "Записать миссию на диск...");
    EXPECT_TRUE(LoadString(4711).empty());
}

TEST(StringTable, ShowStringMessageGoesThroughThePresenterById)
{
    RecordingPresenter shown;
    platform::ScopedPresenter scope(shown);
    ShowStringMessage(IDS_ERR_MISSION_LOAD);
    ASSERT_EQ(shown.entries.size(), 1u);
    EXPECT_EQ(shown.entries[0].id, 1001);
    EXPECT_EQ(shown.entries[0].text, "Сорри, миссия не может быть загружена.");
}
