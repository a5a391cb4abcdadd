#include "platform/CodePage.h"
#include "platform/Registry.h"

#include "tests/support/ByteWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using platform::CWineRegistry;

namespace {

constexpr std::string_view kKey = "Software\\Kestrel Works\\Dravo";

// The opening lines Wine writes.
std::string Header(std::string_view arch = "win32")
{
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=" + std::string(arch) + "\n\n";
}

// A key block as Wine writes it: the key with doubled backslashes, its time, then values.
std::string KeyBlock(std::string_view escapedKey, std::string_view values)
{
    return "[" + std::string(escapedKey) + "] 1700000000\n#time=1da0b6c8d2e4f00\n" + std::string(values) + "\n";
}

std::optional<std::string> Find(std::string_view text, std::string_view value = "idir")
{
    return CWineRegistry::FindString(text, kKey, value);
}

class RegistryText : public testing::Test {
protected:
    void SetUp() override { platform::SetAnsiCodePage(1251); }
    void TearDown() override { platform::SetAnsiCodePage(0); }
};

TEST_F(RegistryText, WineEscapesAreUndone)
{
    const std::string text = Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo",
                                                 "\"idir\"=\"C:\\\\Games\\\\\\\"Dravo\\\"\\\\\"\n"
                                                 "\"ru\"=\"\\x0418\\x0433\\x0440\\x0430\"\n"
                                                 "\"packed\"=\"\\x00410\\x42\"\n"
                                                 "\"controls\"=\"a\\tb\\nc\\001\\0d\"\n"
                                                 "\"utf8\"=\"Игра\"");
    EXPECT_EQ(Find(text), "C:\\Games\\\"Dravo\"\\");
    EXPECT_EQ(testsupport::Hex(Find(text, "ru").value_or("")), "C8 E3 F0 E0");
    EXPECT_EQ(Find(text, "packed"), "A0B");
    EXPECT_EQ(Find(text, "controls"), std::string("a\tb\nc\x01\0d", 8));
    EXPECT_EQ(testsupport::Hex(Find(text, "utf8").value_or("")), "C8 E3 F0 E0");
}

TEST_F(RegistryText, ExpandStringsAndDefaultValuesAreStrings)
{
    const std::string text = Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo",
                                                 "@=\"default\"\n"
                                                 "\"idir\"=str(2):\"%ProgramFiles%\\\\Dravo\\\\\"\n"
                                                 "\"multi\"=str(7):\"a\\0b\\0\"");
    EXPECT_EQ(Find(text), "%ProgramFiles%\\Dravo\\");
    EXPECT_EQ(Find(text, ""), "default");
    EXPECT_EQ(Find(text, "multi"), std::string("a\0b\0", 4));
}

TEST_F(RegistryText, OtherTypesAreNotStrings)
{
    const std::string text = Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo",
                                                 "\"idir\"=dword:00000001\n"
                                                 "\"hex\"=hex:43,00,3a,00,\\\n  5c,00,00,00\n"
                                                 "\"typed\"=hex(2):43,00,00,00");
    EXPECT_EQ(Find(text), std::nullopt);
    EXPECT_EQ(Find(text, "hex"), std::nullopt);
    EXPECT_EQ(Find(text, "typed"), std::nullopt);
}

TEST_F(RegistryText, KeyAndValueNamesIgnoreCase)
{
    const std::string text =
        Header() + KeyBlock("SOFTWARE\\\\kestrel works\\\\DRAVO", "\"IDir\"=\"D:\\\\Games\\\\X\\\\\"");
    EXPECT_EQ(Find(text), "D:\\Games\\X\\");
    EXPECT_EQ(Find(text, "IDIR"), "D:\\Games\\X\\");
    const std::string cyrillic = Header() + KeyBlock("Software\\\\\\x041a\\x043b\\x044e\\x0447", "\"\\x0418\"=\"v\"");
    EXPECT_EQ(CWineRegistry::FindString(cyrillic, "software\\\xEA\xCB\xDE\xD7", "\xE8"), "v");
}

TEST_F(RegistryText, OnlyTheNamedKeyIsSearched)
{
    const std::string text = Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo\\\\Sub", "\"idir\"=\"sub\"") +
                             KeyBlock("Software\\\\Kestrel Works", "\"idir\"=\"parent\"") +
                             KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"other\"=\"x\"");
    EXPECT_EQ(Find(text), std::nullopt);
    EXPECT_EQ(Find(text, "other"), "x");
    EXPECT_EQ(CWineRegistry::FindString(text, "Software\\Kestrel Works\\Dravo\\Missing", "other"), std::nullopt);
}

TEST_F(RegistryText, SixtyFourBitPrefixLooksUnderWow6432NodeFirst)
{
    const std::string both = Header("win64") + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"native\"") +
                             KeyBlock("Software\\\\Wow6432Node\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"wow\"");
    EXPECT_EQ(Find(both), "wow");

    const std::string wowOnly =
        Header("win64") + KeyBlock("software\\\\WOW6432NODE\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"wow\"");
    EXPECT_EQ(Find(wowOnly), "wow");

    const std::string nativeOnly = Header("win64") + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"native\"");
    EXPECT_EQ(Find(nativeOnly), "native");

    // A 32-bit prefix has no redirection: the key under Wow6432Node is another key.
    const std::string win32 = Header("win32") + KeyBlock("Software\\\\Wow6432Node\\\\Kestrel Works\\\\Dravo",
                                                         "\"idir\"=\"wow\"");
    EXPECT_EQ(Find(win32), std::nullopt);
}

TEST_F(RegistryText, ValuesUpTo1023CharactersAreRead)
{
    const std::string longest(1023, 'a');
    EXPECT_EQ(Find(Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"" + longest + "\"")), longest);
    EXPECT_EQ(Find(Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"" + longest + "b\"")),
              std::nullopt);

    // The limit counts code page bytes, not escapes in the file.
    std::string escaped;
    for (int i = 0; i < 1023; ++i)
        escaped += "\\x0416";
    EXPECT_EQ(Find(Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"" + escaped + "\"")),
              std::string(1023, '\xC6'));
    EXPECT_EQ(Find(Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"" + escaped + "\\x0416\"")),
              std::nullopt);
}

TEST_F(RegistryText, WindowsLineEndsAndLaterDuplicates)
{
    const std::string text = "WINE REGISTRY Version 2\r\n\r\n[Software\\\\Kestrel Works\\\\Dravo] 1\r\n"
                             "\"idir\"=\"first\"\r\n\"idir\"=\"second\"\r\n";
    EXPECT_EQ(Find(text), "second");
}

TEST_F(RegistryText, GarbledTextsFindNothing)
{
    const std::string valueLine = "\"idir\"=\"C:\\\\Dravo\\\\\"";
    const std::string whole = Header() + "[Software\\\\Kestrel Works\\\\Dravo] 1\n" + valueLine + "\n";
    ASSERT_EQ(Find(whole), "C:\\Dravo\\");

    // Every cut before the value's closing quote loses the value; none crashes.
    const std::size_t lastQuote = whole.rfind('"');
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const auto found = Find(std::string_view(whole).substr(0, length));
        if (length <= lastQuote)
            EXPECT_EQ(found, std::nullopt) << "cut at " << length;
        else
            EXPECT_EQ(found, "C:\\Dravo\\") << "cut at " << length;
    }

    for (const std::string& broken : {
             std::string("WINE REGISTRY Version 1\n[Software\\\\Kestrel Works\\\\Dravo]\n") + valueLine,
             std::string("[Software\\\\Kestrel Works\\\\Dravo]\n") + valueLine,
             Header() + "[Software\\\\Kestrel Works\\\\Dravo\n" + valueLine,
             Header() + "[Software\\\\Kestrel Works\\\\Dravo]\n\"idir\"=\"ends in \\",
             Header() + "[Software\\\\Kestrel Works\\\\Dravo]\n\"idir\"str(2)\"x\"",
             Header() + "[Software\\\\Kestrel Works\\\\Dravo]\n\"idir\"=str(2\"x\"",
             Header() + "[Software\\\\Kestrel Works\\\\Dravo]\n\"idir\"=\"\\x",
             Header() + "[Software\\\\Kestrel Works\\\\Dravo]\n\"idir",
             Header() + "[Software\\\\Kestrel Works\\\\Dravo]\n@",
             Header() + "[\n[]\n]\n\"\n@\n" + valueLine,
             std::string("WINE REGISTRY Version 2"),
             std::string(),
         })
        EXPECT_EQ(Find(broken), std::nullopt) << broken;
}

TEST_F(RegistryText, MutatedTextsNeverYieldMoreThanTheLimit)
{
    const std::string seed = Header("win64") +
                             KeyBlock("Software\\\\Wow6432Node\\\\Kestrel Works\\\\Dravo",
                                      "\"idir\"=str(2):\"C:\\\\\\x0418\\001\\\"\\\\\"\n@=\"x\"") +
                             KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"" + std::string(1020, 'a') + "\"");
    const char alphabet[] = "\\\"[]@=:()x0\n\rstr7aA\xC8";
    std::uint32_t state = 12345;
    const auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    for (int round = 0; round < 3000; ++round) {
        std::string text = seed;
        for (int edits = 1 + next() % 8; edits > 0; --edits) {
            const std::size_t at = next() % text.size();
            const char c = alphabet[next() % (sizeof alphabet - 1)];
            switch (next() % 3) {
            case 0: text[at] = c; break;
            case 1: text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c); break;
            default: text.erase(at, 1 + next() % 4); break;
            }
        }
        const auto found = Find(text);
        EXPECT_LE(found.value_or("").size(), 1023u);
    }
}

TEST_F(RegistryText, ZeroDigitHexEscapeIsANul)
{
    const std::string text = Header() + "[Software\\\\Kestrel Works\\\\Dravo]\n\"idir\"=\"a\\xg\"\n";
    EXPECT_EQ(Find(text), std::string("a\0g", 3));
}

TEST(WineRegistry, ReadsSystemRegOfThePrefix)
{
    testsupport::TempDir prefix;
    CWineRegistry registry(prefix.Path());
    EXPECT_EQ(registry.ReadMachineString(kKey, "idir"), std::nullopt);  // no system.reg yet

    prefix.Write("system.reg", Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"C:\\\\D\\\\\""));
    EXPECT_EQ(registry.ReadMachineString(kKey, "idir"), "C:\\D\\");
    EXPECT_EQ(registry.ReadMachineString(kKey, "missing"), std::nullopt);

    EXPECT_EQ(CWineRegistry(prefix.Path() / "nowhere").ReadMachineString(kKey, "idir"), std::nullopt);
    std::filesystem::create_directories(prefix.Path() / "folder" / "system.reg");
    EXPECT_EQ(CWineRegistry(prefix.Path() / "folder").ReadMachineString(kKey, "idir"), std::nullopt);
}

TEST(WineRegistry, FarTooLargeFileIsNotRead)
{
    testsupport::TempDir prefix;
    const auto file = prefix.Write("system.reg", Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"x\""));
    ASSERT_EQ(CWineRegistry(prefix.Path()).ReadMachineString(kKey, "idir"), "x");
    std::filesystem::resize_file(file, std::uintmax_t{300} << 20);  // sparse: costs no disk
    EXPECT_EQ(CWineRegistry(prefix.Path()).ReadMachineString(kKey, "idir"), std::nullopt);
}

TEST(WineRegistry, DefaultFollowsWinePrefixAtEachRead)
{
    const char* saved = std::getenv("WINEPREFIX");
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;
    testsupport::TempDir first;
    testsupport::TempDir second;
    first.Write("system.reg", Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"one\""));
    second.Write("system.reg", Header() + KeyBlock("Software\\\\Kestrel Works\\\\Dravo", "\"idir\"=\"two\""));

    setenv("WINEPREFIX", first.Path().c_str(), 1);
    EXPECT_EQ(platform::WinePrefix(), first.Path());
    EXPECT_EQ(platform::Registry().ReadMachineString(kKey, "idir"), "one");
    setenv("WINEPREFIX", second.Path().c_str(), 1);
    EXPECT_EQ(platform::Registry().ReadMachineString(kKey, "idir"), "two");

    if (previous)
        setenv("WINEPREFIX", previous->c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

}  // namespace
