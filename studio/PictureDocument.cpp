#include "studio/PictureDocument.h"

#include "backend/Jpeg.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/ProgramPath.h"
#include "platform/Strings.h"
#include "project/Project.h"
#include "studio/HistorySteps.h"
#include "studio/MaskPainting.h"
#include "studio/PictureRecipe.h"
#include "tools/authoring/PictureFileBuild.h"
#include "tools/authoring/PictureKind.h"

#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>

namespace ml::studio {

namespace {

// The part of a picture file's wave records that the file stores: the studio shows four
// areas, but a file that stored fewer keeps its count while the extra areas stay unused.
std::vector<TWaveParam> StoredWaves(const TWaves& waves, int storedCount) {
    int count = std::clamp(storedCount, 0, kAreaCount);
    for (int i = count; i < kAreaCount; ++i)
        if (!SameWave(waves[static_cast<std::size_t>(i)], TWaveParam{}))
            count = kAreaCount;
    return {waves.begin(), waves.begin() + count};
}

// Writes under a temporary name beside the file and renames it when complete, so that a
// failure leaves the file as it was.
void WriteWholeFile(const std::string& path, const std::string& bytes) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw EInOutError("Cannot write " + path + ": " + file.errorString().toStdString());
}

} // namespace

std::unique_ptr<TPictureDocument> TPictureDocument::Open(const std::string& path) {
    if (!FileExists(path))
        throw EInOutError("Cannot open " + path + ": no such file");
    return authoring::PictureKindOfFile(path) == authoring::TPictureKind::PictureFile
               ? OpenPictureFile(path)
               : OpenPhoto(path);
}

std::unique_ptr<TPictureDocument> TPictureDocument::OpenPhoto(const std::string& path) {
    std::unique_ptr<TPictureDocument> document(new TPictureDocument);
    document->Source = authoring::ReadAuthorPicture(path);
    document->Origin = path;
    document->Areas = TAreaMask(QSize(document->Source.Width(), document->Source.Height()));
    TPictureSettings& settings = document->Current;
    const std::string name = ExtractFileName(path);
    settings.Title = name.substr(0, name.size() - ExtractFileExt(name).size());
    // A photo larger than a large screen is stored at that screen's size: the show scales it
    // down anyway, and waves sized for 4000 pixels would shrink to nothing on the way.
    const QSize full(document->Source.Width(), document->Source.Height());
    if (full.width() > kLargeScreen.width() || full.height() > kLargeScreen.height())
        settings.StoredLimit = kLargeScreen;
    document->FitStoredPicture();
    settings.Waves = StartingWaves(document->StoredSize().width());
    settings.Weather = StartingWeather();
    return document;
}

std::unique_ptr<TPictureDocument> TPictureDocument::OpenPictureFile(const std::string& path) {
    TFileLoader loader;
    try {
        loader.LoadFromFile(path);
    } catch (const std::exception& error) {
        throw EReadError("Cannot open " + path + ": " + error.what());
    }
    TProject project;
    if (!project.Load(path)) // it has said why
        return nullptr;

    std::unique_ptr<TPictureDocument> document(new TPictureDocument);
    document->Source = project.Picture;
    document->Origin = path;
    document->SavedAs = path;
    document->Areas = TAreaMask::FromBitmap(project.AreaMap);
    document->OriginalMask = document->Areas;

    TPictureFileContent content;
    content.Title = loader.Title;
    content.ExtraText = loader.ExtraText;
    content.ThumbnailData = loader.ThumbnailData;
    content.WaveRecords.assign(loader.WaveParams.begin(),
                               loader.WaveParams.begin() +
                                   std::clamp(loader.WaveRecordCount, 0, kAreaCount));
    content.AreaValues = loader.AreaValues;
    content.PictureData = loader.PictureData;
    content.LegacySound = loader.LegacySound;
    content.Weather = loader.Weather;
    content.WithSoundTable = loader.SoundSlotsRead > 0;
    content.Sounds = loader.Sounds;
    document->Original = std::move(content);

    TPictureSettings& settings = document->Current;
    settings.Waves = loader.WaveParams;
    settings.Weather = loader.Weather;
    settings.Sounds = loader.Sounds;
    settings.Title = loader.Title;
    settings.ExtraText = loader.ExtraText;
    document->FitStoredPicture();
    return document;
}

std::string TPictureDocument::LegacySound() const {
    if (!Original)
        return "";
    // The field names a sound when the show would give it a slot.
    TSoundTable probe{};
    AddLegacySound(probe, Original->LegacySound);
    return UsedSoundSlots(probe) > 0 ? Original->LegacySound : "";
}

QSize TPictureDocument::StoredSize() const {
    return {Stored.Width(), Stored.Height()};
}

// The stored picture is what the live water runs on and what sets the stored size; it is made
// by make-qmp's own scaling whenever the limit changes.
void TPictureDocument::FitStoredPicture() {
    Stored = Source;
    if (Current.StoredLimit.isEmpty())
        return;
    TBitmap noMask;
    authoring::FitWithin(Stored, noMask, Current.StoredLimit.width(), Current.StoredLimit.height());
}

void TPictureDocument::PaintAreas(const TCoverage& coverage, int area, const QString& what) {
    if (coverage.Empty())
        return;
    const QRect rect = coverage.Bounds;
    QImage before = Areas.Patch(rect);
    TAreaMask painted = Areas;
    painted.Apply(coverage, area);
    QImage after = painted.Patch(rect);
    if (after == before)
        return;
    MergeOpen = false;
    Undo.push(new TMaskStep(*this, rect.topLeft(), std::move(before), std::move(after), what));
}

void TPictureDocument::Change(const QString& what,
                              const std::function<void(TPictureSettings&)>& edit,
                              const QString& mergeKey) {
    TPictureSettings after = Current;
    edit(after);
    if (after == Current)
        return;
    MergeNext = !mergeKey.isEmpty() && MergeOpen && mergeKey == OpenMergeKey;
    Undo.push(new TSettingsStep(*this, Current, std::move(after), what, mergeKey));
    MergeNext = false;
    MergeOpen = !mergeKey.isEmpty();
    OpenMergeKey = mergeKey;
}

void TPictureDocument::PutMask(QPoint at, const QImage& patch) {
    Areas.Put(at, patch);
    emit maskChanged(QRect(at, patch.size()));
}

void TPictureDocument::PutSettings(const TPictureSettings& settings) {
    const bool resized = settings.StoredLimit != Current.StoredLimit;
    Current = settings;
    if (resized)
        FitStoredPicture();
    emit settingsChanged();
    if (resized)
        emit storedSizeChanged();
}

void TPictureDocument::NoteSoundSource(const std::string& name, const std::string& path) {
    SoundSources[name] = path;
}

std::string TPictureDocument::SoundFile(const std::string& name) const {
    if (auto picked = SoundSources.find(name); picked != SoundSources.end())
        return picked->second;
    const std::string besidePicture = ExtractFilePath(SavedAs.empty() ? Origin : SavedAs) + name;
    if (FileExists(besidePicture))
        return besidePicture;
    return FileExists(name) ? name : "";
}

std::string TPictureDocument::FileBytes() const {
    // A picture file saved again at the size it has keeps its encoded picture, thumbnail and
    // (unless painted) area map as read: saving never costs a generation of JPEG quality, and
    // a file saved without changes is the file that was opened.
    if (Original && StoredSize() == QSize(Source.Width(), Source.Height())) {
        TPictureFileContent content = *Original;
        content.Title = Current.Title;
        content.ExtraText = Current.ExtraText;
        content.WaveRecords =
            StoredWaves(Current.Waves, static_cast<int>(Original->WaveRecords.size()));
        content.Weather = Current.Weather;
        content.Sounds = Current.Sounds;
        content.WithSoundTable =
            Original->WithSoundTable || !SameSounds(Current.Sounds, TSoundTable{});
        if (!(Areas == OriginalMask))
            content.AreaValues = EncodeAreaMap(Areas.ToBitmap());
        return WritePictureFile(content);
    }

    // Anything else is built as make-qmp builds it, from the same kind of inputs.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw EInOutError("Cannot make a scratch folder: " + scratch.errorString().toStdString());
    std::optional<TBitmap> thumbnail;
    if (Original)
        thumbnail = DecodeJpeg(Original->ThumbnailData);
    const authoring::TBuiltPictureFile built = authoring::BuildPictureFile(WriteRecipe(
        scratch.path().toStdString() + "/", Source, Areas.ToBitmap(), thumbnail, Current));
    if (authoring::HasErrors(built.Findings))
        throw Exception(built.Findings.front().Text());
    return built.Bytes;
}

void TPictureDocument::CopySoundsBeside(const std::string& folder) const {
    for (int i = 0; i < UsedSoundSlots(Current.Sounds); ++i) {
        const std::string name = SlotPath(Current.Sounds[static_cast<std::size_t>(i)]);
        const std::string source = SoundFile(name);
        const std::string target = folder + name;
        if (ExtractFileName(name) != name || source.empty() ||
            GetLongFileName(source) == GetLongFileName(target))
            continue;
        const std::string bytes = ReadWholeFile(source);
        if (FileExists(target)) {
            if (ReadWholeFile(target) == bytes)
                continue;
            throw EInOutError("A different sound named " + name + " already lies in " + folder +
                              "; rename one of them and pick it again");
        }
        WriteWholeFile(target, bytes);
    }
}

void TPictureDocument::SaveAs(const std::string& path) {
    const std::string bytes = FileBytes();
    // Sounds go first: a picture file that names a sound not beside it would play silently.
    CopySoundsBeside(ExtractFilePath(path));
    WriteWholeFile(path, bytes);
    SoundSources.clear();
    SavedAs = path;
    Undo.setClean();
    emit saved();
}

} // namespace ml::studio
