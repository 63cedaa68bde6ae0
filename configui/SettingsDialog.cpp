#include "configui/SettingsDialog.h"

#include "platform/Exceptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

namespace ml {

namespace {

// The look of the demo's configuration window: light page, white framed groups, one accent
// colour for the default button and the link. Fonts are the machine's own; the layouts
// below size every control to its text in them.
constexpr const char* kCleanLook = R"(
QDialog#fmSettingWindow { background: #F1F4F7; }
QGroupBox {
    background: #FFFFFF; border: 1px solid #D6DEE6; border-radius: 6px;
    margin-top: 1.6em; padding: 6px 4px 4px 4px; font-weight: bold; color: #1B2A35;
}
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 2px; }
QGroupBox * { font-weight: normal; }
QGroupBox QLabel, QGroupBox QCheckBox { color: #1B2A35; }
QPushButton {
    background: #FFFFFF; color: #1B2A35; border: 1px solid #C3CDD6; border-radius: 4px;
    padding: 5px 16px; min-width: 4.5em;
}
QPushButton:hover { border-color: #1E7DB6; }
QPushButton#Button1 { background: #1E7DB6; color: #FFFFFF; border-color: #1E7DB6; }
QPushButton#Button1:hover { background: #2B8CC7; }
QPushButton:disabled, QPushButton#Button1:disabled {
    background: #E4E9EE; color: #8C99A4; border-color: #D6DEE6;
}
QLabel#Label3 { color: #1E7DB6; }
)";

// Up and down arrows alone, attached to the duration box beside them: the box shows the
// value, the arrows only step it.
class TUpDown : public QSpinBox {
public:
    explicit TUpDown(QWidget* parent) : QSpinBox(parent) { lineEdit()->setVisible(false); }
    QSize sizeHint() const override { return {18, QSpinBox::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

QGroupBox* Group(const char* name, const char* caption) {
    auto* box = new QGroupBox(caption);
    box->setObjectName(name);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(1, 1); // the captions keep their width; the controls take the rest
    return box;
}

QGridLayout* GridOf(QGroupBox* box) {
    return static_cast<QGridLayout*>(box->layout());
}

QLabel* Label(const char* name, const char* caption, QWidget* buddy = nullptr) {
    auto* label = new QLabel(caption);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

QCheckBox* Check(const char* name, const char* caption) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    return box;
}

// A drop-down list as wide as its longest item needs.
QComboBox* Choice(const char* name, const QStringList& items) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

// A label and its control on one row of a group; the control may bring more beside it.
void Row(QGroupBox* box, int row, QLabel* label, QWidget* control) {
    GridOf(box)->addWidget(label, row, 0);
    GridOf(box)->addWidget(control, row, 1, Qt::AlignLeft);
}

} // namespace

TfmSettingWindow::TfmSettingWindow(QWidget* owner) : QDialog(owner) {
    setObjectName("fmSettingWindow");
    setWindowTitle("Settings");
    setStyleSheet(kCleanLook);

    QGroupBox* display = Group("GroupBox3", "Display Mode");
    cbDirectX = Check("cbDirectX", "Use DirectX (Faster Animation)");
    GridOf(display)->addWidget(cbDirectX, 0, 0, 1, 2);
    // The last item works the water at the screen's own size, so a large screen gets all its
    // pixels' worth of detail.
    cbImageQuality = Choice("cbImageQuality", {"Highest (Slower)", "Normal ", "Low (Faster)",
                                               "Screen Size (Sharpest)"});
    cbImageQuality->setCurrentIndex(1);
    Row(display, 1, Label("lblImgQuality", "Direct X Quality", cbImageQuality), cbImageQuality);
    cbImageSize = Choice("cbImageSize", {"Original Size", "Stretch-Full", "Stretch-Proportional"});
    Row(display, 2, Label("Label5", "Image Size", cbImageSize), cbImageSize);

    QGroupBox* general = Group("GroupBox2", "General");
    cbMusic = Check("cbMusic", "Enable Music");
    cbSound = Check("cbSound", "Enable Sound");
    cbTransition = Check("cbTransition", "Transition Effect");
    cbTransition->setChecked(true);
    for (QCheckBox* box : {cbMusic, cbSound, cbTransition})
        GridOf(general)->addWidget(box, GridOf(general)->rowCount(), 0);
    GridOf(general)->setRowStretch(GridOf(general)->rowCount(), 1);

    QGroupBox* play = Group("GroupBox1", "Play Mode");
    cbShowImageMode = Choice("cbShowImageMode", {"All images - Random", "All images - Sequential",
                                                 "User's favorite (checked images) - Random",
                                                 "Single - Selected Image"});
    Row(play, 0, Label("Label6", "Show Image", cbShowImageMode), cbShowImageMode);

    // The edit takes any three characters; the arrows keep to 10..999 and write the text.
    txtDuration = new QLineEdit("10");
    txtDuration->setObjectName("txtDuration");
    txtDuration->setMaxLength(3);
    txtDuration->setFixedWidth(txtDuration->fontMetrics().horizontalAdvance("9999") + 12);
    UpDown1 = new TUpDown(nullptr);
    UpDown1->setObjectName("UpDown1");
    UpDown1->setRange(10, 999);
    UpDown1->setValue(10);
    UpDown1->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    UpDown1->setFixedHeight(txtDuration->sizeHint().height());
    connect(UpDown1, &QSpinBox::valueChanged, this,
            [this](int value) { txtDuration->setText(QString::number(value)); });
    connect(txtDuration, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        int value = text.toInt(&ok);
        if (ok) {
            QSignalBlocker block(UpDown1);
            UpDown1->setValue(value);
        }
    });
    auto* duration = new QWidget;
    auto* durationRow = new QHBoxLayout(duration);
    durationRow->setContentsMargins(0, 0, 0, 0);
    durationRow->setSpacing(0);
    durationRow->addWidget(txtDuration);
    durationRow->addWidget(UpDown1);
    durationRow->addSpacing(8);
    durationRow->addWidget(Label("lblSec", "seconds"));
    Row(play, 1, Label("lblDuration", "Image Duration", txtDuration), duration);

    tbSpeed = new QSlider(Qt::Horizontal);
    tbSpeed->setObjectName("tbSpeed");
    tbSpeed->setRange(0, 20);
    tbSpeed->setValue(10);
    tbSpeed->setTickPosition(QSlider::NoTicks);
    tbSpeed->setCursor(Qt::PointingHandCursor);
    tbSpeed->setMinimumWidth(135);
    Label3 = Label("Label3", "Reset");
    QFont link = Label3->font();
    link.setUnderline(true);
    Label3->setFont(link);
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->installEventFilter(this);
    auto* speed = new QWidget;
    auto* speedRow = new QHBoxLayout(speed);
    speedRow->setContentsMargins(0, 0, 0, 0);
    speedRow->setSpacing(8);
    speedRow->addWidget(tbSpeed);
    speedRow->addWidget(Label3);
    Row(play, 2, Label("Label8", "Animation Speed", tbSpeed), speed);

    Button1 = new QPushButton("OK");
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Button2 = new QPushButton("Cancel");
    Button2->setObjectName("Button2");
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    // The captions of both groups on the left share one column width, so their controls
    // line up.
    int captionWidth = 0;
    for (QGroupBox* box : {display, play})
        for (int row = 0; row < GridOf(box)->rowCount(); ++row)
            if (QLayoutItem* item = GridOf(box)->itemAtPosition(row, 0);
                item && GridOf(box)->itemAtPosition(row, 1) != item)
                captionWidth = std::max(captionWidth, item->sizeHint().width());
    for (QGroupBox* box : {display, play})
        GridOf(box)->setColumnMinimumWidth(0, captionWidth);

    // Display and play modes on the left, the general switches and the buttons on the right,
    // as the dialog has always been arranged; the dialog takes the size its texts need.
    auto* page = new QGridLayout(this);
    page->setContentsMargins(16, 12, 16, 16);
    page->setSpacing(12);
    page->addWidget(display, 0, 0);
    page->addWidget(general, 0, 1);
    page->addWidget(play, 1, 0);
    page->addLayout(buttons, 1, 1, Qt::AlignBottom);
    page->setSizeConstraint(QLayout::SetFixedSize);
}

bool TfmSettingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label3 && event->type() == QEvent::MouseButtonRelease)
        Label3Click();
    return QDialog::eventFilter(watched, event);
}

void TfmSettingWindow::Label3Click() {
    tbSpeed->setValue(10);
}

void TfmSettingWindow::Fill(const TShowSettings& s, bool canSave) {
    Button1->setEnabled(canSave);
    cbImageSize->setCurrentIndex(s.ImageSize);
    cbShowImageMode->setCurrentIndex(s.ImageMode);
    tbSpeed->setValue(s.Speed);
    cbSound->setChecked(s.Sound);
    cbMusic->setChecked(s.Music);
    cbTransition->setChecked(s.Transition);
    cbDirectX->setChecked(s.DirectX);
    cbImageQuality->setCurrentIndex(s.DirectXQuality);
    UpDown1->setValue(s.Duration);
    txtDuration->setText(QString::number(UpDown1->value()));
}

TShowSettings TfmSettingWindow::Values() const {
    TShowSettings s;
    s.Speed = tbSpeed->value();
    s.Duration = StrToInt(txtDuration->text().toStdString());
    s.DirectXQuality = cbImageQuality->currentIndex();
    s.Sound = cbSound->isChecked();
    s.Music = cbMusic->isChecked();
    s.Transition = cbTransition->isChecked();
    s.DirectX = cbDirectX->isChecked();
    s.ImageMode = cbShowImageMode->currentIndex();
    s.ImageSize = cbImageSize->currentIndex();
    return s;
}

void RunSettingsDialog(QWidget* owner, const TQMCProject& project, const TUserSettingsFile& file) {
    auto* dialog = new TfmSettingWindow(owner);
    TShowSettings settings;
    const bool ok = ReadUserSettings(project, settings, file);
    dialog->Fill(settings, ok);
    if (dialog->exec() == QDialog::Accepted)
        SaveUserSettings(dialog->Values(), file);
}

} // namespace ml
