// The wallpaper file and the desktop calls, with the desktop's settings tools replaced by a
// runner that records what would have run.

#include "effects/Wallpaper.h"
#include "platform/Bitmap.h"
#include "platform/DesktopWallpaper.h"
#include "platform/Exceptions.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <QString>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

namespace ml::test {
namespace {

class TFakeRunner : public TProcessRunner {
public:
    TFakeRunner() { SetProcessRunner(this); }
    ~TFakeRunner() override { SetProcessRunner(nullptr); }

    TProcessResult Run(const std::string& program, const std::vector<std::string>& args) override {
        std::string line = program;
        for (const std::string& arg : args)
            line += " " + arg;
        Calls.push_back(line);
        if (Missing)
            return {};
        const auto answer = Answers.find(line);
        return {true, Failing ? 1 : 0, answer == Answers.end() ? "" : answer->second};
    }

    std::vector<std::string> Calls;
    std::map<std::string, std::string> Answers; // command line -> output
    bool Missing = false;
    bool Failing = false;
};

class TDesktopEnv {
public:
    explicit TDesktopEnv(const char* name) {
        const char* old = std::getenv("XDG_CURRENT_DESKTOP");
        Had = old != nullptr;
        Old = old ? old : "";
        setenv("XDG_CURRENT_DESKTOP", name, 1);
    }
    ~TDesktopEnv() {
        if (Had)
            setenv("XDG_CURRENT_DESKTOP", Old.c_str(), 1);
        else
            unsetenv("XDG_CURRENT_DESKTOP");
    }

private:
    bool Had;
    std::string Old;
};

TBitmap Picture() {
    TBitmap bitmap(5, 3); // odd width: rows carry padding in the file
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            bitmap.SetPixel(x, y, std::uint32_t(x * 50) << 16 | std::uint32_t(y * 100) << 8 | 7);
    return bitmap;
}

TEST(Wallpaper, WritesABmpAndSetsItOnGnomeTurningTilingOff) {
    TTempDir dir;
    TFakeRunner runner;
    TDesktopEnv env("ubuntu:GNOME");
    const std::string path = dir.File("saver.scr.bmp");
    const std::string uri = "'file://" + path + "'";
    runner.Answers["gsettings get org.gnome.desktop.background picture-options"] = "'wallpaper'\n";

    EXPECT_TRUE(SetWallpaper(Picture(), path));

    const QImage written(QString::fromStdString(path), "BMP");
    ASSERT_EQ(written.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(written.pixel(x, y) & 0xFFFFFF, Picture().Pixel(x, y)) << x << "," << y;
    const std::vector<std::string> expected = {
        "gsettings set org.gnome.desktop.background picture-uri " + uri,
        "gsettings get org.gnome.desktop.background picture-options",
        "gsettings set org.gnome.desktop.background picture-options 'centered'",
        "gsettings set org.gnome.desktop.background picture-uri-dark " + uri,
    };
    EXPECT_EQ(runner.Calls, expected);
}

TEST(Wallpaper, XfceGetsEveryBackdropAndMateThePlainPath) {
    TTempDir dir;
    TFakeRunner runner;
    const std::string path = dir.File("it's.bmp");
    {
        TDesktopEnv env("XFCE");
        runner.Answers["xfconf-query -c xfce4-desktop -l"] =
            "/backdrop/screen0/monitor0/workspace0/image-style\n"
            "/backdrop/screen0/monitor0/workspace0/last-image\n"
            "/backdrop/screen0/monitorHDMI/workspace0/last-image\n";
        runner.Answers["xfconf-query -c xfce4-desktop -p "
                       "/backdrop/screen0/monitor0/workspace0/image-style"] = "2";
        EXPECT_TRUE(SetWallpaper(Picture(), path));
        const std::vector<std::string> expected = {
            "xfconf-query -c xfce4-desktop -l",
            "xfconf-query -c xfce4-desktop -p /backdrop/screen0/monitor0/workspace0/image-style",
            "xfconf-query -c xfce4-desktop -p /backdrop/screen0/monitor0/workspace0/image-style "
            "-s 1",
            "xfconf-query -c xfce4-desktop -p /backdrop/screen0/monitor0/workspace0/last-image "
            "-s " +
                path,
            "xfconf-query -c xfce4-desktop -p /backdrop/screen0/monitorHDMI/workspace0/last-image "
            "-s " +
                path,
        };
        EXPECT_EQ(runner.Calls, expected);
    }
    runner.Calls.clear();
    TDesktopEnv env("MATE");
    EXPECT_TRUE(SetWallpaper(Picture(), path));
    ASSERT_FALSE(runner.Calls.empty());
    EXPECT_EQ(runner.Calls[0],
              "gsettings set org.mate.background picture-filename '" + dir.Path() + "it\\'s.bmp'");
}

TEST(Wallpaper, SaysSoWhenTheDesktopCannotTakeIt) {
    struct {
        const char* Desktop;
        bool Missing, Failing;
        const char* Says;
    } const rows[] = {
        {"KDE", false, false, "offers no way"},
        {"", false, false, "(unknown)"},
        {"GNOME", true, false, "\"gsettings\" is not available"},
        {"X-Cinnamon", false, true, "\"gsettings\" reported"},
    };
    for (const auto& row : rows) {
        TTempDir dir;
        TFakeRunner runner;
        TRecordingSink sink;
        TDesktopEnv env(row.Desktop);
        runner.Missing = row.Missing;
        runner.Failing = row.Failing;
        const std::string path = dir.File("w.bmp");
        EXPECT_FALSE(SetWallpaper(Picture(), path)) << row.Desktop;
        ASSERT_EQ(sink.Messages.size(), 1u) << row.Desktop;
        EXPECT_NE(sink.Messages[0].Text.find(row.Says), std::string::npos) << sink.Messages[0].Text;
        EXPECT_NE(sink.Messages[0].Text.find(path), std::string::npos) << "names the file";
        EXPECT_FALSE(QImage(QString::fromStdString(path)).isNull()) << "the file is still made";
    }
}

TEST(Wallpaper, AFileThatCannotBeWrittenRaisesAndTouchesNoDesktop) {
    TTempDir dir;
    TFakeRunner runner;
    TDesktopEnv env("GNOME");
    EXPECT_THROW(SetWallpaper(Picture(), dir.File("no/such/folder/w.bmp")), EInOutError);
    EXPECT_THROW(SetWallpaper(TBitmap(), dir.File("empty.bmp")), EInvalidGraphic);
    EXPECT_TRUE(runner.Calls.empty());
}

} // namespace
} // namespace ml::test
