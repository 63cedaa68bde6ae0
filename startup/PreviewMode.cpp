#include "startup/PreviewMode.h"

#include "backend/PictureLoader.h"
#include "platform/Clock.h"
#include "platform/EndSignals.h"
#include "platform/Exceptions.h"

#include <QCoreApplication>
#include <string>

namespace ml {

namespace {

// Short enough that the picture appears as soon as the host shows the window, long enough
// not to spin a core while it does not.
constexpr std::uint32_t kPollMs = 10;

// True when the window became visible; false when a signal asked us to end meanwhile.
bool WaitUntilViewable(const TForeignWindow& window, const std::string& handleText) {
    const std::uint32_t start = Clock().GetTickCount();
    for (;;) {
        if (TEndSignals::Received())
            return false;
        switch (window.State()) {
        case TForeignWindow::TState::Viewable:
            return true;
        case TForeignWindow::TState::Missing:
            throw Exception("There is no window " + handleText + " to draw the preview into");
        case TForeignWindow::TState::Hidden:
            break;
        }
        if (Clock().GetTickCount() - start >= kHostWindowWaitMs)
            throw Exception("Window " + handleText + " did not become visible within " +
                            std::to_string(kHostWindowWaitMs / 1000) + " seconds");
        QCoreApplication::processEvents();
        Clock().Sleep(kPollMs);
    }
}

} // namespace

void PreviewMode(TSaverSession& session) {
    if (session.PreviewPictureFile.empty()) {
        LoadSaverProject(session);
        session.PreviewPictureFile = session.Project.Setting.PreviewFile;
    }
    if (session.PreviewPictureFile.empty())
        return;

    const std::string& handleText = session.CommandLine.HandleText;
    // Window ids are unsigned; a negative number names no window and is reported as such.
    const auto id = static_cast<std::uint32_t>(StrToInt(handleText));
    const std::unique_ptr<TForeignWindow> window = session.OpenWindow(id);
    if (WaitUntilViewable(*window, handleText))
        window->DrawStretched(LoadPicture(session.PreviewPictureFile));
}

} // namespace ml
