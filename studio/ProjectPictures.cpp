#include "studio/ProjectPictures.h"

#include "backend/Jpeg.h"
#include "demo/InterfaceArt.h"
#include "project/FileLoader.h"
#include "studio/ProjectFolder.h"
#include "tools/authoring/PictureKind.h"

#include <QPainter>

namespace ml::studio {

namespace {

constexpr QSize kThumbnail{80, 60};

QImage Tile(const QString& text) {
    QImage tile(kThumbnail, QImage::Format_RGB32);
    tile.fill(QColor(demoui::kBorder));
    QPainter painter(&tile);
    painter.setPen(QColor(demoui::kMutedText));
    painter.drawText(tile.rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
    return tile;
}

} // namespace

TPictureLook LookOfPicture(const std::string& path) {
    try {
        if (authoring::PictureKindOfFile(path) == authoring::TPictureKind::PictureFile) {
            TFileLoader loader;
            loader.LoadHeaderFromFile(path);
            return {DecodeJpeg(loader.ThumbnailData).ToImage(),
                    QString::fromStdString(loader.Title)};
        }
        return {authoring::ReadAuthorPicture(path).ToImage().scaled(kThumbnail, Qt::KeepAspectRatio,
                                                                    Qt::SmoothTransformation),
                {}};
    } catch (const std::exception&) {
        return {Tile(QObject::tr("cannot read")), {}};
    }
}

TProjectPictures::TProjectPictures(QWidget* parent) : QListWidget(parent) {
    setIconSize(kThumbnail);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSpacing(3);
    connect(model(), &QAbstractItemModel::rowsMoved, this, &TProjectPictures::changed);
    connect(this, &QListWidget::itemChanged, this, [this] {
        if (!Filling)
            emit changed();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        emit openPicture(item->data(Qt::UserRole + 1).toString());
    });
}

void TProjectPictures::ShowFolder(const TProjectFolder& folder) {
    Filling = true;
    clear();
    for (const TProjectPicture& picture : folder.Pictures) {
        const std::string path =
            picture.Name.starts_with('/') ? picture.Name : folder.Folder() + picture.Name;
        const TPictureLook look = LookOfPicture(path);
        const QString name = QString::fromStdString(picture.Name);
        auto* item =
            new QListWidgetItem(QIcon(QPixmap::fromImage(look.Thumbnail)),
                                look.Title.isEmpty() ? name : look.Title + "\n" + name, this);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled);
        item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);
        item->setCheckState(picture.Included ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, QString::fromStdString(picture.Name));
        item->setData(Qt::UserRole + 1, QString::fromStdString(path));
        item->setToolTip(QString::fromStdString(path));
    }
    Filling = false;
}

void TProjectPictures::ApplyTo(TProjectFolder& folder) const {
    std::vector<TProjectPicture> pictures;
    for (int row = 0; row < count(); ++row)
        pictures.push_back({item(row)->data(Qt::UserRole).toString().toStdString(),
                            item(row)->checkState() == Qt::Checked});
    folder.Pictures = std::move(pictures);
    folder.MarkModified();
}

void TProjectPictures::MoveSelected(int by) {
    const int from = currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= count())
        return;
    Filling = true;
    QListWidgetItem* moved = takeItem(from);
    insertItem(to, moved);
    setCurrentRow(to);
    Filling = false;
    emit changed();
}

} // namespace ml::studio
