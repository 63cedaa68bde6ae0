#pragma once
// The studio's main window: the picture page and the project page under one header, the
// File, Edit, View and Tools menus, and a status line with the pointer's pixel and area.
// It remembers its size and asks before unsaved changes are lost.

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;
class QUndoGroup;

namespace ml::studio {

class THeaderBar;
class TPictureDocument;
class TPicturePage;
class TProjectPage;

class TStudioWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TStudioWindow(QWidget* parent = nullptr);
    ~TStudioWindow() override;

    // Opens a photo, a picture file or a project folder. Returns false (after saying why)
    // when it could not, or when the user kept unsaved changes instead.
    bool OpenPath(const QString& path);
    // Saves the picture (asking for a name when it has none) and the project settings.
    bool Save();
    bool SaveAs();
    // Asks about unsaved changes: true when the window may go on (saved or discarded).
    bool MayDiscardChanges();
    // Closes without a question, for a signal from a session that is ending or a daemon:
    // nobody may be there to answer, and they do not wait. Unsaved changes are not written
    // (writing over the author's files unasked is worse than keeping the last saved state),
    // but each is named on standard error, so the loss is not a silent one.
    void CloseWithoutAsking();

    TPictureDocument* Document() const { return Picture.get(); }
    TPicturePage* PicturePage() const { return PictureView; }
    TProjectPage* ProjectPage() const { return ProjectView; }
    void ShowPicturePage();
    void ShowProjectPage();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A photo, picture file or project folder dropped on the window opens.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void MakeMenus();
    // What has changes that are not saved, as the question names it ("The project settings").
    std::vector<std::string> UnsavedWork() const;
    bool OpenPicture(const QString& path);
    void SetDocument(std::unique_ptr<TPictureDocument> document);
    void ShowPointer(std::optional<QPoint> pixel, int area);
    void ShowMessage(const QString& text);
    void UpdateTitle();
    QString ChooseOpenPath();

    std::unique_ptr<TPictureDocument> Picture;
    THeaderBar* Header;
    QPushButton* PictureButton;
    QPushButton* ProjectButton;
    QStackedWidget* Pages;
    TPicturePage* PictureView;
    TProjectPage* ProjectView;
    QLabel* PointerText;
    QLabel* AreaText;
    // Edit's undo and redo act on the open picture's history.
    QUndoGroup* UndoGroup;
    bool ClosingWithoutAsking = false;
};

} // namespace ml::studio
