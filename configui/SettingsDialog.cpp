#include "configui/SettingsDialog.h"

#include "platform/Exceptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

namespace ml {

namespace {

// Up and down arrows alone, attached to the duration box beside them: the box shows the
// value, the arrows only step it.
class TUpDown : public QSpinBox {
public:
    explicit TUpDown(QWidget* parent) : QSpinBox(parent) { lineEdit()->setVisible(false); }
};

QGroupBox* Group(QWidget* parent, const char* caption, int x, int y, int w, int h) {
    auto* box = new QGroupBox(caption, parent);
    box->setGeometry(x, y, w, h);
    return box;
}

QLabel* Label(QWidget* parent, const char* caption, int x, int y) {
    auto* label = new QLabel(caption, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QCheckBox* Check(QWidget* parent, const char* caption, int x, int y) {
    auto* box = new QCheckBox(caption, parent);
    box->move(x, y);
    box->adjustSize();
    return box;
}

QComboBox* Choice(QWidget* parent, const QStringList& items, int x, int y, int w) {
    auto* combo = new QComboBox(parent);
    combo->addItems(items);
    combo->setGeometry(x, y, w, combo->sizeHint().height());
    return combo;
}

} // namespace

TfmSettingWindow::TfmSettingWindow(QWidget* owner) : QDialog(owner) {
    setObjectName("fmSettingWindow");
    setWindowTitle("Settings");
    setFixedSize(493, 274);
    QFont font("Tahoma");
    font.setPointSize(8);
    setFont(font);

    QGroupBox* display = Group(this, "Display Mode", 13, 15, 297, 122);
    cbDirectX = Check(display, "Use DirectX (Faster Animation)", 13, 24);
    Label(display, "Direct X Quality", 13, 53);
    cbImageQuality = Choice(display, {"Highest (Slower)", "Normal ", "Low (Faster)"}, 95, 51, 121);
    cbImageQuality->setCurrentIndex(1);
    Label(display, "Image Size", 13, 85);
    cbImageSize =
        Choice(display, {"Original Size", "Stretch-Full", "Stretch-Proportional"}, 95, 81, 153);

    QGroupBox* general = Group(this, "General", 319, 15, 162, 122);
    cbMusic = Check(general, "Enable Music", 22, 22);
    cbSound = Check(general, "Enable Sound", 22, 57);
    cbTransition = Check(general, "Transition Effect", 22, 93);
    cbTransition->setChecked(true);

    QGroupBox* play = Group(this, "Play Mode", 13, 142, 297, 114);
    Label(play, "Show Image", 14, 28);
    cbShowImageMode =
        Choice(play,
               {"All images - Random", "All images - Sequential",
                "User's favorite (checked images) - Random", "Single - Selected Image"},
               100, 23, 153);
    Label(play, "Image Duration", 14, 56);
    // The edit takes any three characters; the arrows keep to 10..999 and write the text.
    txtDuration = new QLineEdit("10", play);
    txtDuration->setMaxLength(3);
    txtDuration->setGeometry(100, 53, 27, 21);
    UpDown1 = new TUpDown(play);
    UpDown1->setRange(10, 999);
    UpDown1->setValue(10);
    UpDown1->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    UpDown1->setGeometry(127, 53, 17, 21);
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
    Label(play, "seconds", 155, 56);
    Label(play, "Animation Speed", 14, 82);
    tbSpeed = new QSlider(Qt::Horizontal, play);
    tbSpeed->setRange(0, 20);
    tbSpeed->setValue(10);
    tbSpeed->setTickPosition(QSlider::NoTicks);
    tbSpeed->setCursor(Qt::PointingHandCursor);
    tbSpeed->setGeometry(98, 81, 135, 20);
    Label3 = Label(play, "Reset", 237, 81);
    QFont link("MS Sans Serif");
    link.setUnderline(true);
    Label3->setFont(link);
    Label3->setStyleSheet("color: blue;");
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->adjustSize();
    Label3->installEventFilter(this);

    Button1 = new QPushButton("OK", this);
    Button1->setGeometry(320, 230, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Button2 = new QPushButton("Cancel", this);
    Button2->setGeometry(400, 230, 75, 25);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
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
