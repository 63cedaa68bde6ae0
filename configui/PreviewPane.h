#pragma once
// The preview pane: shows one picture file (a picture file's full picture, or a plain
// picture) scaled to the pane, optionally with a message written over it in shadowed text.
// The picture is made when a file is shown; resizing the pane stretches what was made.

#include "configui/ExtControls.h"

#include <string>

namespace ml {

class TQMPreview : public TImage {
public:
    explicit TQMPreview(QWidget* parent = nullptr);

    // The text written over the picture while the overlay is on.
    std::string UnavailableMsg;

    // Remembers the file and shows it. A plain picture that cannot be read raises the
    // picture loader's error; the pane is blank then.
    void ShowFile(const std::string& fileName);
    // Shows the remembered file again; nothing while no file was shown.
    void Redraw();
    void ShowMessageOverlay(bool on);

    bool OverlayOn() const { return Overlay; }
    const std::string& FileName() const { return ShownFile; }

private:
    void Show();

    std::string ShownFile;
    bool HasFile = false;
    bool Overlay = false;
};

} // namespace ml
