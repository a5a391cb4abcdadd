#include "platform/CodePage.h"
#include "tests/ui/EditedMission.h"
#include "ui/CScriptCtrl.h"
#include "ui/CodePageText.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace ui;
using testsupport::EveryByteScript;

namespace {

class ScriptText : public testing::TestWithParam<int> {
protected:
    ScriptText() { platform::SetAnsiCodePage(GetParam()); }
    ~ScriptText() override { platform::SetAnsiCodePage(0); }

    CScriptCtrl control;
};

}  // namespace

TEST_P(ScriptText, EveryByteAndLineEndComesBackUnchanged)
{
    const std::string script = EveryByteScript();
    ASSERT_GT(script.size(), 3000u);
    control.StreamTextIn(script);
    EXPECT_EQ(control.StreamTextOut(), script);

    control.StreamTextIn("");  // an empty script gives an empty control, and back
    EXPECT_TRUE(control.toPlainText().isEmpty());
    EXPECT_EQ(control.StreamTextOut(), "");
    control.StreamTextIn("trailing\r\n");
    EXPECT_EQ(control.StreamTextOut(), "trailing\r\n");
}

TEST_P(ScriptText, ALineTheUserStartsEndsAsTheFirstLineDid)
{
    control.StreamTextIn("a\nb");
    control.setReadOnly(false);
    control.moveCursor(QTextCursor::End);
    QTest::keyClick(&control, Qt::Key_Return);
    QTest::keyClicks(&control, "c");
    EXPECT_EQ(control.StreamTextOut(), "a\nb\nc");

    control.StreamTextIn("single line");
    control.moveCursor(QTextCursor::End);
    QTest::keyClick(&control, Qt::Key_Return);
    EXPECT_EQ(control.StreamTextOut(), "single line\r\n");  // the game's line end
}

TEST_P(ScriptText, ACharacterTheCodePageCannotHoldIsRefusedAndNamed)
{
    control.setPlainText(QStringLiteral("ok \u4e2d"));
    QString refused;
    EXPECT_FALSE(control.StreamTextOut(&refused).has_value());
    EXPECT_EQ(refused, QStringLiteral("\u4e2d"));
    EXPECT_TRUE(UnrepresentableMessage(refused).contains(QStringLiteral("U+4e2d")));
    EXPECT_EQ(TextToCodePage(QStringLiteral("a?b")), "a?b");  // a real question mark is kept
}

INSTANTIATE_TEST_SUITE_P(CodePages, ScriptText, testing::Values(1250, 1251, 1252));
