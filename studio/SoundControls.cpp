#include "studio/SoundControls.h"

#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/PictureFileWriter.h"
#include "studio/PictureDocument.h"
#include "studio/SlotPlayer.h"
#include "tools/authoring/PictureSound.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace ml::studio {

namespace {

constexpr int kMaxSeconds = 3600;

SoundSlot& SlotOf(TPictureSettings& settings, int slot) {
    return settings.Sounds[static_cast<std::size_t>(slot)];
}

} // namespace

TSoundControls::TSoundControls(QWidget* parent)
    : TDocumentPanel(parent), Player(new TSlotPlayer(this)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(tr("Sounds"), this);
    outer->addWidget(group);
    outer->addStretch();
    auto* list = new QVBoxLayout(group);
    auto* hint = new QLabel(tr("WAVE files the show plays while the picture is shown. They are "
                               "saved beside the picture file."),
                            group);
    hint->setWordWrap(true);
    hint->setObjectName("muted");
    list->addWidget(hint);
    Legacy = new QLabel(group);
    Legacy->setWordWrap(true);
    Legacy->setObjectName("muted");
    list->addWidget(Legacy);

    for (int i = 0; i < static_cast<int>(Rows.size()); ++i) {
        TSlotRow& row = Rows[static_cast<std::size_t>(i)];
        row.Box = new QWidget(group);
        auto* grid = new QGridLayout(row.Box);
        grid->setContentsMargins(0, 4, 0, 4);
        grid->setColumnStretch(1, 1);
        auto* number = new QLabel(QString::number(i + 1), row.Box);
        number->setObjectName("slotNumber");
        row.Name = new QLineEdit(row.Box);
        row.Name->setReadOnly(true);
        row.Name->setPlaceholderText(tr("choose a sound"));
        row.Choose = new QPushButton(tr("Choose…"), row.Box);
        row.Play = new QPushButton(tr("Play"), row.Box);
        row.Clear = new QPushButton(tr("Clear"), row.Box);
        row.Timing = new QWidget(row.Box);
        auto* timing = new QHBoxLayout(row.Timing);
        timing->setContentsMargins(0, 0, 0, 0);
        row.Mode = new QComboBox(row.Timing);
        row.Mode->addItems(
            {tr("Loop all the time"), tr("Now and then, between"), tr("Regularly, every")});
        row.MinSeconds = new QSpinBox(row.Timing);
        row.And = new QLabel(tr("and"), row.Timing);
        row.MaxSeconds = new QSpinBox(row.Timing);
        for (QSpinBox* box : {row.MinSeconds, row.MaxSeconds}) {
            box->setRange(0, kMaxSeconds);
            box->setSuffix(tr(" s"));
            box->setKeyboardTracking(false);
        }
        timing->addWidget(row.Mode);
        timing->addWidget(row.MinSeconds);
        timing->addWidget(row.And);
        timing->addWidget(row.MaxSeconds);
        timing->addStretch();
        grid->addWidget(number, 0, 0);
        grid->addWidget(row.Name, 0, 1);
        grid->addWidget(row.Choose, 0, 2);
        grid->addWidget(row.Play, 0, 3);
        grid->addWidget(row.Clear, 0, 4);
        grid->addWidget(row.Timing, 1, 1, 1, 4);
        list->addWidget(row.Box);

        connect(row.Choose, &QPushButton::clicked, this, [this, i] { Choose(i); });
        connect(row.Clear, &QPushButton::clicked, this, [this, i] { ClearSlot(i); });
        connect(row.Play, &QPushButton::clicked, this, [this, i] { TogglePlay(i); });
        connect(row.Mode, &QComboBox::activated, this, [this, i] { EditTimes(i); });
        connect(row.MinSeconds, &QSpinBox::valueChanged, this, [this, i] { EditTimes(i); });
        connect(row.MaxSeconds, &QSpinBox::valueChanged, this, [this, i] { EditTimes(i); });
    }
    setEnabled(false);
}

TSoundControls::~TSoundControls() = default;

void TSoundControls::DocumentChanged() {
    Player->Stop();
    PlayingSlot = -1;
}

void TSoundControls::ShowValues() {
    const QString legacy = QString::fromStdString(Document->LegacySound());
    Legacy->setVisible(!legacy.isEmpty());
    Legacy->setText(tr("This older picture file also names %1 in its single-sound field; the "
                       "show plays it, looping, after the slots in use. It is kept as it is.")
                        .arg(legacy));
    const TSoundTable& sounds = Document->Settings().Sounds;
    const int used = UsedSoundSlots(sounds);
    for (int i = 0; i < static_cast<int>(Rows.size()); ++i) {
        TSlotRow& row = Rows[static_cast<std::size_t>(i)];
        const SoundSlot& slot = sounds[static_cast<std::size_t>(i)];
        const bool inUse = i < used;
        const QSignalBlocker quietMode(row.Mode), quietMin(row.MinSeconds),
            quietMax(row.MaxSeconds);
        row.Name->setText(inUse ? QString::fromStdString(SlotPath(slot)) : QString());
        row.Mode->setCurrentIndex(std::clamp(slot.Mode, 0, 2));
        row.MinSeconds->setValue(slot.MinSeconds);
        row.MaxSeconds->setValue(slot.MaxSeconds);
        // The slots in use and the next one, which takes a new sound: no gaps.
        row.Box->setVisible(i <= used);
        row.Timing->setVisible(inUse);
        row.Clear->setEnabled(inUse);
        row.Play->setEnabled(inUse);
        row.Play->setText(PlayingSlot == i ? tr("Stop") : tr("Play"));
        row.MinSeconds->setVisible(slot.Mode != 0);
        row.And->setVisible(slot.Mode == 1);
        row.MaxSeconds->setVisible(slot.Mode == 1);
    }
}

QString TSoundControls::TakeSound(int slot, const QString& path) {
    if (!Document)
        return tr("No picture is open");
    const std::string file = path.toStdString();
    if (!FileExists(file))
        return tr("%1: no such file").arg(path);
    const authoring::TPictureSoundCheck check = authoring::CheckPictureSound(ReadWholeFile(file));
    if (check.Verdict == authoring::TSoundVerdict::Refused)
        return tr("%1: %2. The show plays %3.")
            .arg(path, QString::fromStdString(check.Description),
                 QString::fromStdString(authoring::kPlayableSounds));
    const std::string name = ExtractFileName(file);
    if (name.size() > sizeof(SoundSlot::Path))
        return tr("%1: the file name is longer than 255 bytes").arg(path);

    const int target = std::min(slot, UsedSoundSlots(Document->Settings().Sounds));
    if (target >= kSoundSlotCount)
        return tr("All eight sound slots are in use");
    Document->NoteSoundSource(name, file);
    Document->Change(tr("Sound %1").arg(target + 1), [&](TPictureSettings& settings) {
        const SoundSlot old = SlotOf(settings, target);
        SlotOf(settings, target) = MakeSoundSlot(name, old.Mode, old.MinSeconds, old.MaxSeconds);
    });
    if (check.Verdict == authoring::TSoundVerdict::Converted)
        emit message(
            tr("%1 is %2; pack stores it as 16 bits so that the show plays it.")
                .arg(QString::fromStdString(name), QString::fromStdString(check.Description)));
    return {};
}

void TSoundControls::Choose(int slot) {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Choose a sound"), QString(), tr("WAVE sounds (*.wav *.wave);;All files (*)"));
    if (path.isEmpty())
        return;
    const QString problem = TakeSound(slot, path);
    if (!problem.isEmpty())
        emit message(problem);
}

void TSoundControls::ClearSlot(int slot) {
    if (!Document)
        return;
    if (PlayingSlot >= 0) {
        Player->Stop();
        PlayingSlot = -1;
    }
    // The slots after it move up, so the sounds in use stay together from the first slot.
    Document->Change(tr("Clear sound %1").arg(slot + 1), [&](TPictureSettings& settings) {
        auto& sounds = settings.Sounds;
        std::move(sounds.begin() + slot + 1, sounds.end(), sounds.begin() + slot);
        sounds.back() = SoundSlot{};
    });
}

void TSoundControls::EditTimes(int slot) {
    if (!Document)
        return;
    const TSlotRow& row = Rows[static_cast<std::size_t>(slot)];
    Document->Change(tr("Sound %1 timing").arg(slot + 1), [&](TPictureSettings& settings) {
        SoundSlot& sound = SlotOf(settings, slot);
        sound.Mode = row.Mode->currentIndex();
        sound.MinSeconds = row.MinSeconds->value();
        sound.MaxSeconds = row.MaxSeconds->value();
    });
}

void TSoundControls::TogglePlay(int slot) {
    if (!Document)
        return;
    const bool stopOnly = PlayingSlot == slot;
    Player->Stop();
    PlayingSlot = -1;
    if (!stopOnly) {
        const SoundSlot& sound = Document->Settings().Sounds[static_cast<std::size_t>(slot)];
        const std::string path = Document->SoundFile(SlotPath(sound));
        if (path.empty()) {
            emit message(tr("%1 is not beside the picture file")
                             .arg(QString::fromStdString(SlotPath(sound))));
        } else if (const std::string problem = Player->Play(path, sound.Mode == 0);
                   !problem.empty()) {
            emit message(tr("Cannot play %1: %2")
                             .arg(QString::fromStdString(path), QString::fromStdString(problem)));
        } else {
            PlayingSlot = slot;
        }
    }
    ShowValues();
}

} // namespace ml::studio
