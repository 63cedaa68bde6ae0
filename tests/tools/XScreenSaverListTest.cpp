#include "tools/authoring/XScreenSaverList.h"

#include <gtest/gtest.h>

namespace ml::authoring {
namespace {

const std::string kProgram = "/home/u/.local/libexec/mirrorlake/lake.scr";
const std::string kEntry = ProgramsEntry("Lake \"Deluxe\"", kProgram + " --root");

// The rc file as XScreenSaver writes it, trimmed to a few hacks.
const std::string kRc = "# XScreenSaver Preferences File\n"
                        "mode:\t\tone\n"
                        "selected:\t1\n"
                        "programs:\t\t\t\t\t\t      \\\n"
                        "\t\t\t\t  maze --root\t\t\t\t    \\n\\\n"
                        "- GL: \t\t\t\t  superquadrics --root\t\t    \\n\\\n"
                        "\t\t\t\t  ripples --root\t\t\t    \\n\\\n"
                        "\n"
                        "\n"
                        "pointerHysteresis:\t10\n";

TEST(XScreenSaverList, AnEntryGoesLastAndEveryOtherLineStays) {
    EXPECT_EQ(kEntry, "\t\t\"Lake Deluxe\"  " + kProgram + " --root\t\\n\\");
    const std::string added = WithProgramsEntry(kRc, kEntry, kProgram, "");
    // Inserted after ripples, so that "selected: 1" still names superquadrics.
    std::string expected = kRc;
    expected.insert(expected.find("\n\n\npointer") + 1, kEntry + "\n");
    EXPECT_EQ(added, expected);
    // Installed again: replaced where it stands, never twice.
    const std::string again =
        WithProgramsEntry(added, ProgramsEntry("Lake 2", kProgram + " --root"), kProgram, "");
    EXPECT_EQ(again.find("Lake Deluxe"), std::string::npos);
    EXPECT_EQ(again.size(), added.size() - std::string("Lake Deluxe").size() + 6);
}

TEST(XScreenSaverList, ADisabledEntryStaysDisabledWhenReplaced) {
    const std::string rc = "programs:\t\\\n"
                           "  -\t\t\"Old\"  " +
                           kProgram + " --root\t\\n\\\n\t\tmaze --root\t\\n\\\n\n";
    const std::string replaced = WithProgramsEntry(rc, kEntry, kProgram, "");
    EXPECT_NE(replaced.find("  -\t\"Lake Deluxe\"  " + kProgram), std::string::npos);
    EXPECT_EQ(replaced.find("Old"), std::string::npos);
    EXPECT_NE(replaced.find("maze"), std::string::npos);
}

// XScreenSaver's defaults close the list with an entry that has no backslash; without a
// programs list of the user's own, the list starts from them.
TEST(XScreenSaverList, WithoutAListTheDefaultsComeFirst) {
    const std::string appDefaults = "*mode:\trandom\n"
                                    "*programs:\t\t\\\n"
                                    "\t\tmaze --root\t\\n\\\n"
                                    "- GL: \t\tsquirtorus --root\t\\n\n"
                                    "\n"
                                    "*other: 1\n";
    const std::string defaults = ProgramsFromDefaults(appDefaults);
    EXPECT_EQ(defaults,
              "programs:\t\t\\\n\t\tmaze --root\t\\n\\\n- GL: \t\tsquirtorus --root\t\\n\n");
    EXPECT_EQ(WithProgramsEntry("", kEntry, kProgram, defaults),
              "programs:\t\t\\\n\t\tmaze --root\t\\n\\\n- GL: \t\tsquirtorus --root\t\\n\\\n" +
                  kEntry.substr(0, kEntry.size() - 1) + "\n");
    // A file with other settings but no list keeps them.
    const std::string kept = WithProgramsEntry("mode:\tone\n", kEntry, kProgram, defaults);
    EXPECT_EQ(kept.rfind("mode:\tone\n\nprograms:", 0), 0u);
    // Nothing to start from: a list of this saver alone.
    EXPECT_EQ(WithProgramsEntry("", kEntry, kProgram, ""), "programs:\t\\\n" + kEntry + "\n\n");
    EXPECT_EQ(ProgramsFromDefaults("*mode: one\n"), "");
}

} // namespace
} // namespace ml::authoring
