// The panels beside the canvas: sound slots checked and kept without gaps, the stored size
// that re-fits the water's picture, and the parameter file the studio writes, which must
// pass the same checks make-qmp makes.

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "project/PictureFileWriter.h"
#include "studio/LiveWater.h"
#include "studio/PictureControls.h"
#include "studio/PictureRecipe.h"
#include "studio/SoundControls.h"
#include "tests/mixer/WaveFiles.h"
#include "tests/studio/StudioFixture.h"
#include "tools/authoring/IniSchema.h"

#include <QComboBox>
#include <QSignalSpy>

namespace ml::studio {
namespace {

class PanelsTest : public test::StudioTest {
protected:
    std::string Wave(const std::string& name, std::uint16_t bits) const {
        return Dir.Write(name, test::MakeWave(1, 22050, bits, std::string(8 * bits / 8, '\x40')));
    }
    std::string Slot(const TPictureDocument& document, int slot) const {
        return SlotPath(document.Settings().Sounds[static_cast<std::size_t>(slot)]);
    }
};

TEST_F(PanelsTest, SoundsArePlayableWaveFilesThatFillTheSlotsWithoutGaps) {
    auto document = OpenPhoto();
    TSoundControls sounds;
    sounds.SetDocument(document.get());
    QSignalSpy said(&sounds, &TSoundControls::message);

    EXPECT_EQ(sounds.TakeSound(5, QString::fromStdString(Wave("gull.wav", 16))), "");
    EXPECT_EQ(Slot(*document, 0), "gull.wav") << "a slot past the ones in use takes the first free";
    EXPECT_EQ(document->SoundFile("gull.wav"), Dir.File("gull.wav"));
    EXPECT_EQ(sounds.TakeSound(1, QString::fromStdString(Wave("deep.wav", 24))), "");
    EXPECT_EQ(Slot(*document, 1), "deep.wav");
    ASSERT_EQ(said.count(), 1) << "a 24-bit sound is taken, with a word on its conversion";
    EXPECT_TRUE(said.front().front().toString().contains("16 bits"));

    const QString refused =
        sounds.TakeSound(2, QString::fromStdString(Dir.Write("song.mp3", "ID3")));
    EXPECT_TRUE(refused.contains("WAVE files of 8- or 16-bit PCM")) << refused.toStdString();
    EXPECT_EQ(Slot(*document, 2), "");
    EXPECT_TRUE(
        sounds.TakeSound(2, QString::fromStdString(Dir.File("gone.wav"))).contains("no such file"));

    // Clearing the first slot moves the second up: the sounds stay together.
    sounds.ClearSlot(0);
    EXPECT_EQ(Slot(*document, 0), "deep.wav");
    EXPECT_EQ(UsedSoundSlots(document->Settings().Sounds), 1);
    document->History().undo();
    EXPECT_EQ(Slot(*document, 0), "gull.wav");
}

TEST_F(PanelsTest, AStoredSizeChoiceRefitsTheWaterAndUndoBringsTheSizeBack) {
    auto document = OpenPhoto(1600, 1200);
    ASSERT_EQ(document->StoredSize(), QSize(1440, 1080)) << "taller than a large screen";
    TPictureControls controls;
    controls.SetDocument(document.get());
    QComboBox* sizes = controls.StoredSize();
    ASSERT_EQ(sizes->itemData(0).toSize(), QSize()) << "as opened comes first";
    const int small = sizes->findData(QSize(800, 600));
    ASSERT_GT(small, 0);
    sizes->setCurrentIndex(small);
    emit sizes->activated(small);
    EXPECT_EQ(document->StoredSize(), QSize(800, 600));
    EXPECT_EQ(document->StoredPicture().Width(), 800);
    EXPECT_EQ(sizes->findData(QSize(3840, 2160)), -1) << "no size larger than the picture";

    document->History().undo();
    EXPECT_EQ(document->StoredSize(), QSize(1440, 1080));
    EXPECT_EQ(sizes->currentData().toSize(), kLargeScreen);
    sizes->setCurrentIndex(0);
    emit sizes->activated(0);
    EXPECT_EQ(document->StoredPicture().Width(), 1600) << "as opened";
}

TEST_F(PanelsTest, TheParameterFileTheStudioWritesPassesMakeQmpsChecks) {
    TPictureSettings settings;
    settings.Waves = StartingWaves(1920);
    settings.Waves[2].JitterRange = 3;
    settings.Waves[3].Horizontal = 1;
    settings.Weather = StartingWeather();
    settings.Weather.Kind = 1;
    settings.Weather.Count = 250;
    settings.Sounds[0] = MakeSoundSlot("wind.wav", 2, 7, 0);
    const std::string path = Dir.File("params.ini");
    WriteParameterFile(path, settings);

    const authoring::TFindings findings =
        authoring::CheckIniFile(path, path, authoring::PictureParamsSchema());
    EXPECT_TRUE(findings.empty()) << test::AllText(findings);
    const TIniFile ini(path);
    const authoring::TIniSchema& schema = authoring::PictureParamsSchema();
    for (const auto& key : schema.Find("Area3")->Keys)
        EXPECT_EQ(authoring::IntegerValue(ini, schema, "Area3", key.Name),
                  WaveValue(settings.Waves[2], key.Name))
            << key.Name;
    EXPECT_EQ(authoring::IntegerValue(ini, schema, "Weather", "Count"), 250);
    EXPECT_EQ(ini.ReadString("Sound1", "Path", ""), "wind.wav");
    EXPECT_EQ(authoring::IntegerValue(ini, schema, "Sound1", "MinSeconds"), 7);
    EXPECT_FALSE(ini.SectionExists("Sound2"));
}

TEST_F(PanelsTest, TheWaterStartsAfreshOnlyWhenItMust) {
    // A new jitter range is drawn when the water starts; the other wave values reach the
    // running water without a restart, so its phase goes on.
    auto document = OpenPhoto(64, 48);
    TLiveWater water;
    water.SetFixedSeed(3);
    TBitmap mask(64, 48);
    mask.Fill(0x0000FF);
    water.SetPicture(document->StoredPicture(), mask);
    water.SetWaves(StartingWaves(64));
    water.Step();
    water.Step();
    const auto phase = water.Waves().PhaseOffset(0);
    ASSERT_NE(phase, 0);

    TWaves waves = StartingWaves(64);
    waves[0].Amplitude = 9;
    water.SetWaves(waves);
    EXPECT_EQ(water.Waves().PhaseOffset(0), phase);
    waves[0].JitterRange = 4;
    water.SetWaves(waves);
    // Started afresh: only the frame computed on starting has moved it.
    EXPECT_EQ(water.Waves().PhaseOffset(0), waves[0].PhaseStep);
    const std::vector<int>& jitter = water.Waves().ColumnJitter(0);
    EXPECT_TRUE(std::any_of(jitter.begin(), jitter.end(), [](int j) { return j > 0; }));

    // Speed is the show's percentage: at 200 % the phase moves twice as far.
    const auto before = water.Waves().PhaseOffset(0);
    water.SetSpeed(200);
    water.Step();
    EXPECT_EQ(water.Waves().PhaseOffset(0) - before, 2 * waves[0].PhaseStep);
}

} // namespace
} // namespace ml::studio
