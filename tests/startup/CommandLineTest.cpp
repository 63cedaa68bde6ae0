#include "startup/CommandLine.h"
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
