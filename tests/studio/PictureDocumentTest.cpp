// A picture as the studio edits it: painting steps and their exact undo, settings steps that
// merge while one slider is dragged, and saving: the same bytes as make-qmp, an opened file
// saved unchanged as it was, and nothing lost when a save fails.

#include "studio/PictureDocument.h"

#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "project/FileLoader.h"
#include "project/PictureFileWriter.h"
#include "studio/MaskPainting.h"
#include "studio/ProjectPage.h"
#include "tests/studio/StudioFixture.h"
#include "tests/support/RecordingSink.h"

#include <QPainter>
#include <QProcess>

namespace ml::studio {
namespace {

using test::Encoded;

class PictureDocumentTest : public test::StudioTest {};

// A picture with a flat sky, a flat lake and a rock in the lake, for the colour fill.
QImage LakeWithRock() {
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(qRgb(150, 180, 220));
    QPainter painter(&image);
    painter.fillRect(0, 30, 80, 30, qRgb(30, 60, 110));
    painter.fillRect(40, 40, 6, 6, qRgb(90, 80, 70));
    return image;
}

TEST_F(PictureDocumentTest, PaintingStepsGiveTheMaskAndUndoAndRedoRestoreItExactly) {
    auto document = TPictureDocument::Open(Dir.Write("lake.png", Encoded(LakeWithRock(), "PNG")));
    std::vector<TAreaMask> states{document->Mask()};

    document->PaintAreas(BelowLineCoverage({0, 45}, {79, 45}, {80, 60}), 1, "Horizon");
    EXPECT_EQ(document->Mask().Counts()[1], 80 * 15);
    states.push_back(document->Mask());

    // The fill takes the lake's colour around the rock, not the rock.
    document->PaintAreas(SimilarColourCoverage(document->Picture(), {2, 32}, 8), 2, "Fill");
    EXPECT_EQ(document->Mask().Counts()[2], 80 * 30 - 36);
    EXPECT_EQ(document->Mask().AreaAt(42, 42), 0);
    EXPECT_EQ(document->Mask().AreaAt(42, 50), 2);
    states.push_back(document->Mask());

    TBrushStroke stroke({80, 60}, 4);
    stroke.AddPoint({10, 10});
    stroke.AddPoint({30, 10});
    document->PaintAreas(stroke.Coverage(), 0, "Erase");
    document->PaintAreas(stroke.Coverage(), 4, "Brush");
    EXPECT_EQ(document->Mask().AreaAt(20, 10), 4);
    EXPECT_EQ(document->History().count(), 3) << "erasing dry land is no step";
    states.push_back(document->Mask());

    QUndoStack& history = document->History();
    for (int i = 3; i > 0; --i) {
        history.undo();
        EXPECT_EQ(document->Mask(), states[static_cast<std::size_t>(i - 1)]) << i;
    }
    EXPECT_FALSE(document->Modified());
    for (int i = 1; i <= 3; ++i) {
        history.redo();
        EXPECT_EQ(document->Mask(), states[static_cast<std::size_t>(i)]) << i;
    }
}

TEST_F(PictureDocumentTest, OneSliderDragIsOneStepUntilTheSliderIsLetGo) {
    auto document = OpenPhoto();
    const int before = document->Settings().Waves[0].Amplitude;
    auto amplitude = [&](int value) {
        document->Change(
            "Amplitude", [&](TPictureSettings& s) { s.Waves[0].Amplitude = value; },
            "Area1.Amplitude");
    };
    amplitude(before + 1);
    amplitude(before + 2);
    amplitude(before + 3);
    EXPECT_EQ(document->History().count(), 1);
    document->Change(
        "Count", [](TPictureSettings& s) { s.Weather.Count = 5; }, "Weather.Count");
    amplitude(before + 4); // another control came between
    EXPECT_EQ(document->History().count(), 3);
    document->CloseMerge();
    amplitude(before + 5);
    EXPECT_EQ(document->History().count(), 4);

    document->History().undo();
    document->History().undo();
    document->History().undo();
    EXPECT_EQ(document->Settings().Waves[0].Amplitude, before + 3);
    document->History().undo();
    EXPECT_EQ(document->Settings().Waves[0].Amplitude, before);
    EXPECT_FALSE(document->Modified());
}

// Everything make-qmp takes, set in the studio: a lower third of water, waves, rain, a
// sound, texts, and (in the second round) a stored-size limit.
TEST_F(PictureDocumentTest, APhotoSavedInTheStudioIsTheFileMakeQmpMakesFromTheSameInputs) {
    const std::string photo = Dir.Write("photo.jpg", test::JpegOf(test::Landscape(120, 90)));
    for (const QSize limit : {QSize(), QSize(60, 60)}) {
        auto document = TPictureDocument::Open(photo);
        document->PaintAreas(BelowLineCoverage({0, 60}, {1, 60}, {120, 90}), 1, "Horizon");
        document->Change("Waves and weather", [&](TPictureSettings& s) {
            s.Waves[0] = TWaveParam{};
            s.Waves[0].Amplitude = 6;
            s.Waves[0].WaveCount = 17;
            s.Waves[0].PhaseStep = 15;
            s.Waves[0].Direction = 1;
            s.Waves[0].Vertical = 1;
            s.Waves[0].Period = 360;
            s.Weather.Kind = 2;
            s.Weather.Count = 300;
            s.Weather.SpeedIndex = 12;
            s.Weather.Angle = 80;
            s.Weather.Length = 14;
            s.Sounds[0] = MakeSoundSlot("waves.wav", 1, 5, 20);
            s.Title = "Lake";
            s.ExtraText = "at dusk";
            s.StoredLimit = limit;
        });
        const std::string studio = Dir.File("studio.qmp");
        document->SaveAs(studio);

        // make-qmp's inputs, written by hand: the mask painted blue from row 60 down.
        QImage mask(120, 90, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter(&mask).fillRect(0, 60, 120, 30, QColor(0, 0, 255));
        const std::string maskFile = Dir.Write("mask.png", Encoded(mask, "PNG"));
        std::string params = "[Area1]\nAmplitude=6\nWaveCount=17\nPhaseStep=15\nDirection=1\n"
                             "Vertical=1\n[Weather]\nKind=2\nCount=300\nSpeedIndex=12\n"
                             "Angle=80\nLength=14\n[Sound1]\nPath=waves.wav\nMode=1\n"
                             "MinSeconds=5\nMaxSeconds=20\n";
        const std::string paramsFile = Dir.Write("params.ini", params);
        QStringList arguments{"make-qmp",
                              "--image",
                              QString::fromStdString(photo),
                              "--areas",
                              QString::fromStdString(maskFile),
                              "--params",
                              QString::fromStdString(paramsFile),
                              "--title",
                              "Lake",
                              "--extra",
                              "at dusk",
                              "-o",
                              QString::fromStdString(Dir.File("tool.qmp"))};
        if (!limit.isEmpty())
            arguments << "--max-size"
                      << "60x60";
        QProcess tool;
        tool.start(AuthoringToolPath(), arguments);
        ASSERT_TRUE(tool.waitForFinished(30000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

        const std::string made = ReadWholeFile(Dir.File("tool.qmp"));
        ASSERT_FALSE(made.empty());
        EXPECT_TRUE(ReadWholeFile(studio) == made) << "limit " << limit.width();
        EXPECT_FALSE(document->Modified());
    }
}

TEST_F(PictureDocumentTest, AnOpenedPictureFileSavedUnchangedKeepsEveryByte) {
    const std::string made = test::MakePictureFile(
        Dir, "made.qmp", "[Area1]\nAmplitude=4\nWaveCount=8\nVertical=1\nJitterRange=2\n");
    // An older file: three wave records, a sound in the legacy field, no sound table.
    TPictureFileContent legacy;
    legacy.Title = "Old";
    legacy.ThumbnailData = test::JpegOf(test::Landscape(80, 60));
    legacy.WaveRecords.resize(3);
    legacy.WaveRecords[0].Amplitude = 3;
    legacy.WaveRecords[0].Period = 360;
    TBitmap areas(40, 30);
    areas.Fill(0x0000FF);
    legacy.AreaValues = EncodeAreaMap(areas);
    legacy.PictureData = test::JpegOf(test::Landscape(40, 30));
    legacy.LegacySound = "rain.wav";
    legacy.WithSoundTable = false;
    const std::string old = Dir.Write("old.qmp", WritePictureFile(legacy));

    EXPECT_EQ(TPictureDocument::Open(old)->LegacySound(), "rain.wav");
    EXPECT_EQ(TPictureDocument::Open(made)->LegacySound(), "");
    for (const std::string& path : {made, old}) {
        auto document = TPictureDocument::Open(path);
        EXPECT_TRUE(document->FromPictureFile());
        document->SaveAs(Dir.File("again.qmp"));
        EXPECT_TRUE(ReadWholeFile(Dir.File("again.qmp")) == ReadWholeFile(path)) << path;
    }
}

TEST_F(PictureDocumentTest, AnOpenedPictureFileKeepsItsPictureWhenOnlyTheWaterChanges) {
    const std::string path = test::MakePictureFile(Dir, "lake.qmp", "[Area1]\nAmplitude=4\n");
    TFileLoader original;
    original.LoadFromFile(path);

    auto document = TPictureDocument::Open(path);
    document->Change("Amplitude", [](TPictureSettings& s) { s.Waves[1].Amplitude = 9; });
    document->PaintAreas(BelowLineCoverage({0, 10}, {1, 10}, document->Mask().Size()), 3, "Sky");
    document->SaveAs(path);

    TFileLoader saved;
    saved.LoadFromFile(path);
    EXPECT_EQ(saved.PictureData, original.PictureData);
    EXPECT_EQ(saved.ThumbnailData, original.ThumbnailData);
    EXPECT_EQ(saved.WaveParams[1].Amplitude, 9);
    EXPECT_NE(saved.AreaValues, original.AreaValues);

    // Painting undone is the file's own map again.
    document->History().undo();
    document->SaveAs(path);
    saved.LoadFromFile(path);
    EXPECT_EQ(saved.AreaValues, original.AreaValues);
}

TEST_F(PictureDocumentTest, AFailedSaveLeavesTheFileAndTheChanges) {
    auto document = OpenPhoto();
    document->PaintAreas(WholeCoverage(document->Mask().Size()), 1, "All");
    const std::string target = Dir.Write("lake.qmp", "an older file");
    Dir.Write("blocker", "a file, not a folder");
    EXPECT_THROW(document->SaveAs(Dir.File("blocker/lake.qmp")), Exception);
    EXPECT_TRUE(document->Modified());
    EXPECT_EQ(document->FileName(), "");
    EXPECT_EQ(ReadWholeFile(target), "an older file");
}

TEST_F(PictureDocumentTest, PickedSoundsTravelBesideThePictureFileWithoutOverwritingAnother) {
    test::TTempDir elsewhere;
    const std::string sound = elsewhere.Write("gull.wav", "the gull's bytes");
    auto document = OpenPhoto();
    document->NoteSoundSource("gull.wav", sound);
    document->Change("Sound",
                     [](TPictureSettings& s) { s.Sounds[0] = MakeSoundSlot("gull.wav", 0, 0, 0); });

    test::TTempDir project;
    document->SaveAs(project.File("lake.qmp"));
    EXPECT_EQ(ReadWholeFile(project.File("gull.wav")), "the gull's bytes");
    EXPECT_EQ(document->SoundFile("gull.wav"), project.File("gull.wav"));

    test::TTempDir other;
    other.Write("gull.wav", "another gull");
    document->Change("Title", [](TPictureSettings& s) { s.Title = "Changed"; });
    EXPECT_THROW(document->SaveAs(other.File("lake.qmp")), Exception);
    EXPECT_EQ(ReadWholeFile(other.File("gull.wav")), "another gull");
    EXPECT_FALSE(FileExists(other.File("lake.qmp")));
}

TEST_F(PictureDocumentTest, ALargePhotoIsStoredAtScreenSizeWithWavesSizedForIt) {
    auto document = OpenPhoto(3000, 1500);
    EXPECT_EQ(document->Settings().StoredLimit, kLargeScreen);
    EXPECT_EQ(document->StoredSize(), QSize(1920, 960));
    EXPECT_EQ(document->StoredPicture().Width(), 1920);
    EXPECT_EQ(document->Settings().Waves[0].Amplitude, 8);
    EXPECT_EQ(document->Settings().Waves[1].Amplitude, 0);
    document->Change("Size", [](TPictureSettings& s) { s.StoredLimit = QSize(); });
    EXPECT_EQ(document->StoredSize(), QSize(3000, 1500));
}

TEST_F(PictureDocumentTest, AFileThatIsNoPictureIsRefusedWithItsName) {
    const std::string path = Dir.Write("notes.txt", "not a picture");
    try {
        TPictureDocument::Open(path);
        FAIL() << "opened";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("notes.txt"), std::string::npos) << error.Message();
    }
    EXPECT_THROW(TPictureDocument::Open(Dir.File("missing.jpg")), Exception);
}

TEST_F(PictureDocumentTest, ABrokenPictureFileIsRefusedWithOneMessage) {
    const std::string made = ReadWholeFile(test::MakePictureFile(Dir, "lake.qmp", ""));
    const std::string cut = Dir.Write("cut.qmp", made.substr(0, made.size() / 2));
    try {
        TPictureDocument::Open(cut);
        FAIL() << "opened";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("cut.qmp"), std::string::npos) << error.Message();
    }

    // Whole, but its picture is no JPEG: the player's loader says so itself, once.
    TFileLoader loader;
    loader.LoadFromFile(Dir.File("lake.qmp"));
    TPictureFileContent content;
    content.ThumbnailData = loader.ThumbnailData;
    content.AreaValues = loader.AreaValues;
    content.PictureData = "not a JPEG";
    const std::string broken = Dir.Write("broken.qmp", WritePictureFile(content));
    test::TRecordingSink sink;
    EXPECT_EQ(TPictureDocument::Open(broken), nullptr);
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_NE(sink.Messages[0].Text.find("broken.qmp"), std::string::npos);
}

} // namespace
} // namespace ml::studio
