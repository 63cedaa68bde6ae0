#include "platform/DesktopWallpaper.h"

#include "platform/Strings.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QUrl>
#include <cstdlib>

namespace ml {

namespace {

class TQtProcessRunner : public TProcessRunner {
public:
    TProcessResult Run(const std::string& program, const std::vector<std::string>& args) override {
        QStringList arguments;
        for (const std::string& arg : args)
            arguments << QString::fromStdString(arg);
        QProcess process;
        process.start(QString::fromStdString(program), arguments);
        TProcessResult result;
        if (!process.waitForStarted(5000))
            return result;
        result.Started = true;
        if (!process.waitForFinished(15000)) {
            process.kill();
            process.waitForFinished(1000);
            result.Output = "did not finish in time";
            return result;
        }
        result.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.Output =
            (process.readAllStandardOutput() + process.readAllStandardError()).toStdString();
        return result;
    }
};

TProcessRunner*& InstalledRunner() {
    static TProcessRunner* runner = nullptr;
    return runner;
}

TProcessRunner& Runner() {
    static TQtProcessRunner real;
    TProcessRunner* installed = InstalledRunner();
    return installed ? *installed : real;
}

// A GVariant string literal, which is what gsettings expects as a value.
std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "'";
}

enum class TDesktopKind { Unknown, Gnome, Cinnamon, Mate, Xfce };

struct TDesktop {
    TDesktopKind Kind = TDesktopKind::Unknown;
    std::string Name;
};

TDesktop CurrentDesktop() {
    const char* value = std::getenv("XDG_CURRENT_DESKTOP");
    TDesktop desktop;
    desktop.Name = value ? value : "";
    // The variable is a colon-separated list, most specific first ("ubuntu:GNOME").
    std::string list = UpperCase(desktop.Name) + ":";
    for (std::size_t start = 0, end; (end = list.find(':', start)) != std::string::npos;
         start = end + 1) {
        const std::string part = list.substr(start, end - start);
        if (part == "GNOME" || part == "UNITY" || part == "BUDGIE" || part == "PANTHEON" ||
            part == "UBUNTU" || part == "GNOME-CLASSIC" || part == "GNOME-FLASHBACK")
            desktop.Kind = TDesktopKind::Gnome;
        else if (part == "X-CINNAMON" || part == "CINNAMON")
            desktop.Kind = TDesktopKind::Cinnamon;
        else if (part == "MATE")
            desktop.Kind = TDesktopKind::Mate;
        else if (part == "XFCE")
            desktop.Kind = TDesktopKind::Xfce;
        if (desktop.Kind != TDesktopKind::Unknown)
            break;
    }
    return desktop;
}

class TWallpaperSetter {
public:
    TWallpaperSetter(std::string path, std::string& failure)
        : Path(std::move(path)), Failure(failure) {}

    // Runs one settings command; on failure fills the message and returns false.
    bool Command(const std::string& program, const std::vector<std::string>& args,
                 std::string* output = nullptr) {
        const TProcessResult result = Runner().Run(program, args);
        if (!result.Started) {
            Failure = "The wallpaper could not be set: the desktop's settings tool \"" + program +
                      "\" is not available. The picture was saved as " + Path + ".";
            return false;
        }
        if (result.ExitCode != 0) {
            Failure = "The wallpaper could not be set: \"" + program +
                      "\" reported: " + Trim(result.Output) + ". The picture was saved as " + Path +
                      ".";
            return false;
        }
        if (output)
            *output = Trim(result.Output);
        return true;
    }

    bool Gsettings(const std::string& schema, const std::string& key, const std::string& value) {
        if (!Command("gsettings", {"set", schema, key, Quoted(value)}))
            return false;
        // Tiled placement is the one thing turned off; the others are the user's choice.
        std::string placement;
        if (!Command("gsettings", {"get", schema, "picture-options"}, &placement))
            return false;
        if (placement == "'wallpaper'")
            return Command("gsettings", {"set", schema, "picture-options", "'centered'"});
        return true;
    }

    bool Xfconf() {
        std::string listing;
        if (!Command("xfconf-query", {"-c", "xfce4-desktop", "-l"}, &listing))
            return false;
        bool any = false;
        for (const std::string& line : SplitLines(listing)) {
            const std::string property = Trim(line);
            if (EndsWith(property, "/last-image")) {
                any = true;
                if (!Command("xfconf-query", {"-c", "xfce4-desktop", "-p", property, "-s", Path}))
                    return false;
            } else if (EndsWith(property, "/image-style")) {
                std::string style;
                if (!Command("xfconf-query", {"-c", "xfce4-desktop", "-p", property}, &style))
                    return false;
                // 2 is tiled; 1 is centred.
                if (style == "2" &&
                    !Command("xfconf-query", {"-c", "xfce4-desktop", "-p", property, "-s", "1"}))
                    return false;
            }
        }
        if (!any)
            Failure = "The wallpaper could not be set: the desktop has no background to "
                      "change. The picture was saved as " +
                      Path + ".";
        return any;
    }

private:
    static bool EndsWith(const std::string& text, const std::string& end) {
        return text.size() >= end.size() &&
               text.compare(text.size() - end.size(), end.size(), end) == 0;
    }

    std::string Path;
    std::string& Failure;
};

} // namespace

void SetProcessRunner(TProcessRunner* runner) {
    InstalledRunner() = runner;
}

bool SetDesktopWallpaper(const std::string& path, std::string& failure) {
    const QString absolute = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    const std::string file = absolute.toStdString();
    const std::string uri =
        QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded).toStdString();
    const TDesktop desktop = CurrentDesktop();
    TWallpaperSetter setter(file, failure);
    switch (desktop.Kind) {
    case TDesktopKind::Gnome:
        // Newer GNOME keeps a second picture for its dark style; older ones lack the key, so
        // a failure there is not worth reporting.
        if (!setter.Gsettings("org.gnome.desktop.background", "picture-uri", uri))
            return false;
        Runner().Run("gsettings",
                     {"set", "org.gnome.desktop.background", "picture-uri-dark", Quoted(uri)});
        return true;
    case TDesktopKind::Cinnamon:
        return setter.Gsettings("org.cinnamon.desktop.background", "picture-uri", uri);
    case TDesktopKind::Mate:
        return setter.Gsettings("org.mate.background", "picture-filename", file);
    case TDesktopKind::Xfce:
        return setter.Xfconf();
    case TDesktopKind::Unknown:
        break;
    }
    failure = "The wallpaper could not be set: this desktop (" +
              (desktop.Name.empty() ? std::string("unknown") : desktop.Name) +
              ") offers no way for programs to change it. The picture was saved as " + file +
              "; set it as the background in the desktop's own settings.";
    return false;
}

} // namespace ml
