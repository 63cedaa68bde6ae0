#pragma once
// The project page: the show's pictures as thumbnails, the project's settings as a form, and
// the two ways out of the studio: "Try the show", which plays the folder in a window, and
// "Build saver…", which checks the project as pack does, lists what to fix, and writes the
// saver.

#include "studio/ProjectFolder.h"
#include "tools/authoring/Findings.h"

#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace ml::studio {

class TPictureDocument;
class TProjectForm;
class TProjectPictures;

// What "Build saver…" found and did.
struct TBuildOutcome {
    authoring::TFindings Findings; // pack's checks of the project
    bool Built = false;
    QString Saver;   // where the saver is, when built
    QString Problem; // why pack did not build it, when it ran and failed
    QString Output;  // what pack said when it built the saver
};

class TProjectPage : public QWidget {
    Q_OBJECT
public:
    explicit TProjectPage(QWidget* parent = nullptr);
    ~TProjectPage() override;

    static bool IsProjectFolder(const QString& folder);
    // Shows a folder's project; a folder without project.ini becomes a new project when
    // saved.
    void OpenFolder(const QString& folder);
    // The open folder without a trailing "/", "" for none.
    QString Folder() const;
    TProjectFolder& Project() { return Settings; }

    // The picture open on the picture page (not owned), for "make a project here".
    void SetPicture(TPictureDocument* picture);
    // A picture file was saved: one saved inside the project's folder joins the show.
    void NotePictureSaved(const QString& path);
    // Makes a new project folder from pictures (photos are stored as the player reads them,
    // picture files come with their sounds) and opens it. False after saying why when not.
    bool CreateProject(const QString& folder, const QStringList& pictures);
    // Asks for pictures and a new folder, and makes the project.
    void ProjectFromPictures();

    bool Modified() const { return Settings.Exists() && Settings.Modified(); }
    // Writes project.ini; false after saying why when it could not.
    bool Save();
    // Drops unsaved changes by reading the folder again.
    void Forget();
    // Asks about unsaved project changes before another folder is opened.
    bool MayLeave();

    QAction* TryAction() const { return Try; }
    QAction* BuildAction() const { return Build; }
    TProjectPictures* Pictures() const { return PictureList; }
    TProjectForm* Form() const { return SettingsForm; }
    // The saver "Build saver…" writes for the folder unless the author names another.
    QString DefaultSaverPath() const;
    // Checks the project as pack does; with no errors and a path, builds the saver there.
    TBuildOutcome BuildSaver(const QString& path);

signals:
    void message(const QString& text);
    void openPicture(const QString& path);
    // The picture page goes on with another file (the project's copy of the picture).
    void continueWithPicture(const QString& path);
    void changed();
    // The page needs the picture and the project saved before it plays or packs them.
    bool saveRequested();

private:
    QWidget* MakeEmptyState();
    QWidget* MakeProjectView();
    void Refresh();
    void AddPictures();
    void TryTheShow();
    void ProjectFromPicture();
    QString AskNewFolder(const QString& firstPicture);
    void BuildSaverAsked();
    bool SaveEverything();

    TProjectFolder Settings;
    TPictureDocument* Picture = nullptr;
    QStackedWidget* Views;
    TProjectPictures* PictureList = nullptr;
    TProjectForm* SettingsForm = nullptr;
    QLabel* FolderText = nullptr;
    QPushButton* MakeHere = nullptr;
    QAction* Try;
    QAction* Build;
    QPointer<QWidget> PlayWindow;
};

// mirrorlake-tool beside the studio (installed) or in the build tree's tools folder; the
// bare name (found on PATH) when neither has it.
QString AuthoringToolPath();

} // namespace ml::studio
