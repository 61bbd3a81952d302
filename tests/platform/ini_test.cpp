#include "platform/ini/IniFile.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using platform::CIniFile;
using platform::IniPair;
using platform::IniRect;

// A catalogue file as the hall installs it: mixed case, blanks, CRLF, a GBK
// name, repeated sections and keys, a comment and a key outside any section.
constexpr std::string_view kCatalogue =
    "\xEF\xBB\xBF"
    "orphan=1\r\n"
    "; comment=not a key\r\n"
    "[Public]\r\n"
    "TypeCount = 2\r\n"
    "AvactOrigionSize=120,160\r\n"
    "AvactCoreRect= 10, 20 ,110,150\r\n"
    "ShortRect=5,6\r\n"
    "LongRect=1000000,2000000,3000000,4000000\r\n"
    "typecount=99\r\n"
    "\r\n"
    "[ type0 ]\r\n"
    "itemcount=3\r\n"
    "item0name=\xC3\xC0\xC5\xAE\r\n" // GBK for a two-character name
    "item0price=\"12 gold\"\r\n"
    "item0showsize=400\r\n"
    "item1showsize=200,150\r\n"
    "item2showsize=,\r\n"
    "item0ID=123456789012\r\n"
    "item1ID=-42abc\r\n"
    "item2ID=\r\n"
    "bare line\r\n"
    "LongText=0123456789012345678901234567890123456789\r\n"
    "[TYPE0]\r\n"
    "itemcount=7\r\n"
    "[PUBLIC]\r\n"
    "defaultavatarmale=male.gif\n";

TEST(IniFile, ReadsValuesWithTheCatalogueSemantics) {
    const CIniFile ini = CIniFile::parse(kCatalogue);
    struct Case {
        const char* section;
        const char* key;
        const char* def;
        std::size_t buffer;
        std::string expected;
    };
    const Case cases[] = {
        {"PUBLIC", "typecount", "", 255, "2"}, // case folded, first key wins
        {"public", "TYPECOUNT", "", 255, "2"},
        {"TYPE0", "ITEMCOUNT", "", 255, "3"}, // blanks around section name, first section wins
        {"PUBLIC", "defaultavatarmale", "x", 255, "x"}, // the second [PUBLIC] is never searched
        {"type0", "item0price", "", 255, "12 gold"},    // quotes removed
        {"type0", "bare line", "d", 255, ""},           // present with an empty value
        {"type0", "item2ID", "d", 255, ""},             // empty value is not the default
        {"type0", "missing", "fallback", 255, "fallback"},
        {"nosection", "itemcount", "fallback", 255, "fallback"},
        {"", "orphan", "fallback", 255, "fallback"}, // keys before any section are unreachable
        {"PUBLIC", "; comment", "fallback", 255, "fallback"},
        {"type0", "LongText", "", 11, "0123456789"}, // cut to buffer − 1
        {"type0", "LongText", "", 1, ""},
        {"type0", "LongText", "", 0, ""},
        {"type0", "missing", "defaultvalue", 4, "def"}, // the default is cut the same way
        {"type0", "item0name", "", 5, "\xC3\xC0\xC5\xAE"},
        {"type0", "item0name", "", 4, "\xC3\xC0"}, // never half a GBK character
        {"type0", "item0name", "", 2, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.getString(c.section, c.key, c.def, c.buffer), c.expected)
            << "[" << c.section << "] " << c.key << " buffer " << c.buffer;
}

TEST(IniFile, GbkTrailBytesAreNotCaseFolded) {
    // 0xB0 0x41 and 0xB0 0x61 are two different GBK characters whose trail
    // bytes look like 'A' and 'a'.
    const CIniFile ini = CIniFile::parse("[s]\n\xB0\x41=upper\nK=v\n");
    EXPECT_EQ(ini.getString("s", "\xB0\x41", "none", 255), "upper");
    EXPECT_EQ(ini.getString("s", "\xB0\x61", "none", 255), "none");
    EXPECT_EQ(ini.getString("S", "k", "none", 255), "v");
}

TEST(IniFile, IntegerValuesUseATenByteBuffer) {
    const CIniFile ini = CIniFile::parse(kCatalogue);
    EXPECT_EQ(ini.getInt("public", "typecount"), 2);
    EXPECT_EQ(ini.getInt("type0", "item0ID"), 123456789); // 12 digits cut to 9
    EXPECT_EQ(ini.getInt("type0", "item1ID"), -42);       // stops at the first non-digit
    EXPECT_EQ(ini.getInt("type0", "item2ID"), 0);
    EXPECT_EQ(ini.getInt("type0", "missing"), 0);
    EXPECT_EQ(ini.getInt("type0", "item0price"), 12);
}

TEST(IniFile, TextValuesHoldAtMost254Bytes) {
    const std::string longValue(300, 'x');
    const CIniFile ini = CIniFile::parse("[s]\nk=" + longValue + "\n");
    EXPECT_EQ(ini.getText("s", "k"), std::string(254, 'x'));
    EXPECT_EQ(ini.getText("s", "none"), "");
}

TEST(IniFile, PairsNeedACommaToCount) {
    const CIniFile ini = CIniFile::parse(kCatalogue);
    EXPECT_EQ(ini.getPair("PUBLIC", "AvactOrigionSize"), (IniPair{120, 160}));
    EXPECT_EQ(ini.getPair("type0", "item1showsize"), (IniPair{200, 150}));
    EXPECT_EQ(ini.getPair("type0", "item0showsize"), std::nullopt);    // "400", no comma
    EXPECT_EQ(ini.getPair("type0", "item3showsize"), std::nullopt);    // missing
    EXPECT_EQ(ini.getPair("type0", "item2showsize"), (IniPair{0, 0})); // "," alone
    // The 12-byte buffer cuts "1234567,123456" to "1234567,123".
    const CIniFile cut = CIniFile::parse("[s]\nk=1234567,123456\nnocomma=12345678901,2\n");
    EXPECT_EQ(cut.getPair("s", "k"), (IniPair{1234567, 123}));
    EXPECT_EQ(cut.getPair("s", "nocomma"), std::nullopt); // the comma falls beyond the buffer
}

TEST(IniFile, RectanglesSplitInOrderAndDefaultToZero) {
    const CIniFile ini = CIniFile::parse(kCatalogue);
    EXPECT_EQ(ini.getRect("PUBLIC", "AvactCoreRect"), (IniRect{10, 20, 110, 150}));
    EXPECT_EQ(ini.getRect("PUBLIC", "ShortRect"), (IniRect{5, 6, 0, 0}));
    EXPECT_EQ(ini.getRect("PUBLIC", "none"), (IniRect{}));
    // 31 characters cut to 24: "1000000,2000000,3000000," leaves the last part empty.
    EXPECT_EQ(ini.getRect("PUBLIC", "LongRect"), (IniRect{1000000, 2000000, 3000000, 0}));
}

TEST(IniFile, MissingFileGivesEveryDefault) {
    const CIniFile ini = CIniFile::load("/nonexistent/dir/actionconfig.ini");
    EXPECT_FALSE(ini.isLoaded());
    EXPECT_EQ(ini.getInt("PUBLIC", "typecount"), 0);
    EXPECT_EQ(ini.getString("PUBLIC", "x", "dflt", 255), "dflt");
    EXPECT_EQ(ini.getPair("PUBLIC", "AvactOrigionSize"), std::nullopt);
    EXPECT_EQ(ini.getRect("PUBLIC", "AvactCoreRect"), (IniRect{}));
    EXPECT_EQ(platform::readPrivateProfileString("a", "b", "dflt", 3, "/nonexistent.ini"), "df");
}

TEST(IniFile, LoadsFromDisk) {
    char path[] = "/tmp/ini_testXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    {
        std::ofstream out(path, std::ios::binary);
        out << kCatalogue;
    }
    const CIniFile ini = CIniFile::load(path);
    EXPECT_TRUE(ini.isLoaded());
    EXPECT_EQ(ini.getInt("PUBLIC", "TypeCount"), 2);
    EXPECT_EQ(platform::readPrivateProfileString("Type0", "Item1ShowSize", "", 12, path),
              "200,150");
    std::remove(path);
}

} // namespace
