#pragma once
// The records of the software mixer and the work it does between engine calls: keeping
// output positions, mixing the queued plays into output blocks, and refilling the blocks the
// device has finished. The engine calls (MixerEngine.h) are the public face; this header is
// for them and for tests that look inside a mixer.

#include "mixer/WaveLoader.h"
#include "platform/WaveOut.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace ml {

struct TMixSession;

// Optional settings for a new mixer; a record whose Size is not 10 counts as absent.
#pragma pack(push, 1)
struct TMixConfig {
    static constexpr std::uint32_t kChannelsGiven = 1;
    static constexpr std::uint32_t kRateGiven = 2;

    std::uint16_t Size = 10;
    std::uint32_t Flags = 0;
    std::uint16_t Channels = 1; // 1 mono, 2 stereo
    std::uint16_t Rate = 11;    // 11, 22 or 44 kHz
};
#pragma pack(pop)
static_assert(sizeof(TMixConfig) == 10);

// Play flags.
inline constexpr std::uint32_t kPlayClearQueue = 1;   // the play replaces the channel's queue
inline constexpr std::uint32_t kPlayLruChannel = 2;   // the mixer picks the channel
inline constexpr std::uint32_t kPlayHighPriority = 4; // heard at once, re-mixing what was mixed
inline constexpr std::uint32_t kPlayWait = 8;         // starts with the next play without it
inline constexpr std::uint16_t kLoopForever = 65535;

struct TPlayRequest {
    std::uint16_t Size = 24;
    TMixSession* Mixer = nullptr;
    int Channel = 0; // replaced by the chosen channel with kPlayLruChannel
    TWaveData* Wave = nullptr;
    QObject* NotifyWindow = nullptr; // gets MM_WOM_DONE (channel, wave) when the play is over
    std::uint32_t Flags = 0;
    std::uint16_t Loops = 0; // plays Loops + 1 times; kLoopForever never ends
};

// Output positions are counted in bytes from the last time the mixer went idle. They are
// 64-bit so that a sound looping for days never wraps.
inline constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

// A queued play; all of them come from one fixed pool of 99 so that playing never allocates.
struct TPlayEntry {
    TPlayEntry* Next = nullptr; // next play on the same channel, or the next free entry
    TPlayRequest Request;
    QPointer<QObject> Notify; // cleared by Qt if the window goes away before the notice
    TWaveData* Wave = nullptr;
    std::uint32_t Length = 0;
    std::int64_t Start = 0; // first output byte of the play
    std::int64_t End = 0;   // first output byte after it, or kNever
    const std::uint8_t* Data = nullptr;
};

inline constexpr int kPlayPoolSize = 99;
inline constexpr int kMixerChannels = 8;
inline constexpr int kMaxBlocks = 6;
inline constexpr std::uint32_t kMaxBlockLength = 4096;

struct TOutputBlock {
    TWaveHeader Header;
    bool InUse = false;           // mixed and not yet given back by the device
    std::int64_t MixPosition = 0; // output position of the block's first byte
    std::array<std::uint8_t, kMaxBlockLength> Data{};
};

// Receives the device's block-done messages for the mixer that holds the device.
class TMixerWindow : public QObject {
protected:
    bool event(QEvent* event) override;
};

enum class TRemixStrategy {
    A, // re-mix the written blocks from the new play's start, so it is heard at once
    B  // defer the new play behind what is already mixed
};

struct TMixSession {
    static constexpr std::uint16_t kMagic = 0x5432;

    std::uint16_t Magic = kMagic;
    std::unique_ptr<TMixerWindow> Window;
    std::unique_ptr<TWaveOutDevice> Device;
    bool Active = false;
    int DeviceId = TWaveOutDriver::kWaveMapper;
    std::string DeviceSection;

    std::array<bool, kMixerChannels> Open{};
    std::array<TPlayEntry*, kMixerChannels> Queue{};
    int OpenChannels = 0;
    std::array<std::uint32_t, kMixerChannels> Stamp{};
    std::uint32_t PlayCounter = 0;

    TWaveFormat Format;
    std::uint32_t BlockLength = 2048;
    int BlockCount = 3;

    std::int64_t MixPosition = 0;
    std::uint32_t BaseTime = 0;
    bool GoodPosition = false;
    std::int64_t PositionOffset = 0;
    bool OffsetAdded = false;
    TRemixStrategy Remix = TRemixStrategy::A;
    std::vector<TPlayEntry*> Pending; // collected with kPlayWait, in order of arrival

    std::unique_ptr<std::array<TOutputBlock, kMaxBlocks>> Blocks;
    std::vector<TOutputBlock*> Playing; // written to the device, in write order
    std::vector<std::unique_ptr<TWaveData>> Waves;
    std::uint16_t Magic2 = kMagic;

    // D: the output position the device is playing now.
    std::int64_t DevicePosition() const;
    // Ties output position x to the device's position and to the clock, and makes it the mix
    // position.
    void Rebase(std::int64_t x);
    // Stops the device and drops what it holds without losing the position count.
    void ResetDevice();

    TOutputBlock* AvailableBlock();
    // Mixes the next block length of output at the mix position into the block. Returns
    // false (and with write, frees the block) when no play is left to sound.
    bool MixBlock(TOutputBlock* block, bool write);
    // Mixes and writes blocks while a block is free and something is left to play.
    void FillRing();
    // Takes back the blocks the device has played, retires plays it has played past (posting
    // their notices) and refills the ring.
    void ServiceOutput();
    // Makes a change inside already mixed output audible, by the mixer's strategy: A re-mixes
    // the written blocks from the playing position; B moves the new play (if any) to the mix
    // position and carries on.
    void ApplyRemix(TPlayEntry* play);
    // Returns every play queued on the channel to the pool; true when there was one.
    bool DropPlays(int channel);
    // Returns every play of the wave, queued or pending, to the pool.
    void DropPlaysOf(const TWaveData* wave);

private:
    void RemixFrom(std::int64_t from);
    void WriteBlock(TOutputBlock* block);
};

// The process-wide play pool.
TPlayEntry* TakePlayEntry(); // nullptr when all 99 are in use
void ReturnPlayEntry(TPlayEntry* entry);
void ResetPlayPool();
int FreePlayEntries();

// The process's one mixer, and the mixer holding the output device (or nullptr).
std::unique_ptr<TMixSession>& CurrentSession();
TMixSession*& DeviceHolder();

} // namespace ml
