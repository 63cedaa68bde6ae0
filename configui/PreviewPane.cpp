#include "configui/PreviewPane.h"

#include "backend/PictureLoader.h"
#include "effects/BitmapRoutines.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"
#include "platform/Strings.h"
#include "project/Project.h"

namespace ml {

namespace {

// The picture a file shows: a picture file's full-size picture, a plain picture as it is,
// nothing for other files.
TBitmap SourcePicture(const std::string& fileName) {
    if (UpperCase(ExtractFileExt(fileName)) == ".QMP") {
        TProject project; // reports its own failures
        return project.Load(fileName) ? project.Picture : TBitmap();
    }
    if (IsPlainPictureFile(fileName))
        return LoadPicture(fileName);
    return TBitmap();
}

} // namespace

TQMPreview::TQMPreview(QWidget* parent) : TImage(parent) {}

void TQMPreview::ShowFile(const std::string& fileName) {
    ShownFile = fileName;
    HasFile = true;
    Show();
}

void TQMPreview::Redraw() {
    if (HasFile)
        Show();
    repaint();
}

void TQMPreview::ShowMessageOverlay(bool on) {
    Overlay = on;
    Redraw();
}

void TQMPreview::Show() {
    Stretch = true;
    // The same file at the same size and look is already on the pane; reading it again would
    // only repeat its report when it cannot be read.
    const TShownLook look{ShownFile, size(), Overlay, UnavailableMsg};
    if (look == LastLook)
        return;
    LastLook = look;
    TBitmap pane(width(), height());
    TBitmap source;
    try {
        source = SourcePicture(ShownFile);
    } catch (const Exception& e) {
        // Reported here rather than raised, as the thumbnail grid does: a picture that cannot
        // be read leaves a blank pane and the window working around it.
        ShowErrorMessage("File: " + ShownFile + "\r\n" + e.Message());
    }
    FitBitmapSmooth(source, pane);
    if (Overlay && !pane.Empty()) {
        QPainter painter(&pane.ToImage());
        // Crisp glyphs: a one-pixel shadow only shows around pixels that are fully set.
        QFont crisp = font();
        crisp.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(crisp);
        const QString text = QString::fromStdString(UnavailableMsg);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        // Black one pixel down and right of the white text: readable on any picture.
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(2, 2), QPoint(width() - 1, height() - 1)), flags, text);
        painter.setPen(Qt::white);
        painter.drawText(QRect(QPoint(1, 1), QPoint(width() - 1, height() - 1)), flags, text);
    }
    SetPicture(pane.ToImage());
}

} // namespace ml
