#pragma once
// One picture as the studio edits it: the picture as opened, the painted water areas and the
// settings, with every change made through the undo history. A document comes from a photo
// (JPEG, PNG, BMP, GIF) or from a picture file (.qmp), and is saved as a picture file.

#include "platform/Bitmap.h"
#include "project/PictureFileWriter.h"
#include "studio/AreaMask.h"
#include "studio/PictureSettings.h"

#include <QObject>
#include <QUndoStack>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace ml::studio {

struct TCoverage;

class TPictureDocument : public QObject {
    Q_OBJECT
public:
    // Open a photo or a picture file, told apart by the file's content. Raises Exception with
    // a message naming the file when it cannot be read, except for a picture file whose
    // picture or area map the player's loader refuses: that loader shows its own message, and
    // the result is null.
    static std::unique_ptr<TPictureDocument> Open(const std::string& path);
    static std::unique_ptr<TPictureDocument> OpenPhoto(const std::string& path);
    static std::unique_ptr<TPictureDocument> OpenPictureFile(const std::string& path);

    // The picture as opened (a picture file's stored picture, or the photo at full size).
    const TBitmap& Picture() const { return Source; }
    const TAreaMask& Mask() const { return Areas; }
    const TPictureSettings& Settings() const { return Current; }
    // The picture as it will be stored: within the stored-size limit, proportions kept.
    const TBitmap& StoredPicture() const { return Stored; }
    QSize StoredSize() const;
    // The picture file this document was opened from or last saved as; "" for a new one.
    const std::string& FileName() const { return SavedAs; }
    // The file the picture came from: the photo, or the picture file.
    const std::string& SourceName() const { return Origin; }
    bool FromPictureFile() const { return Original.has_value(); }
    // The sound an older picture file names in its single-sound field, "" for none. The show
    // plays it after the slots in use; the studio keeps the field as it is.
    std::string LegacySound() const;

    QUndoStack& History() { return Undo; }
    bool Modified() const { return !Undo.isClean(); }

    // Gives the covered pixels to an area (0 erases) as one step of the history.
    void PaintAreas(const TCoverage& coverage, int area, const QString& what);
    // Changes the settings as one step. Steps with the same merge key follow each other into
    // one (the moves of one slider drag) until CloseMerge.
    void Change(const QString& what, const std::function<void(TPictureSettings&)>& edit,
                const QString& mergeKey = {});
    void CloseMerge() { MergeOpen = false; }

    // The sound files picked for slots whose file does not yet lie beside the picture file,
    // by the name the slot stores; they are copied beside it when the document is saved.
    void NoteSoundSource(const std::string& name, const std::string& path);
    // Where the sound a slot names can be found now, "" when nowhere.
    std::string SoundFile(const std::string& name) const;

    // The picture file's bytes as Save would write them.
    std::string FileBytes() const;
    // Writes the picture file under a temporary name and renames it, copies the picked sounds
    // beside it, and marks the document saved. Raises Exception on failure; the file on disk
    // is then as it was.
    void SaveAs(const std::string& path);

    // Used by the history's steps.
    void PutMask(QPoint at, const QImage& patch);
    void PutSettings(const TPictureSettings& settings);
    // Whether the step being pushed may join the one before it.
    bool MergeIsOpen() const { return MergeNext; }

signals:
    void maskChanged(QRect rect);
    void settingsChanged();
    void storedSizeChanged();
    void saved();

private:
    TPictureDocument() = default;
    void CopySoundsBeside(const std::string& folder) const;
    void FitStoredPicture();

    TBitmap Source;
    TBitmap Stored;
    TAreaMask Areas;
    TPictureSettings Current;
    std::string Origin;
    std::string SavedAs;
    // A picture file's parts as read: saving without changes writes them back unchanged,
    // and the picture is not encoded again unless its stored size changes.
    std::optional<TPictureFileContent> Original;
    TAreaMask OriginalMask;
    std::map<std::string, std::string> SoundSources;
    QUndoStack Undo;
    bool MergeOpen = false;
    bool MergeNext = false;
    QString OpenMergeKey;
};

} // namespace ml::studio
