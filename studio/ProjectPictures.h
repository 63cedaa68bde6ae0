#pragma once
// The pictures of a project's show as a list of thumbnails: drag one to change the order,
// untick it to leave it out, double-click it to open it on the picture page.

#include <QListWidget>
#include <string>

namespace ml::studio {

class TProjectFolder;

class TProjectPictures : public QListWidget {
    Q_OBJECT
public:
    explicit TProjectPictures(QWidget* parent = nullptr);

    // Fills the list from the folder's [FileList], reading each picture's thumbnail.
    void ShowFolder(const TProjectFolder& folder);
    // Writes the order and ticks back into the folder.
    void ApplyTo(TProjectFolder& folder) const;
    // Moves the selected picture up or down by one (the keyboard's way to reorder).
    void MoveSelected(int by);

signals:
    // The order or a tick changed.
    void changed();
    void openPicture(const QString& path);

private:
    bool Filling = false;
};

// How a picture of the show looks in the list: a picture file's own thumbnail and title, or
// a plain picture shrunk (no title); a grey tile naming the problem when it cannot be read.
struct TPictureLook {
    QImage Thumbnail;
    QString Title;
};
TPictureLook LookOfPicture(const std::string& path);

} // namespace ml::studio
