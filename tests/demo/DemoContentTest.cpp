// The demo content must be usable by the show as it is: pictures big enough, masks that only
// use the area colours and mark real water, settings the picture-file writer can read, and
// sounds the wave loader accepts and that loop without a click.

#include "demo/Ambience.h"
#include "demo/DemoProject.h"
#include "demo/Dsp.h"
#include "demo/Scenes.h"
#include "platform/Profile.h"
#include "project/ProjectRecords.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>

namespace ml {
namespace {

std::uint32_t Le(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) {
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return v;
}

std::vector<std::int16_t> PcmSamples(const std::string& wav) {
    std::vector<std::int16_t> samples((wav.size() - 44) / 2);
    std::memcpy(samples.data(), wav.data() + 44, samples.size() * 2);
    return samples;
}

class DemoScenesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Scenes = new std::vector<TDemoScene>(DemoScenes()); }
    static void TearDownTestSuite() {
        delete Scenes;
        Scenes = nullptr;
    }
    static std::vector<TDemoScene>* Scenes;
};
std::vector<TDemoScene>* DemoScenesTest::Scenes = nullptr;

TEST_F(DemoScenesTest, MasksUseOnlyAreaColoursAndMarkWaterBelowTheSky) {
    ASSERT_GE(Scenes->size(), 4u);
    std::set<std::string> names;
    for (const TDemoScene& scene : *Scenes) {
        SCOPED_TRACE(scene.Name);
        EXPECT_TRUE(names.insert(scene.Name).second) << "names become file names";
        EXPECT_GE(scene.Picture.width(), 1280);
        EXPECT_GE(scene.Picture.height(), 720);
        ASSERT_EQ(scene.AreaMask.size(), scene.Picture.size());
        const std::set<std::uint32_t> allowed(std::begin(AreaColors), std::end(AreaColors));
        long water = 0;
        int firstWaterRow = scene.AreaMask.height();
        for (int y = 0; y < scene.AreaMask.height(); ++y) {
            for (int x = 0; x < scene.AreaMask.width(); ++x) {
                const std::uint32_t c = scene.AreaMask.pixel(x, y) & 0xFFFFFFu;
                ASSERT_TRUE(allowed.count(c))
                    << "colour " << std::hex << c << " at " << x << "," << y;
                if (c != 0) {
                    ++water;
                    firstWaterRow = std::min(firstWaterRow, y);
                }
            }
        }
        const double share =
            static_cast<double>(water) / (scene.AreaMask.width() * scene.AreaMask.height());
        EXPECT_GT(share, 0.2) << "too little water to show the waves";
        EXPECT_LT(share, 0.7);
        // The sky, which the water mirrors, stays out of the mask.
        EXPECT_GT(firstWaterRow, scene.AreaMask.height() / 3);
    }
}

TEST_F(DemoScenesTest, WaterMirrorsTheSceneAboveTheShore) {
    // Just below the shore line the water shows, darkened, what stands just above it: the
    // brightness profiles across the picture must follow each other.
    for (const TDemoScene& scene : *Scenes) {
        SCOPED_TRACE(scene.Name);
        int shore = 0;
        while ((scene.AreaMask.pixel(scene.AreaMask.width() / 2, shore) & 0xFFFFFFu) == 0) {
            ++shore;
        }
        std::vector<double> above;
        std::vector<double> below;
        for (int x = 0; x < scene.Picture.width(); x += 4) {
            if ((scene.AreaMask.pixel(x, shore + 6) & 0xFFFFFFu) != 0) {
                above.push_back(qGray(scene.Picture.pixel(x, shore - 7)));
                below.push_back(qGray(scene.Picture.pixel(x, shore + 6)));
            }
        }
        ASSERT_GT(above.size(), 100u);
        auto mean = [](const std::vector<double>& v) {
            double s = 0;
            for (double d : v) {
                s += d;
            }
            return s / v.size();
        };
        const double ma = mean(above);
        const double mb = mean(below);
        double cov = 0, va = 0, vb = 0;
        for (std::size_t i = 0; i < above.size(); ++i) {
            cov += (above[i] - ma) * (below[i] - mb);
            va += (above[i] - ma) * (above[i] - ma);
            vb += (below[i] - mb) * (below[i] - mb);
        }
        EXPECT_GT(cov / std::sqrt(va * vb + 1e-9), 0.5);
    }
}

TEST_F(DemoScenesTest, SettingsReadBackThroughTheProfileReader) {
    test::TTempDir dir;
    std::set<std::string> soundNames;
    for (const TDemoSound& sound : DemoSounds()) {
        soundNames.insert(sound.FileName);
    }
    for (const TDemoScene& scene : *Scenes) {
        SCOPED_TRACE(scene.Name);
        const TIniFile ini(dir.Write(scene.Name + ".ini", scene.ParamsIni));
        for (int area = 1; area <= kAreaCount; ++area) {
            const std::string section = "Area" + std::to_string(area);
            // A zero period would stop the whole picture's water, used area or not.
            EXPECT_EQ(ini.ReadInteger(section, "Period", 0), 360) << section;
        }
        EXPECT_GT(ini.ReadInteger("Area1", "Amplitude", 0), 0);
        const int kind = ini.ReadInteger("Weather", "Kind", -1);
        EXPECT_TRUE(kind >= 0 && kind <= 2);
        for (int slot = 1; ini.SectionExists("Sound" + std::to_string(slot)); ++slot) {
            const std::string section = "Sound" + std::to_string(slot);
            EXPECT_TRUE(soundNames.count(ini.ReadString(section, "Path", "")))
                << "every sound a scene names is made";
            const int mode = ini.ReadInteger(section, "Mode", -1);
            EXPECT_TRUE(mode >= 0 && mode <= 2);
            if (mode == 1) {
                EXPECT_LT(ini.ReadInteger(section, "MinSeconds", 0),
                          ini.ReadInteger(section, "MaxSeconds", 0));
            }
        }
    }
}

TEST(DemoPicturesTest, PlainPictureAndPreviewHaveTheirSizes) {
    const QImage plain = DemoPlainPicture();
    EXPECT_GE(plain.width(), 1280);
    EXPECT_GE(plain.height(), 720);
    const QImage preview = DemoPreview();
    EXPECT_EQ(preview.size(), QSize(400, 300));
}

TEST(DemoPicturesTest, PaintingIsDeterministic) {
    const demo::TSceneArt a = demo::PaintRiver();
    const demo::TSceneArt b = demo::PaintRiver();
    EXPECT_EQ(a.Picture, b.Picture);
    EXPECT_EQ(a.AreaMask, b.AreaMask);
}

TEST(DemoSoundsTest, WaveFilesAreSmallMonoPcmAt22050) {
    std::vector<TDemoSound> all = DemoSounds();
    const std::vector<TDemoSound> music = DemoMusic();
    ASSERT_EQ(all.size(), 4u);
    ASSERT_EQ(music.size(), 2u);
    all.insert(all.end(), music.begin(), music.end());
    for (const TDemoSound& sound : all) {
        SCOPED_TRACE(sound.FileName);
        const std::string& w = sound.WavBytes;
        ASSERT_GT(w.size(), 44u);
        EXPECT_EQ(w.substr(0, 4), "RIFF");
        EXPECT_EQ(Le(w, 4, 4), w.size() - 8);
        EXPECT_EQ(w.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(Le(w, 20, 2), 1u);     // PCM
        EXPECT_EQ(Le(w, 22, 2), 1u);     // mono
        EXPECT_EQ(Le(w, 24, 4), 22050u); // rate
        EXPECT_EQ(Le(w, 28, 4), 44100u); // bytes per second
        EXPECT_EQ(Le(w, 32, 2), 2u);     // block align
        EXPECT_EQ(Le(w, 34, 2), 16u);
        EXPECT_EQ(w.substr(36, 4), "data");
        EXPECT_EQ(Le(w, 40, 4), w.size() - 44);
        const std::vector<std::int16_t> pcm = PcmSamples(w);
        const auto peak = std::abs(*std::max_element(
            pcm.begin(), pcm.end(), [](auto a, auto b) { return std::abs(a) < std::abs(b); }));
        EXPECT_GT(peak, 3000) << "audible";
        EXPECT_LT(peak, 32767) << "never clipped";
    }
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_LT(all[i].WavBytes.size(), 400u * 1024) << all[i].FileName;
    }
    for (const TDemoSound& track : music) {
        const double seconds = (track.WavBytes.size() - 44) / 44100.0;
        EXPECT_GE(seconds, 20.0);
        EXPECT_LE(seconds, 40.0);
    }
}

TEST(DemoSoundsTest, LoopsJoinWithoutAClick) {
    // The jump from the last sample back to the first must look like any ordinary step of
    // the sound, not like the rare large ones.
    for (const TDemoSound& sound : DemoSounds()) {
        if (sound.FileName == "bird.wav") {
            continue; // a one-shot call, not a loop
        }
        SCOPED_TRACE(sound.FileName);
        const std::vector<std::int16_t> pcm = PcmSamples(sound.WavBytes);
        std::vector<int> steps;
        for (std::size_t i = 1; i < pcm.size(); ++i) {
            steps.push_back(std::abs(pcm[i] - pcm[i - 1]));
        }
        std::sort(steps.begin(), steps.end());
        EXPECT_LE(std::abs(pcm.back() - pcm.front()), steps[steps.size() * 99 / 100]);
    }
}

TEST(DemoDspTest, SeamlessLoopContinuesFromItsEndIntoItsStart) {
    demo::TSignal ramp(120);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        ramp[i] = static_cast<float>(i);
    }
    const demo::TSignal loop = demo::MakeSeamless(ramp, 100, 20);
    ASSERT_EQ(loop.size(), 100u);
    EXPECT_EQ(loop[99], 99.0f);         // the end is untouched
    EXPECT_NEAR(loop[0], 100.0f, 1.0f); // the start is what followed the end
    EXPECT_EQ(loop[50], 50.0f);
}

TEST(DemoDspTest, EventsPastTheEndWrapToTheStart) {
    demo::TSignal loop(10, 0.0f);
    demo::AddWrapped(loop, 8, {1.0f, 2.0f, 3.0f, 4.0f}, 0.5f);
    EXPECT_EQ(loop, (demo::TSignal{1.5f, 2.0f, 0, 0, 0, 0, 0, 0, 0.5f, 1.0f}));
}

} // namespace
} // namespace ml
