#pragma once
// The window every interface description becomes: it fills its controls from the project
// when shown, runs the action bound to a clicked control, and keeps the selected picture and
// the unticked favourites in the user's settings file when it closes.

#include "configui/ActionNumbers.h"
#include "configui/FormParent.h"
#include "project/UserSettings.h"

#include <string>

class QEventLoop;

namespace ml {

class TQMCProject;
class TQMForms;
class TQMThumbnail2;

// What every described window of one configure run shares; set by ShowDescribedWindow.
struct TDescribedWindowContext {
    TQMForms* Forms = nullptr;
    TQMCProject* Project = nullptr;
    TUserSettingsFile Settings;
};
TDescribedWindowContext& DescribedWindowContext();

class TfmQMCOnfigWindow : public TfmQMFormParent {
public:
    TfmQMCOnfigWindow();

    int CurrentIndex = 0;

    void FormShow();
    void FormClose();
    void ControlClick(QObject* sender);
    void SelectPicture(int index);
    void ThumbnailSelect(QObject* sender, int itemIndex);
    void RefreshControls();
    void LoadCurrentIndex();
    void LoadExcludedPictures(TQMThumbnail2& grid);

    // Shows the window modally; returns when it has closed.
    void ShowModal();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RunAction(int number, const std::string& p1);
    void SetCurrentPictureAsWallpaper();
    int PictureCount() const;

    bool Shown = false;
    bool ClosedOnce = false;
    QEventLoop* ModalLoop = nullptr;
};

// Registers the window class with the description reader (once).
void RegisterConfigWindowClass();

} // namespace ml
