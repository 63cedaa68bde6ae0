#pragma once
// Setting the desktop background. Linux desktops keep it in their own settings stores, so
// this asks the desktop's settings tool: gsettings on GNOME and its relatives (Unity,
// Budgie, Pantheon), Cinnamon and MATE; xfconf-query on XFCE. Other desktops have no tool
// we can count on, and the caller is told so instead of being told it worked.

#include <string>
#include <vector>

namespace ml {

struct TProcessResult {
    bool Started = false; // false when the program is not installed or cannot run
    int ExitCode = -1;
    std::string Output; // standard output, then standard error
};

// Runs a program and waits for it. The default runs real processes; tests install one that
// records the calls and answers them.
class TProcessRunner {
public:
    virtual ~TProcessRunner() = default;
    virtual TProcessResult Run(const std::string& program,
                               const std::vector<std::string>& args) = 0;
};

// Installs a runner (not owned); nullptr restores the default.
void SetProcessRunner(TProcessRunner* runner);

// Shows the picture file at path as the desktop background, and turns tiling off where the
// desktop had it on (other placements are the user's choice and stay). The desktop is the
// one XDG_CURRENT_DESKTOP names. Returns false with a sentence for the user in failure when
// no known way exists or the settings tool fails.
bool SetDesktopWallpaper(const std::string& path, std::string& failure);

} // namespace ml
