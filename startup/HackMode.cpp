#include "startup/HackMode.h"

#include "platform/Exceptions.h"
#include "platform/ProgramPath.h"
#include "saver/RunScreenSaver.h"
#include "startup/ExtractedRun.h"

#include <cstdlib>

namespace ml {

namespace {

std::uint32_t WindowIdFrom(const std::string& text, const std::string& where) {
    if (const auto id = ParseWindowId(text))
        return *id;
    throw EConvertError("'" + text + "' " + where + " is not a window id");
}

} // namespace

std::uint32_t HackWindowId(const THackOptions& options) {
    if (!options.WindowIdText.empty())
        return WindowIdFrom(options.WindowIdText, "after -window-id");
    const char* daemonWindow = std::getenv("XSCREENSAVER_WINDOW");
    if (daemonWindow && *daemonWindow)
        return WindowIdFrom(daemonWindow, "in $XSCREENSAVER_WINDOW");
    return RootWindowId();
}

void HackMode(TSaverSession& session, const THackOptions& options) {
    // A window that is not there fails before anything is extracted.
    const std::unique_ptr<THostWindow> host = session.OpenHost(HackWindowId(options));
    RunOnExtractedProject(session, [&] {
        RunScreenSaverInHost(session.Project, *host, IsFirstInstance(session.ProgramPath));
    });
}

} // namespace ml
