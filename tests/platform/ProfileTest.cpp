#include "platform/Profile.h"
#include "platform/Paths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>

namespace ml {
namespace {

struct IntegerRow {
    const char* text;
    std::optional<int> expected;
};

class ParseIntegerRows : public ::testing::TestWithParam<IntegerRow> {};

TEST_P(ParseIntegerRows, ReadsDecimalAndBothHexadecimalForms) {
    EXPECT_EQ(ParseInteger(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Profile, ParseIntegerRows,
    ::testing::Values(
        IntegerRow{"30", 30}, IntegerRow{"0x1E", 30}, IntegerRow{"0X1e", 30}, IntegerRow{"$1E", 30},
        IntegerRow{"-12", -12}, IntegerRow{"+7", 7}, IntegerRow{"-$10", -16},
        IntegerRow{"2147483647", 2147483647}, IntegerRow{"-2147483648", -2147483647 - 1},
        // hexadecimal takes all 32 bits, so the top bit makes it negative
        IntegerRow{"$FFFFFFFF", -1}, IntegerRow{"0x80000000", -2147483647 - 1},
        // out of range, empty digits and trailing junk are not numbers
        IntegerRow{"2147483648", std::nullopt}, IntegerRow{"$100000000", std::nullopt},
        IntegerRow{"99999999999999999999", std::nullopt}, IntegerRow{"", std::nullopt},
        IntegerRow{"$", std::nullopt}, IntegerRow{"0x", std::nullopt},
        IntegerRow{"-", std::nullopt}, IntegerRow{"abc", std::nullopt},
        IntegerRow{"TRUE", std::nullopt}, IntegerRow{"1.5", std::nullopt},
        IntegerRow{"12abc", std::nullopt}, IntegerRow{"$1G", std::nullopt}));

class ProfileTest : public ::testing::Test {
protected:
    test::TTempDir Dir;
    TIniFile Write(const std::string& text) { return TIniFile(Dir.Write("t.ini", text)); }
};

TEST_F(ProfileTest, NamesMatchWithoutCaseAndValuesAreTrimmed) {
    TIniFile ini = Write("[Default]\r\n  Duration =  45  \r\nName= a b \r\n");
    EXPECT_EQ(ini.ReadInteger("default", "DURATION", 0), 45);
    EXPECT_EQ(ini.ReadString("DEFAULT", "name", "x"), "a b");
    EXPECT_TRUE(ini.SectionExists("dEfAuLt"));
    EXPECT_TRUE(ini.ValueExists("Default", "duration"));
    EXPECT_FALSE(ini.ValueExists("Default", "Speed"));
}

TEST_F(ProfileTest, UnreadableOrAbsentValuesGiveTheDefault) {
    TIniFile ini = Write("[S]\nText=abc\nEmpty=\nTrue=TRUE\nZero=0\nMinus=-1\n");
    EXPECT_EQ(ini.ReadInteger("S", "Text", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Missing", "Text", 7), 7);
    EXPECT_EQ(ini.ReadString("S", "Missing", "d"), "d");
    EXPECT_EQ(ini.ReadString("S", "Empty", "d"), ""); // present but empty is a value
    // booleans are numbers: a word keeps the default, any non-zero number is true
    EXPECT_TRUE(ini.ReadBool("S", "True", true));
    EXPECT_FALSE(ini.ReadBool("S", "True", false));
    EXPECT_FALSE(ini.ReadBool("S", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "Minus", false));
    EXPECT_EQ(TIniFile(Dir.File("absent.ini")).ReadInteger("S", "Zero", 3), 3);
}

TEST_F(ProfileTest, FirstOfTwoEqualSectionsOrKeysWinsAndCommentsAreSkipped) {
    TIniFile ini = Write("[A]\n;K=commented\nK=1\nk=2\n[a]\nK=3\nOther=4\n");
    EXPECT_EQ(ini.ReadInteger("A", "K", 0), 1);
    EXPECT_EQ(ini.ReadInteger("A", "Other", 0), 0);
    EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"K", "k"}));
}

TEST_F(ProfileTest, ValuesAreCutTo2047Characters) {
    TIniFile ini = Write("[S]\nLong=" + std::string(3000, 'v') + "\n");
    EXPECT_EQ(ini.ReadString("S", "Long", "").size(), TIniFile::kMaxValueLength);
}

TEST_F(ProfileTest, KeyListingKeepsFileOrderWithinTheNameLimit) {
    std::string text =
        "[List]\r\nzeta=1\r\nalpha=0\r\n\r\nmid dle = 1\r\nnoequals\r\n[Next]\r\nx=1\r\n";
    EXPECT_EQ(Write(text).ReadSection("list"),
              (std::vector<std::string>{"zeta", "alpha", "mid dle"}));
    EXPECT_TRUE(Write(text).ReadSection("None").empty());

    // 2000 names of 8 characters plus a terminator each fill 18 000 characters: only the
    // whole names that fit in the listing buffer come back.
    std::string many = "[Big]\n";
    for (int i = 0; i < 2000; ++i)
        many += "name" + std::to_string(1000 + i) + "=1\n";
    auto names = Write(many).ReadSection("Big");
    EXPECT_EQ(names.size(), TIniFile::kMaxKeyListLength / 9);
    EXPECT_EQ(names.front(), "name1000");
}

TEST_F(ProfileTest, ByteOrderMarkDoesNotHideTheFirstSection) {
    EXPECT_EQ(Write("\xEF\xBB\xBF[General]\r\nProductName=Lake\r\n")
                  .ReadString("General", "ProductName", ""),
              "Lake");
    // A rewrite keeps the mark, so a second one still hides what it hid before.
    TIniFile ini = Write("\xEF\xBB\xBF\xEF\xBB\xBF[Setting]\r\nSpeed=10\r\n");
    ASSERT_TRUE(ini.WriteInteger("Setting", "Speed", 12));
    EXPECT_EQ(ini.ReadInteger("Setting", "Speed", 0), 12);
}

TEST_F(ProfileTest, WritesCreateUpdateAndEraseWithCrLfLines) {
    TIniFile ini(Dir.File("new.ini"));
    ASSERT_TRUE(ini.WriteInteger("Setting", "Speed", 10));
    ASSERT_TRUE(ini.WriteBool("Setting", "Music", false));
    ASSERT_TRUE(ini.WriteString("Files", "a.qmp", "0"));
    ASSERT_TRUE(ini.WriteInteger("setting", "SPEED", 12)); // replaced where it stands
    EXPECT_EQ(ReadWholeFile(ini.Path()),
              "[Setting]\r\nSPEED=12\r\nMusic=0\r\n\r\n[Files]\r\na.qmp=0\r\n");
    ASSERT_TRUE(ini.WriteString("Other", "x", "1"));
    ASSERT_TRUE(
        TIniFile(Dir.Write("dup.ini", ReadWholeFile(ini.Path()) + "[setting]\r\nSpeed=3\r\n"))
            .EraseSection("Setting"));
    EXPECT_FALSE(TIniFile(Dir.File("dup.ini")).SectionExists("Setting")); // no older copy returns
    ASSERT_TRUE(ini.EraseSection("SETTING"));
    EXPECT_FALSE(ini.SectionExists("Setting"));
    EXPECT_EQ(ini.ReadString("Files", "a.qmp", ""), "0");
    EXPECT_TRUE(ini.EraseSection("NotThere"));
}

TEST_F(ProfileTest, NewKeyGoesBeforeTheBlankLineThatEndsItsSection) {
    TIniFile ini = Write("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(ini.WriteString("A", "z", "3"));
    EXPECT_EQ(ReadWholeFile(ini.Path()), "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n");
}

TEST_F(ProfileTest, WritesThatWouldNotReadBackAreRefused) {
    TIniFile ini = Write("[Files]\r\nkeep=1\r\n");
    EXPECT_FALSE(ini.WriteString("Files", "a", "1\r\n[Setting]\r\nSpeed=20"));
    EXPECT_FALSE(ini.WriteString("Files", "a\nb", "1"));
    EXPECT_FALSE(ini.WriteString("Files", "a=b", "1"));
    EXPECT_FALSE(ini.WriteString("Fi]les", "a", "1"));
    EXPECT_FALSE(ini.WriteString("Files", "  ", "1"));
    EXPECT_EQ(ReadWholeFile(ini.Path()), "[Files]\r\nkeep=1\r\n");
}

TEST_F(ProfileTest, WriteIntoAnUnwritablePlaceReportsFalse) {
    TIniFile ini(Dir.File("no/such/folder/x.ini"));
    EXPECT_FALSE(ini.WriteString("S", "K", "V"));
}

} // namespace
} // namespace ml
