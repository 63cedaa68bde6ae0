#pragma once
// The show's two sound sources: background music through a media player, one track after
// another without end, and each picture's sound effects on the software mixer, each on its
// own schedule. Every failure here is silent: the show goes on without the sound.

#include "project/ProjectRecords.h"

#include <QObject>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

class QMediaPlayer;
class QAudioOutput;

namespace ml {

class TProject;
class TQMCSetting;
class TSoundMixer;
struct TMixConfig;
struct TWaveData;

// The format the show mixes picture sounds in; the studio plays a slot in it too, so that it
// sounds there as it will in the show.
TMixConfig ShowMixerConfig();

class TSaverSounds {
public:
    explicit TSaverSounds(QObject* owner);
    ~TSaverSounds();

    // Music: builds the list from the settings and starts the first track.
    void StartMusic(const TQMCSetting& settings);
    void StopMusic();
    void NextMusicIndex(int& index);
    // The media player's notice: at the end of a track the next one starts.
    void MediaPlayerNotify();
    const std::vector<std::string>& MusicList() const { return Music; }
    int MusicIndex() const { return MusicPosition; }

    // Per-picture sounds, called as the picture loader and the frame loop need them.
    void InitSounds(const TProject& project);
    void PlaySounds(const TProject& project);
    // Releases every sound that InitSounds set up, whichever picture it belonged to.
    void FreeSounds();
    void StopSystemSound();

    // Where a sound entry's file lies, or "" when it is nowhere.
    static std::string FindSoundFile(const std::string& storedPath);

    struct TSoundState {
        bool Loaded = false;
        bool Started = false;
        TWaveData* Wave = nullptr;
        std::uint32_t LastStart = 0; // a tick count
        std::int64_t NextDelay = 0;
    };
    const std::array<TSoundState, kSoundSlotCount>& States() const { return State; }
    bool HasMixer() const { return Mixer != nullptr; }
    void SeedRandom(unsigned seed) { Random.seed(seed); }

private:
    void OpenTrack();
    std::int64_t RandomDelay(const SoundSlot& slot);
    void Start(int channel, bool loop);

    QObject* Owner;
    std::unique_ptr<QMediaPlayer> Player;
    std::unique_ptr<QAudioOutput> PlayerOutput;
    std::vector<std::string> Music;
    int MusicPosition = -1;
    int MusicMode = 0;

    std::unique_ptr<TSoundMixer> Mixer;
    std::array<TSoundState, kSoundSlotCount> State{};
    std::mt19937 Random;
};

} // namespace ml
