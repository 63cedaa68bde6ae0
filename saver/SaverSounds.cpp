#include "saver/SaverSounds.h"

#include "mixer/SoundMixer.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/ProgramPath.h"
#include "platform/Strings.h"
#include "project/Project.h"
#include "project/QMCProject.h"
#include "project/UserSettings.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaPlayer>
#include <QUrl>

namespace ml {

namespace {

// What the sounds of one picture may take in all once converted: eight slots naming sounds
// at a tiny rate must not fill the machine's memory.
constexpr std::size_t kPictureSoundBytes = std::size_t{64} << 20;

std::string ExtractFolder() {
    try {
        return GetExtractFolder();
    } catch (const std::exception&) {
        return "";
    }
}

} // namespace

// Stereo at 22 kHz.
TMixConfig ShowMixerConfig() {
    TMixConfig config;
    config.Flags = TMixConfig::kChannelsGiven | TMixConfig::kRateGiven;
    config.Channels = 2;
    config.Rate = 22;
    return config;
}

TSaverSounds::TSaverSounds(QObject* owner) : Owner(owner) {}

TSaverSounds::~TSaverSounds() {
    StopMusic();
}

void TSaverSounds::StartMusic(const TQMCSetting& settings) {
    Music.clear();
    if (!settings.Music || settings.MusicFile.empty())
        return;
    const std::string folder = ExtractFolder();
    std::string rest = settings.MusicFile + ";";
    for (std::size_t cut; (cut = rest.find(';')) != std::string::npos; rest.erase(0, cut + 1)) {
        std::string name = rest.substr(0, cut);
        if (name.empty())
            continue;
        Music.push_back(ExtractFilePath(name).empty() ? folder + name : name);
    }
    if (Music.empty())
        return;
    MusicMode = settings.MusicMode;
    MusicPosition = -1;
    NextMusicIndex(MusicPosition);
    try {
        Player = std::make_unique<QMediaPlayer>();
        PlayerOutput = std::make_unique<QAudioOutput>();
        Player->setAudioOutput(PlayerOutput.get());
        QObject::connect(Player.get(), &QMediaPlayer::mediaStatusChanged, Owner,
                         [this](QMediaPlayer::MediaStatus) { MediaPlayerNotify(); });
        OpenTrack();
    } catch (...) {
        // No music for this show.
        Player.reset();
        PlayerOutput.reset();
    }
}

void TSaverSounds::StopMusic() {
    if (Player) {
        Player->disconnect();
        Player->stop();
    }
    Player.reset();
    PlayerOutput.reset();
}

void TSaverSounds::OpenTrack() {
    Player->setSource(QUrl::fromLocalFile(QString::fromStdString(Music[MusicPosition])));
    Player->play();
}

void TSaverSounds::NextMusicIndex(int& index) {
    const int size = static_cast<int>(Music.size());
    if (MusicMode != 0) {
        index = index + 1 >= size ? 0 : index + 1;
        return;
    }
    if (size < 2) {
        index = 0;
        return;
    }
    std::uniform_int_distribution<int> pick(0, size - 1);
    int r;
    do
        r = pick(Random);
    while (r == index);
    index = r;
}

void TSaverSounds::MediaPlayerNotify() {
    if (!Player || Player->mediaStatus() != QMediaPlayer::EndOfMedia)
        return;
    NextMusicIndex(MusicPosition);
    Player->stop();
    OpenTrack();
}

std::string TSaverSounds::FindSoundFile(const std::string& storedPath) {
    const std::string name = ExtractFileName(storedPath);
    std::vector<std::string> candidates = {storedPath, ExtractFolder() + name};
    if (std::string common = GetCommonFolder(); !common.empty())
        candidates.push_back(common + "sounds/" + name);
    candidates.push_back(ExtractFilePath(ModuleFileName()) + "sounds/" + name);
    for (const std::string& path : candidates)
        if (!name.empty() && FileExists(path))
            return path;
    return "";
}

std::int64_t TSaverSounds::RandomDelay(const SoundSlot& slot) {
    const int low = std::min(slot.MinSeconds, slot.MaxSeconds);
    const int high = std::max(slot.MinSeconds, slot.MaxSeconds);
    if (low == high)
        return low;
    return std::uniform_int_distribution<int>(low, high - 1)(Random);
}

void TSaverSounds::InitSounds(const TProject& project) {
    try {
        if (!Mixer) {
            Mixer = std::make_unique<TSoundMixer>(Owner, ShowMixerConfig());
            Mixer->SetChannels(255);
            Mixer->SetActivated(true);
        }
    } catch (...) {
        Mixer.reset();
        return;
    }
    const std::uint32_t now = Clock().GetTickCount();
    std::size_t left = kPictureSoundBytes;
    for (int i = 0; i < project.SoundCount(); ++i) {
        const SoundSlot& slot = project.Sounds[i];
        TSoundState& state = State[i];
        state = TSoundState{};
        state.LastStart = now;
        std::string path = FindSoundFile(std::string(slot.Path, slot.PathLength));
        if (!path.empty()) {
            try {
                state.Wave = Mixer->LoadWave(path, left);
                state.Loaded = true;
                left -= state.Wave->Length();
            } catch (...) {
                state.Loaded = false;
                continue;
            }
        }
        if (slot.Mode == 1)
            state.NextDelay = RandomDelay(slot);
        else if (slot.Mode == 2)
            state.NextDelay = slot.MinSeconds;
    }
}

void TSaverSounds::Start(int channel, bool loop) {
    try {
        Mixer->PlayWave(channel, State[channel].Wave, loop ? kLoopForever : 0, kPlayHighPriority,
                        nullptr);
        QCoreApplication::processEvents();
    } catch (...) {
        // A sound that cannot start stays silent.
    }
}

void TSaverSounds::PlaySounds(const TProject& project) {
    if (!Mixer)
        return;
    const std::uint32_t now = Clock().GetTickCount();
    for (int i = 0; i < project.SoundCount(); ++i) {
        const SoundSlot& slot = project.Sounds[i];
        TSoundState& state = State[i];
        if (!state.Loaded)
            continue;
        // Unsigned, so that the difference holds across the tick counter's wrap.
        const std::int64_t elapsed = static_cast<std::uint32_t>(now - state.LastStart) / 1000;
        if (slot.Mode == 0 && !state.Started) {
            state.Started = true;
            Start(i, true);
        } else if (slot.Mode == 1 && elapsed >= state.NextDelay) {
            state.LastStart = now;
            state.NextDelay = RandomDelay(slot);
            Start(i, false);
        } else if (slot.Mode == 2 && elapsed >= slot.MinSeconds) {
            state.LastStart = now;
            Start(i, false);
        }
    }
}

void TSaverSounds::FreeSounds() {
    if (!Mixer)
        return;
    for (TSoundState& state : State) {
        if (!state.Loaded)
            continue;
        try {
            Mixer->ReleaseWave(state.Wave);
        } catch (...) {
        }
        state.Loaded = false;
        state.Wave = nullptr;
    }
}

void TSaverSounds::StopSystemSound() {
    // Nothing in this program plays through a system beep channel on Linux; the music and
    // the mixer stop with the form.
}

} // namespace ml
