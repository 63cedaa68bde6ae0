#include "studio/ProjectForm.h"

#include "platform/Profile.h"
#include "studio/ProjectFolder.h"
#include "tools/authoring/IniSchema.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ml::studio {

namespace {

const authoring::TKeyRule& Rule(const char* section, const char* key) {
    return authoring::ProjectIniSchema().Rule(section, key);
}

QSpinBox* NumberBox(const char* section, const char* key, const QString& suffix) {
    auto* box = new QSpinBox;
    const authoring::TKeyRule& rule = Rule(section, key);
    box->setRange(rule.Low, rule.High);
    box->setSuffix(suffix);
    box->setKeyboardTracking(false);
    box->setToolTip(QString::fromStdString(rule.Meaning));
    box->setMaximumWidth(140);
    return box;
}

QGroupBox* Group(const QString& title) {
    return new QGroupBox(title);
}

} // namespace

TProjectForm::TProjectForm(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MakeTexts());
    layout->addWidget(MakeShow());
    layout->addWidget(MakePreviewAndMusic());
    layout->addWidget(MakeInterface());
    layout->addStretch();
    setEnabled(false);
}

QWidget* TProjectForm::MakeTexts() {
    auto* group = Group(tr("Product"));
    auto* form = new QFormLayout(group);
    const std::pair<const char*, QString> texts[] = {
        {"ProductName", tr("Name")}, {"Publisher", tr("Publisher")}, {"Website", tr("Website")}};
    for (const auto& [key, label] : texts) {
        auto* edit = new QLineEdit;
        Bind(edit, "General", key);
        form->addRow(label, edit);
    }
    return group;
}

QWidget* TProjectForm::MakeShow() {
    auto* group = Group(tr("The show"));
    auto* form = new QFormLayout(group);
    auto* duration = NumberBox("Default", "Duration", tr(" s"));
    Bind(duration, "Default", "Duration");
    form->addRow(tr("Each picture"), duration);
    auto* order = new QComboBox;
    order->addItems(
        {tr("At random"), tr("In order"), tr("Favourites at random"), tr("Only the selected one")});
    Bind(order, "Default", "ShowImageMode");
    form->addRow(tr("Pictures"), order);
    auto* speed = NumberBox("Default", "Speed", tr(" %"));
    Bind(speed, "Default", "Speed");
    form->addRow(tr("Speed"), speed);
    const std::pair<const char*, QString> flags[] = {
        {"Transition", tr("Crossfade from one picture to the next")},
        {"Stretch", tr("Bring each picture to the screen's size")},
        {"Proportional", tr("Keep the pictures' proportions")},
        {"Sound", tr("Play the pictures' sounds")},
        {"Music", tr("Play the music")}};
    for (const auto& [key, label] : flags) {
        auto* box = new QCheckBox(label);
        Bind(box, "Default", key);
        form->addRow(QString(), box);
    }
    return group;
}

QWidget* TProjectForm::MakePreviewAndMusic() {
    auto* group = Group(tr("Preview and music"));
    auto* form = new QFormLayout(group);

    auto* preview = new QLineEdit;
    preview->setPlaceholderText(tr("a JPEG, BMP or GIF picture"));
    Bind(preview, "Advance", "PreviewFile");
    auto* choosePreview = new QPushButton(tr("Choose…"));
    connect(choosePreview, &QPushButton::clicked, this, [this, preview] {
        const QString name =
            ChooseFile(tr("Choose the preview picture"), tr("Pictures (*.jpg *.jpeg *.bmp *.gif)"));
        if (!name.isEmpty()) {
            preview->setText(name);
            Set("Advance", "PreviewFile", name);
        }
    });
    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(preview, 1);
    previewRow->addWidget(choosePreview);
    form->addRow(tr("Preview picture"), previewRow);

    Music = new QListWidget;
    Music->setDragDropMode(QAbstractItemView::InternalMove);
    Music->setMaximumHeight(110);
    connect(Music->model(), &QAbstractItemModel::rowsMoved, this, &TProjectForm::MusicEdited);
    auto* add = new QPushButton(tr("Add…"));
    auto* remove = new QPushButton(tr("Remove"));
    connect(add, &QPushButton::clicked, this, [this] {
        const QString name =
            ChooseFile(tr("Add music"), tr("Music (*.mp3 *.ogg *.wav *.flac);;All files (*)"));
        if (!name.isEmpty()) {
            Music->addItem(name);
            MusicEdited();
        }
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        delete Music->currentItem();
        MusicEdited();
    });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* musicRow = new QHBoxLayout;
    musicRow->addWidget(Music, 1);
    musicRow->addLayout(buttons);
    form->addRow(tr("Music"), musicRow);
    auto* mode = new QComboBox;
    mode->addItems({tr("In random order"), tr("In this order")});
    Bind(mode, "Advance", "MusicMode");
    form->addRow(tr("Play it"), mode);
    return group;
}

QWidget* TProjectForm::MakeInterface() {
    auto* group = Group(tr("Configuration window"));
    auto* layout = new QVBoxLayout(group);
    auto* standard = new QRadioButton(tr("The standard window: thumbnails, preview, settings"));
    auto* own = new QRadioButton(tr("A description file of my own:"));
    InterfaceChoice = new QButtonGroup(this);
    InterfaceChoice->addButton(standard, 0);
    InterfaceChoice->addButton(own, 1);
    InterfaceFile = new QLineEdit;
    InterfaceFile->setPlaceholderText(tr("ui.wui"));
    auto* choose = new QPushButton(tr("Choose…"));
    connect(choose, &QPushButton::clicked, this, [this] {
        const QString name = ChooseFile(tr("Choose the description"),
                                        tr("Window descriptions (*.wui);;All files (*)"));
        if (!name.isEmpty()) {
            InterfaceFile->setText(name);
            InterfaceChoice->button(1)->setChecked(true);
            Set("UI", "UIFile", name);
        }
    });
    connect(InterfaceChoice, &QButtonGroup::idClicked, this,
            [this](int id) { Set("UI", "UIFile", id == 0 ? QString() : InterfaceFile->text()); });
    connect(InterfaceFile, &QLineEdit::editingFinished, this, [this] {
        if (InterfaceChoice->checkedId() == 1)
            Set("UI", "UIFile", InterfaceFile->text());
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(InterfaceFile, 1);
    fileRow->addWidget(choose);
    layout->addWidget(standard);
    layout->addWidget(own);
    layout->addLayout(fileRow);
    return group;
}

void TProjectForm::Bind(QWidget* control, const char* section, const char* key) {
    control->setObjectName(QString("%1.%2").arg(section, key));
    Bindings.push_back({control, section, key});
    const std::string s = section, k = key;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        connect(edit, &QLineEdit::editingFinished, this,
                [this, edit, s, k] { Set(s.c_str(), k.c_str(), edit->text()); });
    else if (auto* box = qobject_cast<QCheckBox*>(control))
        connect(box, &QCheckBox::toggled, this,
                [this, s, k](bool on) { Set(s.c_str(), k.c_str(), on ? "1" : "0"); });
    else if (auto* number = qobject_cast<QSpinBox*>(control))
        connect(number, &QSpinBox::valueChanged, this,
                [this, s, k](int v) { Set(s.c_str(), k.c_str(), QString::number(v)); });
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        connect(combo, &QComboBox::activated, this,
                [this, s, k](int v) { Set(s.c_str(), k.c_str(), QString::number(v)); });
}

QWidget* TProjectForm::Control(const QString& section, const QString& key) const {
    for (const TBinding& binding : Bindings)
        if (binding.Section == section && binding.Key == key)
            return binding.Control;
    return nullptr;
}

void TProjectForm::Set(const char* section, const char* key, const QString& value) {
    if (Filling || !Folder)
        return;
    Folder->SetValue(section, key, value.toStdString());
    emit changed();
}

void TProjectForm::MusicEdited() {
    if (Filling || !Folder)
        return;
    Folder->Music.clear();
    for (int row = 0; row < Music->count(); ++row)
        Folder->Music.push_back(Music->item(row)->text().toStdString());
    Folder->MarkModified();
    emit changed();
}

// Files inside the project folder are named relative to it, so the folder can move.
QString TProjectForm::ChooseFile(const QString& caption, const QString& filter) {
    if (!Folder)
        return {};
    const QDir dir(QString::fromStdString(Folder->Folder()));
    const QString path = QFileDialog::getOpenFileName(this, caption, dir.path(), filter);
    if (path.isEmpty())
        return {};
    const QString relative = dir.relativeFilePath(path);
    return relative.startsWith("..") ? path : relative;
}

void TProjectForm::ShowFolder(TProjectFolder* folder) {
    Folder = folder;
    setEnabled(Folder != nullptr);
    if (!Folder)
        return;
    Filling = true;
    for (const TBinding& binding : Bindings) {
        const std::string text =
            Folder->Value(binding.Section.toStdString(), binding.Key.toStdString());
        const QString value = QString::fromStdString(text);
        const int number = ParseInteger(text).value_or(0);
        if (auto* edit = qobject_cast<QLineEdit*>(binding.Control))
            edit->setText(value);
        else if (auto* box = qobject_cast<QCheckBox*>(binding.Control))
            box->setChecked(number != 0);
        else if (auto* spin = qobject_cast<QSpinBox*>(binding.Control))
            spin->setValue(number);
        else if (auto* combo = qobject_cast<QComboBox*>(binding.Control))
            combo->setCurrentIndex(std::clamp(number, 0, combo->count() - 1));
    }
    Music->clear();
    for (const std::string& entry : Folder->Music)
        Music->addItem(QString::fromStdString(entry));
    const QString ui = QString::fromStdString(Folder->Value("UI", "UIFile"));
    InterfaceFile->setText(ui);
    InterfaceChoice->button(ui.isEmpty() ? 0 : 1)->setChecked(true);
    Filling = false;
}

} // namespace ml::studio
