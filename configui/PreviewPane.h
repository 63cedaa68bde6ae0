#pragma once
// The preview pane: shows one picture file (a picture file's full picture, or a plain
// picture) scaled to the pane, optionally with a message written over it in shadowed text.
// The picture is made when a file is shown; resizing the pane stretches what was made.

#include "configui/ExtControls.h"

#include <optional>
#include <string>

namespace ml {

class TQMPreview : public TImage {
public:
    explicit TQMPreview(QWidget* parent = nullptr);

    // The text written over the picture while the overlay is on.
    std::string UnavailableMsg;

    // Remembers the file and shows it. A picture that cannot be read is reported in a message
    // box; the pane is blank then.
    void ShowFile(const std::string& fileName);
    // Shows the remembered file again; nothing while no file was shown.
    void Redraw();
    void ShowMessageOverlay(bool on);

    bool OverlayOn() const { return Overlay; }
    const std::string& FileName() const { return ShownFile; }

private:
    struct TShownLook {
        std::string File;
        QSize Size;
        bool Overlay = false;
        std::string Message;
        bool operator==(const TShownLook&) const = default;
    };
    void Show();

    std::optional<TShownLook> LastLook;
    std::string ShownFile;
    bool HasFile = false;
    bool Overlay = false;
};

} // namespace ml
