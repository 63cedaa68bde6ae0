// new: pictures of every kind become a project that packs with no further work, and a
// folder appears only when it is complete.

#include "tools/authoring/NewProject.h"
#include "platform/Exceptions.h"
#include "platform/Profile.h"
#include "tests/mixer/WaveFiles.h"
#include "tests/tools/AuthoringFixture.h"
#include "tools/authoring/PackPlan.h"
#include "tools/authoring/PictureKind.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ml::authoring {
namespace {

namespace fs = std::filesystem;
using test::AllText;

class NewProjectTest : public ::testing::Test {
protected:
    test::TTempDir In;
    test::TTempDir Out;
};

TEST_F(NewProjectTest, PicturesOfEveryKindBecomeAProjectThatPacks) {
    const std::string png = In.Write("Sea Side.png", test::Encoded(test::Landscape(80, 60), "PNG"));
    const std::string jpeg = In.Write("photo.JPEG", test::JpegOf(test::Landscape(60, 80)));
    // Qt writes no GIF: one red pixel, written out byte by byte.
    const std::string gif = In.Write(
        "sun.gif", std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00,"
                               "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                               35));
    const std::string bmp = In.Write("a=b.dat", test::Encoded(test::Landscape(20, 20), "BMP"));
    const std::string qmp = test::MakePictureFile(In, "lake.qmp", "[Sound1]\nPath=surf.wav\n");
    In.Write("surf.wav", test::MakeWave(1, 22050, 16, std::string(400, '\x10')));

    const std::string dir = Out.File("my-lake_show");
    const TNewProject project = MakeNewProject(dir, {png, jpeg, gif, bmp, qmp}, {});
    EXPECT_EQ(project.Pictures, (std::vector<std::string>{"Sea Side.jpg", "photo.jpg", "sun.gif",
                                                          "a-b.bmp", "lake.qmp"}));
    EXPECT_EQ(PictureKindOfFile(dir + "/Sea Side.jpg"), TPictureKind::Jpeg)
        << "PNG is stored as JPEG";
    EXPECT_TRUE(test::Says(project.Findings, "stored as JPEG in Sea Side.jpg"));
    EXPECT_TRUE(fs::exists(dir + "/surf.wav")) << "a picture file's sound comes along";
    EXPECT_EQ(ReadAuthorPicture(dir + "/preview.jpg").Width(), 400);

    const TIniFile ini(dir + "/project.ini");
    EXPECT_EQ(ini.ReadSection("FileList"), project.Pictures);
    EXPECT_EQ(ini.ReadString("General", "ProductName", ""), "My Lake Show");
    EXPECT_EQ(ini.ReadInteger("Default", "Duration", 0), 20);
    EXPECT_EQ(ini.ReadInteger("Default", "DirectX", 1), 0);
    EXPECT_EQ(ini.ReadInteger("Default", "Proportional", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Default", "Transition", 0), 1);

    const TPackPlan plan = PlanPack(dir);
    EXPECT_TRUE(plan.Findings.empty()) << AllText(plan.Findings);
    EXPECT_EQ(plan.InterfaceSource, dir + "/ui.wui");
}

TEST_F(NewProjectTest, TextsAndNamesGivenAreKept) {
    const std::string a = In.Write("a/lake.jpg", test::JpegOf(test::Landscape(40, 30)));
    const std::string b = In.Write("b/lake.jpg", test::JpegOf(test::Landscape(40, 30)));
    const std::string preview = In.Write("preview.jpg", test::JpegOf(test::Landscape(40, 30)));
    const TNewProject project = MakeNewProject(Out.File("p"), {a, b, preview},
                                               {"Lake Side", "Example Ltd", "https://e.org"});
    EXPECT_EQ(project.Pictures,
              (std::vector<std::string>{"lake.jpg", "lake-2.jpg", "preview-2.jpg"}));
    const TIniFile ini(Out.File("p/project.ini"));
    EXPECT_EQ(ini.ReadString("General", "ProductName", ""), "Lake Side");
    EXPECT_EQ(ini.ReadString("General", "Publisher", ""), "Example Ltd");
    EXPECT_EQ(ini.ReadString("General", "Website", ""), "https://e.org");
}

TEST_F(NewProjectTest, NothingAppearsWhenAPictureCannotBeTaken) {
    const std::string good = In.Write("good.jpg", test::JpegOf(test::Landscape(40, 30)));
    const std::string text = In.Write("notes.txt", "not a picture");
    EXPECT_THROW(MakeNewProject(Out.File("p"), {good, text}, {}), Exception);
    EXPECT_THROW(MakeNewProject(Out.File("p"), {good, In.File("gone.jpg")}, {}), Exception);
    EXPECT_TRUE(fs::is_empty(Out.Path())) << "no folder, no half-made scratch folder";
}

TEST_F(NewProjectTest, AFolderThatHoldsAnythingIsNeverWrittenInto) {
    const std::string good = In.Write("good.jpg", test::JpegOf(test::Landscape(40, 30)));
    Out.Write("p/mine.txt", "keep me");
    try {
        MakeNewProject(Out.File("p"), {good}, {});
        FAIL() << "wrote into a folder that holds a file";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("is not an empty folder"), std::string::npos);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Out.File("p")), fs::directory_iterator()), 1);

    fs::create_directory(Out.File("empty"));
    MakeNewProject(Out.File("empty"), {good}, {});
    EXPECT_TRUE(fs::exists(Out.File("empty/project.ini"))) << "an empty folder is taken";
}

} // namespace
} // namespace ml::authoring
