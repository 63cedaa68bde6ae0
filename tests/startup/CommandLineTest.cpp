#include "startup/CommandLine.h"
#include "platform/Exceptions.h"
#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

namespace ml {
namespace {

struct TSwitchRow {
    std::vector<std::string> arguments;
    TSaverMode mode;
    std::string handle;
};

TEST(CommandLine, SwitchesSelectTheirModes) {
    using M = TSaverMode;
    const TSwitchRow rows[] = {
        {{}, M::Configure, ""},
        {{"/c:5678"}, M::Configure, ""},
        {{"-c"}, M::Configure, ""},
        {{"/C"}, M::Configure, ""},
        {{"c"}, M::Configure, ""},
        {{"/s"}, M::Show, ""},
        {{"-S"}, M::Show, ""},
        {{"s"}, M::Show, ""},
        {{"/S", "extra", "ignored"}, M::Show, "EXTRA"},
        {{"/p", "1234"}, M::Preview, "1234"},
        {{"-P", "77"}, M::Preview, "77"},
        {{"/a", "1234"}, M::Password, "1234"},
        {{"A"}, M::Password, ""},
        // Only the first two characters count: "SA" and "SX" are no switch at all.
        {{"SAVER"}, M::None, ""},
        {{"SX"}, M::None, ""},
        {{"/X"}, M::None, ""},
        {{"//s"}, M::None, ""},
        // An empty first argument is no switch, which configures.
        {{""}, M::Configure, ""},
    };
    for (const TSwitchRow& row : rows) {
        const TCommandLine line = ParseCommandLine(row.arguments);
        const std::string first = row.arguments.empty() ? "(none)" : row.arguments[0];
        EXPECT_EQ(SelectMode(line.SwitchText), row.mode) << first;
        EXPECT_EQ(line.HandleText, row.handle) << first;
    }
}

TEST(CommandLine, HandleTextIsUpperCasedAsGiven) {
    EXPECT_EQ(ParseCommandLine({"/p", "notanumber"}).HandleText, "NOTANUMBER");
    EXPECT_EQ(ParseCommandLine({"/p:", " 12 "}).SwitchText, "/P");
    EXPECT_EQ(ParseCommandLine({"/p", " 12 "}).HandleText, " 12 ");
}

// How XScreenSaver and its kin start a hack; the Windows switches never read as one.
TEST(CommandLine, HackOptions) {
    struct TRow {
        std::vector<std::string> arguments;
        bool hack;
        bool root;
        std::string id;
    };
    const TRow rows[] = {
        {{"-root"}, true, true, ""},
        {{"--root"}, true, true, ""},
        {{"-window-id", "0x2a00007"}, true, false, "0x2a00007"},
        {{"--window-id", "1234"}, true, false, "1234"},
        {{"--window-id=77"}, true, false, "77"},
        {{"-delay", "3", "--root"}, true, true, ""},
        {{}, false, false, ""},
        {{"/s"}, false, false, ""},
        {{"-r"}, false, false, ""},
        {{"-rootless"}, false, false, ""},
        {{"/p", "1234"}, false, false, ""},
    };
    for (const TRow& row : rows) {
        const auto options = ParseHackOptions(row.arguments);
        const std::string first = row.arguments.empty() ? "(none)" : row.arguments[0];
        ASSERT_EQ(options.has_value(), row.hack) << first;
        if (!options)
            continue;
        EXPECT_EQ(options->Root, row.root) << first;
        EXPECT_EQ(options->WindowIdText, row.id) << first;
    }
    EXPECT_EQ(ParseHackOptions({"-delay", "3", "--root"})->Ignored,
              (std::vector<std::string>{"-delay", "3"}));
    EXPECT_THROW(ParseHackOptions({"-window-id"}), EConvertError);
}

TEST(CommandLine, WindowIdsInDecimalOrHexadecimal) {
    EXPECT_EQ(ParseWindowId("1234"), 1234u);
    EXPECT_EQ(ParseWindowId("0x2a00007"), 0x2a00007u);
    EXPECT_EQ(ParseWindowId("0XFFFFFFFF"), 0xFFFFFFFFu);
    for (const char* bad :
         {"", "0", "0x", "-5", "12ab", "0x1g", "4294967296", " 12", "0x100000000"})
        EXPECT_EQ(ParseWindowId(bad), std::nullopt) << bad;
}

TEST(ProgramBaseName, EverythingFromTheFirstDotGoes) {
    const std::pair<const char*, const char*> rows[] = {
        {"/opt/savers/my.saver.scr", "my"},
        {"/opt/savers/waves.scr", "waves"},
        {"/opt/savers/lake", "lake"},
        {"/opt/my.dir/lake", "lake"},
        {"/opt/.hidden", ""},
        {"relative/name.x", "name"},
    };
    for (const auto& [path, base] : rows)
        EXPECT_EQ(ProgramBaseName(path), base) << path;
}

} // namespace
} // namespace ml
