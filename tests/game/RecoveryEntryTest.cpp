// The recovery entry's description text and the names of entries.

#include "game/RecoveryEntry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

RecoveryEntry Sample()
{
    RecoveryEntry entry;
    entry.installFolder = "C:\\Games\\Dravo 2\\";
    entry.missionName = "\xE4\xE5\xF0\xE5\xE2\xED\xFF";  // "деревня" in code page 1251
    entry.savedAt = 1714564800;
    entry.writer = {4242, 987654321, "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"};
    entry.undoSteps = 12;
    entry.copy = "b";
    entry.copySize = 4123456;
    entry.copyHash = 0xfedcba9876543210ull;
    return entry;
}

void ExpectSame(const RecoveryEntry& a, const RecoveryEntry& b)
{
    EXPECT_EQ(a.installFolder, b.installFolder);
    EXPECT_EQ(a.missionName, b.missionName);
    EXPECT_EQ(a.savedAt, b.savedAt);
    EXPECT_EQ(a.writer, b.writer);
    EXPECT_EQ(a.undoSteps, b.undoSteps);
    EXPECT_EQ(a.copy, b.copy);
    EXPECT_EQ(a.copySize, b.copySize);
    EXPECT_EQ(a.copyHash, b.copyHash);
}

// The text without the line of `key`, or with its value replaced.
std::string WithLine(std::string text, const std::string& key, const std::string& line)
{
    const std::size_t at = text.find("\n" + key + "=");
    const std::size_t end = text.find('\n', at + 1);
    return text.replace(at + 1, end - at, line.empty() ? "" : line + "\n");
}

}  // namespace

// Every byte value, those that make lines and fields included, comes back.
TEST(RecoveryDescription, NamesOfAnyBytesComeBackAndTheTextStaysPlainAscii)
{
    RecoveryEntry entry = Sample();
    for (int byte = 0; byte < 256; ++byte)
        entry.missionName += static_cast<char>(byte);
    entry.installFolder += "%41=\n\r";
    const std::string text = FormatRecoveryDescription(entry);
    ASSERT_TRUE(text.starts_with("verdax-recovery 1\n"));
    for (const char c : text.substr(18))
        EXPECT_TRUE(c == '\n' || (c > 0x20 && c < 0x7F)) << int(static_cast<unsigned char>(c));

    const RecoveryDescriptionRead read = ParseRecoveryDescription(text);
    ASSERT_TRUE(read.entry) << read.failure;
    ExpectSame(*read.entry, entry);

    RecoveryEntry reservation = Sample();
    reservation.copy.clear();
    const auto reread = ParseRecoveryDescription(FormatRecoveryDescription(reservation));
    ASSERT_TRUE(reread.entry);
    EXPECT_FALSE(reread.entry->HasCopy());
}

TEST(RecoveryDescription, UnknownLinesArePassedOverAndAnyMissingOrMalformedFieldIsRefused)
{
    const std::string text = FormatRecoveryDescription(Sample());
    EXPECT_TRUE(ParseRecoveryDescription(text + "comment=a later program's field\n\n").entry);

    const struct {
        std::string key;
        std::string line;  // empty: the line is left out
    } faults[] = {
        {"install-folder", ""}, {"mission", "mission=%E"},   {"mission", "mission=%G1"},
        {"saved-at", "saved-at=soon"}, {"pid", "pid=0"},     {"pid", "pid=-5"},
        {"process-start", ""},  {"boot-id", ""},             {"undo-steps", "undo-steps=-1"},
        {"copy", "copy=c"},     {"copy-size", "copy-size=1x"}, {"copy-hash", "copy-hash=not hex"},
        {"copy-size", "copy-size=99999999999999999999999"},
    };
    for (const auto& fault : faults) {
        const auto read = ParseRecoveryDescription(WithLine(text, fault.key, fault.line));
        EXPECT_FALSE(read.entry) << fault.line;
        EXPECT_NE(read.failure.find(fault.key), std::string::npos) << read.failure;
    }
    EXPECT_FALSE(ParseRecoveryDescription(text + "no equals sign\n").entry);
    EXPECT_FALSE(ParseRecoveryDescription("").entry);
    EXPECT_FALSE(ParseRecoveryDescription(text.substr(0, text.size() / 2)).entry);
    EXPECT_FALSE(ParseRecoveryDescription(text + std::string(70000, 'x')).entry);
}

TEST(RecoveryDescription, ADescriptionOfALaterFormatIsToldApart)
{
    const auto later = ParseRecoveryDescription("verdax-recovery 2\nanything=else\n");
    EXPECT_FALSE(later.entry);
    EXPECT_TRUE(later.laterVersion);
    EXPECT_FALSE(ParseRecoveryDescription("verdax-recovery 0\n").laterVersion);
    EXPECT_FALSE(ParseRecoveryDescription("something else\n").laterVersion);
}

TEST(RecoverySlotName, SafeShortStableAndDistinctWhateverTheNames)
{
    std::string odd;
    for (int byte = 0; byte < 256; ++byte)
        odd += static_cast<char>(byte);
    for (const std::string& mission : {odd, std::string(300, '/'), std::string("..")}) {
        const std::string name = RecoverySlotName("C:\\Games\\Dravo\\", mission);
        EXPECT_LE(name.size(), 48u);
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"),
                  std::string::npos)
            << name;
    }
    // Entries written by one version are found by the next: the name is fixed (the
    // hash is FNV-1a 64 of "C:\Games\Dravo\", a zero byte and the mission's name).
    EXPECT_EQ(RecoverySlotName("C:\\Games\\Dravo\\", "Mise01 \xE4"), "Mise01__-3f2b2cfb6eda1418");
    EXPECT_EQ(RecoverySlotName("C:\\Games\\Dravo\\", "Mise01 \xE4", 3), "Mise01__-3f2b2cfb6eda1418-3");
    EXPECT_EQ(RecoverySlotName("C:\\A\\", ""), RecoverySlotName("C:\\A\\", ""));
    EXPECT_NE(RecoverySlotName("ab", "c"), RecoverySlotName("a", "bc"));
    EXPECT_NE(RecoverySlotName("C:\\Games\\Dravo\\", "x"), RecoverySlotName("D:\\Games\\Dravo\\", "x"));
    EXPECT_NE(RecoverySlotName("C:\\Games\\Dravo\\", "Mise01"), RecoverySlotName("C:\\Games\\Dravo\\", "mise01"));
}
