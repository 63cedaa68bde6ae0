#include "studio/PictureControls.h"

#include "studio/PictureDocument.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ml::studio {

namespace {

// Common screen sizes; a picture is stored within the one chosen.
const QSize kScreenSizes[] = {{3840, 2160}, {2560, 1440}, {1920, 1080}, {1600, 900},
                              {1280, 720},  {1024, 768},  {800, 600}};

QString SizeWords(QSize size) {
    return QString("%1 x %2").arg(size.width()).arg(size.height());
}

} // namespace

TPictureControls::TPictureControls(QWidget* parent) : TDocumentPanel(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    auto* texts = new QGroupBox(tr("Texts"), this);
    auto* textForm = new QFormLayout(texts);
    TitleEdit = new QLineEdit(texts);
    TitleEdit->setToolTip(tr("The caption under the picture's thumbnail."));
    ExtraEdit = new QLineEdit(texts);
    ExtraEdit->setToolTip(tr("A second text the picture file keeps."));
    textForm->addRow(tr("Title"), TitleEdit);
    textForm->addRow(tr("Extra text"), ExtraEdit);
    outer->addWidget(texts);
    auto editText = [this](QLineEdit* edit, std::string TPictureSettings::*member,
                           const QString& what) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit, member, what] {
            if (Document)
                Document->Change(
                    what, [&](TPictureSettings& s) { s.*member = edit->text().toStdString(); },
                    what);
        });
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            if (Document)
                Document->CloseMerge();
        });
    };
    editText(TitleEdit, &TPictureSettings::Title, tr("Title"));
    editText(ExtraEdit, &TPictureSettings::ExtraText, tr("Extra text"));

    auto* stored = new QGroupBox(tr("Stored picture"), this);
    auto* storedForm = new QFormLayout(stored);
    SizeBox = new QComboBox(stored);
    SizeBox->setToolTip(tr("The picture and its areas are stored within this size, their "
                           "proportions kept. Wave sizes are in pixels of the stored picture."));
    connect(SizeBox, &QComboBox::activated, this, &TPictureControls::ChooseSize);
    Quality = new QSpinBox(stored);
    Quality->setRange(1, 100);
    Quality->setKeyboardTracking(false);
    Quality->setToolTip(tr("The JPEG quality the picture is stored at (1 to 100)."));
    connect(Quality, &QSpinBox::valueChanged, this, [this](int value) {
        if (Document)
            Document->Change(tr("Quality"), [&](TPictureSettings& s) { s.Quality = value; });
    });
    SizeText = new QLabel(stored);
    SizeText->setObjectName("muted");
    SizeText->setWordWrap(true);
    storedForm->addRow(tr("Stored size"), SizeBox);
    storedForm->addRow(QString(), SizeText);
    storedForm->addRow(tr("JPEG quality"), Quality);
    outer->addWidget(stored);

    auto* areas = new QGroupBox(tr("Water areas"), this);
    auto* areaLayout = new QVBoxLayout(areas);
    AreaText = new QLabel(areas);
    AreaText->setTextFormat(Qt::RichText);
    areaLayout->addWidget(AreaText);
    outer->addWidget(areas);
    outer->addStretch();
    setEnabled(false);
}

void TPictureControls::DocumentChanged() {
    if (!Document)
        return;
    connect(Document, &TPictureDocument::maskChanged, this, &TPictureControls::ShowAreas);
    ShowAreas();
}

void TPictureControls::ShowValues() {
    const TPictureSettings& settings = Document->Settings();
    const QSize opened(Document->Picture().Width(), Document->Picture().Height());
    if (TitleEdit->text().toStdString() != settings.Title)
        TitleEdit->setText(QString::fromStdString(settings.Title));
    if (ExtraEdit->text().toStdString() != settings.ExtraText)
        ExtraEdit->setText(QString::fromStdString(settings.ExtraText));

    const QSignalBlocker quietSize(SizeBox), quietQuality(Quality);
    SizeBox->clear();
    SizeBox->addItem(tr("As opened (%1)").arg(SizeWords(opened)), QSize());
    for (QSize size : kScreenSizes)
        if (size.width() < opened.width() || size.height() < opened.height())
            SizeBox->addItem(tr("Within %1").arg(SizeWords(size)), size);
    int current = SizeBox->findData(settings.StoredLimit);
    if (current < 0) {
        SizeBox->addItem(tr("Within %1").arg(SizeWords(settings.StoredLimit)),
                         settings.StoredLimit);
        current = SizeBox->count() - 1;
    }
    SizeBox->setCurrentIndex(current);
    Quality->setValue(settings.Quality);
    // A picture file keeps its encoded picture while its size stays; the quality applies
    // only when the picture is stored anew.
    Quality->setEnabled(!Document->FromPictureFile() || Document->StoredSize() != opened);
    SizeText->setText(tr("Opened at %1, stored at %2 pixels.")
                          .arg(SizeWords(opened), SizeWords(Document->StoredSize())));
}

void TPictureControls::ShowAreas() {
    static const char* const names[] = {"Dry land", "Area 1 (blue)", "Area 2 (magenta)",
                                        "Area 3 (red)", "Area 4 (yellow)"};
    const auto counts = Document->Mask().Counts();
    std::int64_t total = 0;
    for (auto count : counts)
        total += count;
    QString text = "<table cellspacing=4>";
    for (int area = 0; area <= kAreaCount; ++area) {
        if (area > 0 && counts[static_cast<std::size_t>(area)] == 0)
            continue;
        text += QString("<tr><td>%1</td><td align=right>%2 %</td></tr>")
                    .arg(tr(names[area]))
                    .arg(total ? 100.0 * counts[static_cast<std::size_t>(area)] / total : 0.0, 0,
                         'f', 1);
    }
    AreaText->setText(text + "</table>");
}

void TPictureControls::ChooseSize(int index) {
    if (!Document)
        return;
    const QSize limit = SizeBox->itemData(index).toSize();
    Document->Change(tr("Stored size"), [&](TPictureSettings& s) { s.StoredLimit = limit; });
}

} // namespace ml::studio
