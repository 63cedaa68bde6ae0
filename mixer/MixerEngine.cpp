#include "mixer/MixerEngine.h"

#include "mixer/MixerError.h"
#include "platform/Profile.h"

#include <QStandardPaths>

#include <algorithm>
#include <new>

namespace ml {

namespace {

std::string& IniFileOverride() {
    static std::string fileName;
    return fileName;
}

// Only the process's one live mixer is accepted, so a stale or made-up handle is refused
// without its memory ever being read.
TMixSession* Validate(TMixSession* mixer) {
    TMixSession* current = CurrentSession().get();
    if (mixer == nullptr || mixer != current || mixer->Magic != TMixSession::kMagic ||
        mixer->Magic2 != TMixSession::kMagic)
        throw EMixerError("Invalid Session handle");
    return mixer;
}

bool IsLoadedWave(const TMixSession& mixer, const TWaveData* wave) {
    return std::any_of(mixer.Waves.begin(), mixer.Waves.end(),
                       [wave](const auto& w) { return w.get() == wave; });
}

void OpenChannel(TMixSession& mixer, int channel) {
    mixer.Open[channel] = true;
    mixer.Queue[channel] = nullptr;
    ++mixer.OpenChannels;
}

void CloseChannel(TMixSession& mixer, int channel) {
    mixer.Open[channel] = false;
    --mixer.OpenChannels;
    // A play collected with the wait flag for this channel could never start now.
    std::erase_if(mixer.Pending, [channel](TPlayEntry* e) {
        if (e->Request.Channel != channel)
            return false;
        ReturnPlayEntry(e);
        return true;
    });
}

// Reads the settings: "default" gives the defaults, the device's own section overrides them.
void Configure(TMixSession& mixer, const TMixConfig* config, int deviceCount) {
    const TIniFile ini(MixerIniFileName());
    const int remix = ini.ReadInteger("default", "Remix", 1);
    const int goodPosition = ini.ReadInteger("default", "GoodWavePos", 0);
    const int blocks = ini.ReadInteger("default", "WaveBlocks", 3);
    const int blockLength = ini.ReadInteger("default", "WaveBlockLen", 0) & ~3;
    const int rate = ini.ReadInteger("default", "SamplesPerSec", 11);
    mixer.DeviceId = ini.ReadInteger("general", "WaveOutDevice", TWaveOutDriver::kWaveMapper);
    if (mixer.DeviceId < 0 || mixer.DeviceId >= deviceCount)
        mixer.DeviceId = TWaveOutDriver::kWaveMapper;

    const std::optional<TWaveOutCaps> caps = WaveOut().Caps(mixer.DeviceId);
    const std::string name = caps ? caps->ProductName : "Unknown Device";
    if (caps && caps->Synchronous)
        throw EMixerError(name + " is a syncronous (blocking) " +
                          "wave output device.  This will not permit audio to play while other " +
                          "applications are running");
    if (ini.ReadInteger("not compatible", name, 0) != 0)
        throw EMixerError(name + " is not compatible with " + "the realtime mixer");

    mixer.DeviceSection = name.substr(0, 32);
    const std::string& section = mixer.DeviceSection;
    mixer.Remix =
        ini.ReadInteger(section, "Remix", remix) == 2 ? TRemixStrategy::B : TRemixStrategy::A;
    mixer.GoodPosition = ini.ReadInteger(section, "GoodWavePos", goodPosition) != 0;
    mixer.BlockCount = std::clamp(ini.ReadInteger(section, "WaveBlocks", blocks), 2, kMaxBlocks);

    TWaveFormat& format = mixer.Format;
    if (config && (config->Flags & TMixConfig::kChannelsGiven) && config->Channels > 1 && caps &&
        caps->Channels > 1) {
        format.Channels = 2;
        format.BlockAlign = 2;
    }
    int kHz = ini.ReadInteger(section, "SamplesPerSec", rate);
    if (config && (config->Flags & TMixConfig::kRateGiven) &&
        (config->Rate == 11 || config->Rate == 22 || config->Rate == 44))
        kHz = config->Rate;
    format.SamplesPerSec = kHz == 22 ? 22050 : kHz == 44 ? 44100 : 11025;
    format.AvgBytesPerSec = format.SamplesPerSec * format.Channels;

    int length = ini.ReadInteger(section, "WaveBlockLen", 0) & ~3;
    if (length == 0)
        length = blockLength;
    if (length == 0)
        length = static_cast<int>(format.SamplesPerSec / 11025) * 2048;
    mixer.BlockLength = static_cast<std::uint32_t>(std::clamp(length, 512, 4096));
}

void TakeDevice(TMixSession& mixer) {
    if (DeviceHolder() == &mixer)
        return;
    if (DeviceHolder() != nullptr)
        throw EMixerError("Resource is already allocated to a process");
    mixer.Window = std::make_unique<TMixerWindow>();
    int error = 0;
    mixer.Device = WaveOut().Open(mixer.DeviceId, mixer.Format, mixer.Window.get(), error);
    if (!mixer.Device) {
        mixer.Window.reset();
        throw EMixerError("Failed to open waveform output device #" + std::to_string(error));
    }
    try {
        mixer.Blocks = std::make_unique<std::array<TOutputBlock, kMaxBlocks>>();
        mixer.Playing.reserve(kMaxBlocks);
    } catch (const std::bad_alloc&) {
        mixer.Device.reset();
        mixer.Window.reset();
        throw EMixerError(kMixerMemoryText);
    }
    for (int i = 0; i < kMaxBlocks; ++i) {
        TWaveHeader& header = (*mixer.Blocks)[i].Header;
        header.Data = (*mixer.Blocks)[i].Data.data();
        header.BufferLength = mixer.BlockLength;
        header.Loops = 1;
        if (const int error = mixer.Device->PrepareHeader(header)) {
            for (int j = 0; j < i; ++j)
                mixer.Device->UnprepareHeader((*mixer.Blocks)[j].Header);
            mixer.Blocks.reset();
            mixer.Device.reset();
            mixer.Window.reset();
            throw EMixerError("Unable to prepare wave header #" + std::to_string(error));
        }
    }
    mixer.Active = true;
    DeviceHolder() = &mixer;
    mixer.Rebase(mixer.MixPosition);
    mixer.FillRing();
}

void ReleaseDevice(TMixSession& mixer) {
    if (!mixer.Active)
        return;
    mixer.ResetDevice(); // the mix position becomes the playing position
    for (TOutputBlock* block : mixer.Playing)
        block->InUse = false;
    mixer.Playing.clear();
    for (TOutputBlock& block : *mixer.Blocks)
        mixer.Device->UnprepareHeader(block.Header);
    mixer.Blocks.reset();
    mixer.Device.reset();
    mixer.Window.reset();
    mixer.Active = false;
    DeviceHolder() = nullptr;
}

// The least recently played open channel, preferring the first open one with nothing queued.
int LeastRecentlyUsedChannel(const TMixSession& mixer) {
    int candidate = -1;
    for (int i = 0; i < kMixerChannels; ++i) {
        if (!mixer.Open[i])
            continue;
        if (candidate < 0)
            candidate = i;
        if (mixer.Queue[candidate] == nullptr)
            break;
        if (i != candidate && mixer.Stamp[i] < mixer.Stamp[candidate])
            candidate = i;
    }
    return candidate;
}

// Puts a collected play on its channel and gives it its output span. Returns true when it
// starts inside output already mixed.
bool QueuePlay(TMixSession& mixer, TPlayEntry* play, std::int64_t d) {
    const int channel = play->Request.Channel;
    const bool highPriority = play->Request.Flags & kPlayHighPriority;
    const std::int64_t p = mixer.MixPosition;
    bool remix = false;
    if (play->Request.Flags & kPlayClearQueue) {
        mixer.DropPlays(channel);
        mixer.Queue[channel] = play;
        play->Start = highPriority ? d : p;
        remix = !mixer.Playing.empty();
    } else if (TPlayEntry* last = mixer.Queue[channel]) {
        while (last->Next != nullptr)
            last = last->Next;
        last->Next = play;
        // A high-priority play follows the last one at once, but no earlier than the device's
        // position: a last play that has been heard out and not yet retired would otherwise
        // put the new start in output the re-mix no longer reaches.
        play->Start = std::max(last->End, highPriority ? d : p);
        remix = play->Start < p;
    } else {
        mixer.Queue[channel] = play;
        play->Start = highPriority ? d : p;
        remix = play->Start < p;
    }
    const std::int64_t span = (std::int64_t{play->Request.Loops} + 1) * play->Length;
    play->End = play->Request.Loops == kLoopForever || play->Start > kNever - span
                    ? kNever
                    : play->Start + span;
    return remix;
}

} // namespace

std::string MixerIniFileName() {
    if (!IniFileOverride().empty())
        return IniFileOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
           "/MIXER.INI";
}

void SetMixerIniFileName(const std::string& fileName) {
    IniFileOverride() = fileName;
}

TMixSession* MixerConfigureInit(const TMixConfig* config) {
    if (CurrentSession())
        throw EMixerError("Session already initialized");
    ResetPlayPool();
    if (config != nullptr && config->Size != sizeof(TMixConfig))
        config = nullptr;
    const int deviceCount = WaveOut().DeviceCount();
    if (deviceCount <= 0)
        throw EMixerError("No wave output devices available");

    std::unique_ptr<TMixSession> mixer;
    try {
        mixer = std::make_unique<TMixSession>();
        mixer->Pending.reserve(kPlayPoolSize);
    } catch (const std::bad_alloc&) {
        throw EMixerError(kMixerMemoryText);
    }
    Configure(*mixer, config, deviceCount);
    CurrentSession() = std::move(mixer);
    return CurrentSession().get();
}

TMixSession* MixerInit() {
    return MixerConfigureInit(nullptr);
}

void MixerActivate(TMixSession* mixer, bool take) {
    Validate(mixer);
    if (take)
        TakeDevice(*mixer);
    else
        ReleaseDevice(*mixer);
}

void MixerAddChannel(TMixSession* mixer, int channel, int mode) {
    Validate(mixer);
    switch (mode) {
    case 0:
        if (channel < 0 || channel >= kMixerChannels)
            throw EMixerError("Invalid channel number");
        if (mixer->Open[channel])
            throw EMixerError("The channel has already been opened");
        OpenChannel(*mixer, channel);
        return;
    case 1:
    case 2: {
        if (mode == 2 && (channel < 1 || channel > kMixerChannels))
            throw EMixerError("Invalid number of channels");
        const int count = mode == 1 ? kMixerChannels : channel;
        for (int c = 0; c < count; ++c)
            if (!mixer->Open[c])
                OpenChannel(*mixer, c);
        return;
    }
    default:
        throw EMixerError("Invalid Flags");
    }
}

void MixerDropQueue(TMixSession* mixer, int channel, int mode, bool remix) {
    Validate(mixer);
    bool dropped = false;
    if (mode & 1) {
        for (int c = 0; c < kMixerChannels; ++c)
            if (mixer->Open[c])
                dropped = mixer->DropPlays(c) || dropped;
    } else {
        if (channel < 0 || channel >= kMixerChannels)
            throw EMixerError("Invalid channel number");
        if (!mixer->Open[channel])
            throw EMixerError("The specified channel was not open");
        dropped = mixer->DropPlays(channel);
    }
    if (dropped && remix && mixer->Active)
        mixer->ApplyRemix(nullptr);
}

void MixerRemoveChannel(TMixSession* mixer, int channel, int mode) {
    MixerDropQueue(mixer, channel, mode, false);
    if (mode & 1) {
        for (int c = 0; c < kMixerChannels; ++c)
            if (mixer->Open[c])
                CloseChannel(*mixer, c);
    } else {
        CloseChannel(*mixer, channel);
    }
}

TWaveData* MixerLoadWave(TMixSession* mixer, const TWaveSource& source, std::size_t maxBytes) {
    Validate(mixer);
    if (!WaveOut().IsFormatSupported(mixer->DeviceId, mixer->Format))
        throw EMixerError("The waveform device can\u00b4t play this format");
    std::unique_ptr<TWaveData> wave = LoadWaveData(source, mixer->Format, maxBytes);
    try {
        mixer->Waves.push_back(std::move(wave));
    } catch (const std::bad_alloc&) {
        throw EMixerError(kMixerMemoryText);
    }
    return mixer->Waves.back().get();
}

void MixerReleaseWave(TMixSession* mixer, TWaveData* wave) {
    Validate(mixer);
    if (wave == nullptr || !IsLoadedWave(*mixer, wave))
        throw EMixerError("The given pointer was not valid");
    mixer->DropPlaysOf(wave);
    std::erase_if(mixer->Waves, [wave](const auto& w) { return w.get() == wave; });
}

void MixerPlay(TPlayRequest* request) {
    if (request == nullptr)
        throw EMixerError("nil parameters pointer passed to MixerPlay");
    TMixSession& mixer = *Validate(request->Mixer);
    if (request->Wave == nullptr)
        throw EMixerError("nil wave pointer passed to MixerPlay!");
    if (!IsLoadedWave(mixer, request->Wave))
        throw EMixerError("The given pointer was not valid");
    if (!mixer.Active)
        throw EMixerError("Wave device not allocated, call MixerActivate(hMixSession,TRUE)");
    if (mixer.OpenChannels == 0)
        throw EMixerError("You must open a channel before you can play a wave");

    if (request->Flags & kPlayLruChannel)
        request->Channel = LeastRecentlyUsedChannel(mixer);
    const int channel = request->Channel;
    if (channel < 0 || channel >= kMixerChannels)
        throw EMixerError("Invalid channel number");
    if (!mixer.Open[channel])
        throw EMixerError("The specified channel was not open");
    mixer.Stamp[channel] = ++mixer.PlayCounter;

    TPlayEntry* play = TakePlayEntry();
    if (play == nullptr)
        throw EMixerError("Not enough memory");
    play->Request = *request;
    play->Notify = request->NotifyWindow;
    play->Wave = request->Wave;
    play->Length = request->Wave->Length();
    play->Data = request->Wave->Data.data();
    mixer.Pending.push_back(play);
    if (request->Flags & kPlayWait)
        return;

    const bool idle = mixer.Playing.empty() && std::all_of(mixer.Queue.begin(), mixer.Queue.end(),
                                                           [](TPlayEntry* e) { return !e; });
    if (idle)
        mixer.Rebase(0);
    const std::int64_t d = mixer.DevicePosition();

    bool remix = false;
    TPlayEntry* last = nullptr;
    for (TPlayEntry* pending : mixer.Pending) {
        remix = QueuePlay(mixer, pending, d) || remix;
        last = pending;
    }
    mixer.Pending.clear();

    if (remix) {
        mixer.ApplyRemix(last);
        return;
    }
    const bool paused = mixer.Playing.empty();
    if (paused)
        mixer.Device->Pause();
    mixer.FillRing();
    if (paused)
        mixer.Device->Restart();
}

void MixerEndSession(TMixSession* mixer) {
    Validate(mixer);
    ReleaseDevice(*mixer);
    MixerRemoveChannel(mixer, 0, 1);
    for (TPlayEntry* e : mixer->Pending)
        ReturnPlayEntry(e);
    mixer->Pending.clear();
    mixer->Magic = mixer->Magic2 = 0;
    CurrentSession().reset();
}

} // namespace ml
