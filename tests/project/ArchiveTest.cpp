#include "project/Archive.h"
#include "platform/Exceptions.h"
#include "platform/InstanceFolder.h"
#include "project/QMCProject.h"
#include "tests/project/ArchiveTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace ml {
namespace {

using test::Int32Bytes;

std::string Stored() {
    return StoredArchiveMarker();
}

struct ScanRow {
    const char* name;
    std::string bytes;
    bool found;
    std::int32_t offset;
    std::int32_t count;
};

std::vector<ScanRow> ScanRows() {
    std::string archive = BuildArchive({"a", "bc"});
    std::string other = BuildArchive({"x", "y", "z"});
    return {
        {"AtStart", archive, true, 13, 2},
        {"Straddles1001", std::string(995, 'x') + archive, true, 1008, 2},
        {"Straddles64K", std::string(65530, 'x') + archive, true, 65543, 2},
        {"AfterShiftedFirstCharacter", Stored().substr(0, 1) + archive, true, 14, 2},
        {"AfterPartialMarker", Stored().substr(0, 6) + "x" + archive, true, 20, 2},
        {"PartialMarkerRunsIntoMarker", Stored().substr(0, 5) + archive, true, 18, 2},
        {"FirstMarkerWins", "pe" + archive + other, true, 15, 2},
        {"CountCutShort", "ab" + Stored() + "\x05", true, 15, 0},
        {"NoMarker", std::string(3000, '|'), false, 0, 0},
        {"PlainMarkerIsNotAnArchive", std::string(kArchiveMarker) + Int32Bytes(1), false, 0, 0},
        {"MarkerCutShort", "ab" + Stored().substr(0, 12), false, 0, 0},
        {"EmptyFile", "", false, 0, 0},
    };
}

class FindArchiveRows : public ::testing::TestWithParam<ScanRow> {};

TEST_P(FindArchiveRows, FindsTheFirstStoredMarker) {
    test::TTempDir dir;
    TArchiveLocation location = FindArchive(dir.Write("f", GetParam().bytes));
    EXPECT_EQ(location.Found, GetParam().found);
    if (GetParam().found) {
        EXPECT_EQ(location.Offset, GetParam().offset);
        EXPECT_EQ(location.Count, GetParam().count);
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, FindArchiveRows, ::testing::ValuesIn(ScanRows()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Archive, ProgramsThatReadAndWriteArchivesHoldNoMarkerThemselves) {
    // Were the stored marker anywhere in a program's own image, the scan would stop there
    // instead of at the appended project.
    EXPECT_FALSE(FindArchive("/proc/self/exe").Found);
    EXPECT_FALSE(FindArchive("/no/such/file").Found);
}

class ExtractTest : public ::testing::Test {
protected:
    test::TTempDir Dir;
    std::vector<std::string> Names(int n) {
        std::vector<std::string> names;
        for (int i = 1; i <= n; ++i)
            names.push_back(Dir.File("out" + std::to_string(i)));
        return names;
    }
    std::optional<std::string> Out(int i) {
        std::string path = Dir.File("out" + std::to_string(i));
        if (!FileExists(path))
            return std::nullopt;
        return ReadWholeFile(path);
    }
};

TEST_F(ExtractTest, NamesAndItemCountsLimitEachOther) {
    std::string five = Dir.Write("five", "exe" + BuildArchive({"1", "", "333", "4", "5"}));
    ExtractArchive(five, Names(4));
    EXPECT_EQ(Out(1), "1");
    EXPECT_EQ(Out(2), ""); // an empty item still yields its file
    EXPECT_EQ(Out(3), "333");
    EXPECT_EQ(Out(4), "4");
    EXPECT_EQ(Out(5), std::nullopt);

    ExtractArchive(five, Names(6));
    EXPECT_EQ(Out(5), "5");
    EXPECT_EQ(Out(6), std::nullopt);

    ExtractArchive(Dir.Write("zero", BuildArchive({})), {Dir.File("none")});
    EXPECT_FALSE(FileExists(Dir.File("none")));
    // A negative count holds no item, however much data follows.
    ExtractArchive(Dir.Write("negative", Stored() + Int32Bytes(-1) + Int32Bytes(3) + "abc"),
                   {Dir.File("none")});
    EXPECT_FALSE(FileExists(Dir.File("none")));
    ExtractArchive(Dir.Write("plain", "no archive here"), {Dir.File("none")});
    EXPECT_FALSE(FileExists(Dir.File("none")));
}

TEST_F(ExtractTest, DamagedSizesGiveShortOrEmptyFiles) {
    // a negative size reads as 0, so the next item follows straight on
    std::string negative = Stored() + Int32Bytes(2) + Int32Bytes(-5) + Int32Bytes(3) + "abc";
    ExtractArchive(Dir.Write("neg", negative), Names(2));
    EXPECT_EQ(Out(1), "");
    EXPECT_EQ(Out(2), "abc");

    // a size past the end stops at the end of the data; a missing size ends the extraction
    std::string overrun = Stored() + Int32Bytes(3) + Int32Bytes(100) + "short";
    ExtractArchive(Dir.Write("over", overrun), Names(3));
    EXPECT_EQ(Out(1), "short");
    EXPECT_EQ(Out(2), "abc"); // from before: not touched

    std::vector<TArchiveItemInfo> items = ListArchive(Dir.File("over"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].Size, 100);
    EXPECT_EQ(items[0].Available, 5);
    EXPECT_EQ(items[0].Offset, 21);
}

// Whatever lies under an output's name is replaced, never written through: not a symbolic
// link, not a hard link to someone's file, and a read-only leftover does not stay as it was.
TEST_F(ExtractTest, OutputsAreMadeNewAndNeverOverwriteTheArchive) {
    std::string target = Dir.Write("target", "precious");
    std::string linked = Dir.Write("linked", "also precious");
    ASSERT_EQ(symlink(target.c_str(), Dir.File("out1").c_str()), 0);
    ASSERT_EQ(link(linked.c_str(), Dir.File("out4").c_str()), 0);
    Dir.Write("out5", "stale");
    ASSERT_EQ(chmod(Dir.File("out5").c_str(), 0400), 0);
    std::string archive = Dir.Write("a.res", BuildArchive({"evil", "self", "x", "tail", "new"}));
    const std::vector<std::string> names = {Dir.File("out1"), archive, "", Dir.File("out4"),
                                            Dir.File("out5")};
    const std::vector<std::string> written = ExtractArchive(archive, names);
    EXPECT_EQ(ReadWholeFile(target), "precious");
    EXPECT_EQ(ReadWholeFile(linked), "also precious");
    EXPECT_EQ(ReadWholeFile(archive), BuildArchive({"evil", "self", "x", "tail", "new"}));
    EXPECT_EQ(Out(1), "evil");
    // skipped items are still read through, so the later ones land where they belong
    EXPECT_EQ(Out(4), "tail");
    EXPECT_EQ(Out(5), "new");
    EXPECT_EQ(written, (std::vector<std::string>{names[0], names[3], names[4]}));
}

class ExtractProjectTest : public ::testing::Test {
protected:
    test::TScopedTempPath Temp;
    std::string Folder = Temp.Folder().Path() + "my/";

    std::string Program(const std::string& fileNames, const std::vector<std::string>& files) {
        std::string settings = BuildArchive(
            {"[FileListHeader]\r\nHeader=x\r\n[FileList]\r\na.qmp=1\r\nsub\\c.qmp=0\r\n",
             "[General]\r\nProductName=Lake\r\n[Advance]\r\nPreviewFile=C:\\Pics\\prev.jpg\r\n"
             "MusicFile=b.wav;\r\n",
             "[UI]\r\nUIFile=C:\\Build\\ui.wui\r\n"});
        std::string archive =
            BuildArchive({settings, fileNames, BuildArchive(files), "object MainWindow"});
        return Programs.Write("my.saver.scr", "\x7F"
                                              "ELF program image" +
                                                  archive);
    }
    test::TTempDir Programs;
};

TEST_F(ExtractProjectTest, FilesLandInsideTheFolderAndReferencesPointThere) {
    std::string outside = Temp.Folder().Write("evil", "mine");
    std::string program =
        Program("a.qmp\r\nC:\\Pics\\prev.jpg\r\n../evil\r\n..\r\n\r\n.\r\nsub/b.wav\r\nc.qmp\r\n" +
                    std::string(TInstanceFolder::kLockName),
                {"A", "P", "E", "dotdot", "empty", "dot", "B", "C", "not the lock"});
    TQMCProject project;
    TExtractedFiles extracted;
    ExtractProject(project, program, extracted);

    EXPECT_EQ(ReadWholeFile(Folder + "a.qmp"), "A");
    EXPECT_EQ(ReadWholeFile(Folder + "prev.jpg"), "P");
    EXPECT_EQ(ReadWholeFile(Folder + "evil"), "E");
    EXPECT_EQ(ReadWholeFile(Folder + "b.wav"), "B");
    EXPECT_EQ(ReadWholeFile(Folder + "c.qmp"), "C");
    EXPECT_EQ(ReadWholeFile(Folder + "QMGUI.wui"), "object MainWindow");
    EXPECT_EQ(ReadWholeFile(outside), "mine");

    EXPECT_EQ(project.FileList.FileNames,
              (std::vector<std::string>{Folder + "a.qmp", Folder + "c.qmp"}));
    EXPECT_EQ(project.FileList.Included, (std::vector<std::string>{"TRUE", "FALSE"}));
    EXPECT_EQ(project.Setting.ProductName, "Lake");
    EXPECT_EQ(project.Setting.PreviewFile, Folder + "prev.jpg");
    EXPECT_EQ(project.Setting.MusicFile, "b.wav;"); // the show resolves music itself
    EXPECT_EQ(project.UISetting.UIFile, Folder + "QMGUI.wui");

    RemoveExtractedFiles(extracted, program);
    EXPECT_FALSE(DirectoryExists(Folder));
    EXPECT_EQ(ReadWholeFile(outside), "mine");
}

TEST_F(ExtractProjectTest, CleanUpLeavesUnknownFilesAndTheirFolder) {
    std::string program = Program("a.qmp\r\n", {"A"});
    TQMCProject project;
    TExtractedFiles extracted;
    ExtractProject(project, program, extracted);
    std::string stranger = Temp.Folder().Write("my/stranger", "s");
    RemoveExtractedFiles(extracted, program);
    EXPECT_FALSE(FileExists(Folder + "a.qmp"));
    EXPECT_FALSE(FileExists(Folder + "QMC.res"));
    EXPECT_TRUE(FileExists(stranger));
}

// The clean-up deletes what extraction wrote, as it recorded it: a project file that takes
// the list's name (and so rewrites the list) neither saves a file from deletion nor gets
// another one deleted.
TEST_F(ExtractProjectTest, CleanUpFollowsWhatWasWrittenNotTheListInTheFolder) {
    std::string program = Program("a.qmp\r\nQMFilenames.res\r\nb.wav", {"A", "other\r\n", "B"});
    TQMCProject project;
    TExtractedFiles extracted;
    ExtractProject(project, program, extracted);
    EXPECT_EQ(ReadWholeFile(Folder + "QMFilenames.res"), "other\r\n");
    std::string other = Temp.Folder().Write("my/other", "not extracted");
    RemoveExtractedFiles(extracted, program);
    EXPECT_FALSE(FileExists(Folder + "a.qmp"));
    EXPECT_FALSE(FileExists(Folder + "b.wav"));
    EXPECT_TRUE(FileExists(other));
    EXPECT_TRUE(extracted.Files.empty());
}

// --help and install name a saver's product from its settings alone.
TEST_F(ExtractProjectTest, SettingsAloneAreReadWithoutUnpackingTheFiles) {
    std::string program = Program("a.qmp\r\n", {"A"});
    test::TTempDir scratch;
    TQMCProject project;
    LoadProjectSettings(project, program, scratch.Path());
    EXPECT_EQ(project.Setting.ProductName, "Lake");
    EXPECT_EQ(project.FileList.FileNames.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.Path()));
}

TEST_F(ExtractProjectTest, ProgramWithoutArchiveGivesAnEmptyProject) {
    std::string program = Programs.Write("bare.scr", "just a program");
    TQMCProject project;
    TExtractedFiles extracted;
    ExtractProject(project, program, extracted);
    EXPECT_TRUE(project.FileList.FileNames.empty());
    EXPECT_TRUE(project.Setting.PreviewFile.empty());
    EXPECT_EQ(project.UISetting.UIFile, Temp.Folder().Path() + "bare/QMGUI.wui");
    RemoveExtractedFiles(extracted, program);
    EXPECT_FALSE(DirectoryExists(Temp.Folder().Path() + "bare"));
}

TEST_F(ExtractProjectTest, RefusedFolderExtractsNothing) {
    test::TTempDir elsewhere;
    ASSERT_EQ(symlink(elsewhere.Path().c_str(), (Temp.Folder().Path() + "my").c_str()), 0);
    std::string program = Program("a.qmp\r\n", {"A"});
    TQMCProject project;
    TExtractedFiles extracted;
    EXPECT_THROW(ExtractProject(project, program, extracted), EInOutError);
    EXPECT_NO_THROW(RemoveExtractedFiles(extracted, program));
    EXPECT_FALSE(FileExists(elsewhere.File("QMC.res")));
    EXPECT_FALSE(FileExists(elsewhere.File("a.qmp")));
}

} // namespace
} // namespace ml
