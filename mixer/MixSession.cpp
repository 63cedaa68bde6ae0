#include "mixer/MixSession.h"

#include "mixer/MixerError.h"
#include "platform/Clock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ml {

namespace {

std::array<TPlayEntry, kPlayPoolSize> playPool;
TPlayEntry* freePlays = nullptr;

constexpr std::uint8_t kSilence = 128;

// Integer rounding to nearest with ties to even, as every rounding in the program does.
std::int64_t RoundDiv(std::int64_t n, std::int64_t d) {
    std::int64_t q = n / d;
    const std::int64_t r = n % d;
    if (2 * r > d || (2 * r == d && (q & 1)))
        ++q;
    return q;
}

// Mixes `count` bytes at output position p from the plays that have started. A lone play is
// a straight copy; several are summed around silence and clipped to the 8-bit range.
void MixSegment(std::uint8_t* out, TPlayEntry* const* plays, int n, std::int64_t p,
                std::int64_t count) {
    std::array<const std::uint8_t*, kMixerChannels> source;
    for (int k = 0; k < n; ++k)
        source[k] = plays[k]->Data + (p - plays[k]->Start) % plays[k]->Length;
    if (n == 1) {
        std::memcpy(out, source[0], static_cast<std::size_t>(count));
        return;
    }
    for (std::int64_t i = 0; i < count; ++i) {
        int sum = kSilence;
        for (int k = 0; k < n; ++k)
            sum += source[k][i] - kSilence;
        out[i] = static_cast<std::uint8_t>(std::clamp(sum, 0, 255));
    }
}

std::int64_t EarliestStart(const std::array<TPlayEntry*, kMixerChannels>& current) {
    std::int64_t start = kNever;
    for (TPlayEntry* e : current)
        if (e != nullptr)
            start = std::min(start, e->Start);
    return start;
}

} // namespace

void ResetPlayPool() {
    freePlays = nullptr;
    for (TPlayEntry& entry : playPool) {
        entry = TPlayEntry{};
        entry.Next = freePlays;
        freePlays = &entry;
    }
}

TPlayEntry* TakePlayEntry() {
    TPlayEntry* entry = freePlays;
    if (entry != nullptr) {
        freePlays = entry->Next;
        entry->Next = nullptr;
    }
    return entry;
}

void ReturnPlayEntry(TPlayEntry* entry) {
    *entry = TPlayEntry{};
    entry->Next = freePlays;
    freePlays = entry;
}

int FreePlayEntries() {
    int count = 0;
    for (TPlayEntry* e = freePlays; e != nullptr; e = e->Next)
        ++count;
    return count;
}

std::unique_ptr<TMixSession>& CurrentSession() {
    static std::unique_ptr<TMixSession> session;
    return session;
}

TMixSession*& DeviceHolder() {
    static TMixSession* holder = nullptr;
    return holder;
}

bool TMixerWindow::event(QEvent* event) {
    if (event->type() != TWaveOutMessage::EventType())
        return QObject::event(event);
    if (static_cast<TWaveOutMessage*>(event)->Message == MM_WOM_DONE && DeviceHolder() != nullptr)
        DeviceHolder()->ServiceOutput();
    return true;
}

std::int64_t TMixSession::DevicePosition() const {
    std::int64_t d;
    if (GoodPosition && Device) {
        const auto b = static_cast<std::int64_t>(Device->Position());
        d = OffsetAdded ? b + PositionOffset : b - PositionOffset;
    } else {
        // Without a trusted device report, the position follows the clock from the base time.
        // Stereo positions must stay on a frame boundary, so an odd result steps back.
        const std::uint32_t elapsed = Clock().GetTickCount() - BaseTime;
        d = RoundDiv(std::int64_t{elapsed} * Format.AvgBytesPerSec, 1000);
        if ((d & 1) && Format.BlockAlign >= 2)
            --d;
    }
    // The device cannot have played what was never mixed. A sound server that starts late
    // (or a device that ran dry) lets the clock run ahead of the output; unclamped, plays
    // would be retired before their last blocks were even mixed.
    return std::min(d, MixPosition);
}

void TMixSession::Rebase(std::int64_t x) {
    const std::int64_t b = Device ? static_cast<std::int64_t>(Device->Position()) : 0;
    PositionOffset = std::llabs(x - b);
    OffsetAdded = b < x;
    BaseTime =
        Clock().GetTickCount() - static_cast<std::uint32_t>(x * 1000 / Format.AvgBytesPerSec);
    MixPosition = x;
}

void TMixSession::ResetDevice() {
    const std::int64_t d = DevicePosition();
    Device->Reset();
    Rebase(d);
}

TOutputBlock* TMixSession::AvailableBlock() {
    if (!Blocks)
        return nullptr;
    for (int i = 0; i < BlockCount; ++i)
        if (!(*Blocks)[i].InUse)
            return &(*Blocks)[i];
    return nullptr;
}

bool TMixSession::MixBlock(TOutputBlock* block, bool write) {
    if (block == nullptr)
        return false;
    const std::int64_t start = MixPosition;

    // Each channel's current play is its first one that has not ended by now. Ended plays
    // stay queued until the device has played past them.
    std::array<TPlayEntry*, kMixerChannels> current{};
    for (int c = 0; c < kMixerChannels; ++c) {
        if (!Open[c])
            continue;
        TPlayEntry* e = Queue[c];
        while (e != nullptr && e->End <= start)
            e = e->Next;
        current[c] = e;
    }
    if (std::none_of(current.begin(), current.end(), [](TPlayEntry* e) { return e != nullptr; })) {
        if (write)
            block->InUse = false;
        return false;
    }
    block->InUse = true;

    // Work segment by segment: within one, the set of sounding plays does not change and
    // none of them wraps around to the start of its wave.
    const std::int64_t blockEnd = start + BlockLength;
    std::uint8_t* out = block->Data.data();
    std::int64_t p = start;
    while (p < blockEnd) {
        const std::int64_t firstStart = EarliestStart(current);
        if (p < firstStart) {
            const std::int64_t to = std::min(firstStart, blockEnd);
            std::memset(out + (p - start), kSilence, static_cast<std::size_t>(to - p));
            p = to;
            continue;
        }
        std::int64_t segmentEnd = blockEnd;
        std::array<TPlayEntry*, kMixerChannels> sounding{};
        int n = 0;
        for (TPlayEntry* e : current) {
            if (e == nullptr)
                continue;
            if (e->Start > p) {
                segmentEnd = std::min(segmentEnd, e->Start);
                continue;
            }
            sounding[n++] = e;
            segmentEnd = std::min(segmentEnd, e->End);
            if (e->Request.Loops != 0)
                segmentEnd = std::min(segmentEnd, p + e->Length - (p - e->Start) % e->Length);
        }
        MixSegment(out + (p - start), sounding.data(), n, p, segmentEnd - p);
        p = segmentEnd;
        for (TPlayEntry*& e : current)
            while (e != nullptr && e->End <= p)
                e = e->Next;
    }

    block->MixPosition = start;
    MixPosition = blockEnd;
    if (write) {
        Playing.push_back(block);
        WriteBlock(block);
    }
    return true;
}

void TMixSession::WriteBlock(TOutputBlock* block) {
    if (Device->Write(block->Header) == 0)
        return;
    block->InUse = false;
    Playing.erase(std::find(Playing.begin(), Playing.end(), block));
    throw EMixerError("Failed to write block to device");
}

void TMixSession::FillRing() {
    while (TOutputBlock* block = AvailableBlock())
        if (!MixBlock(block, true))
            break;
}

void TMixSession::ServiceOutput() {
    std::erase_if(Playing, [](TOutputBlock* block) {
        if (!(block->Header.Flags & TWaveHeader::kDone))
            return false;
        block->InUse = false;
        return true;
    });

    const std::int64_t d = DevicePosition();
    for (int c = 0; c < kMixerChannels; ++c) {
        while (Open[c] && Queue[c] != nullptr && Queue[c]->End <= d) {
            TPlayEntry* done = Queue[c];
            Queue[c] = done->Next;
            if (done->Notify)
                PostWaveOutMessage(done->Notify, MM_WOM_DONE, static_cast<quintptr>(c),
                                   reinterpret_cast<quintptr>(done->Wave));
            ReturnPlayEntry(done);
        }
    }
    FillRing();
}

void TMixSession::ApplyRemix(TPlayEntry* play) {
    if (Remix == TRemixStrategy::A) {
        RemixFrom(DevicePosition());
        return;
    }
    if (play != nullptr && play->Start < MixPosition) {
        const std::int64_t shift = MixPosition - play->Start;
        play->Start = MixPosition;
        if (play->End != kNever)
            play->End = play->End > kNever - shift ? kNever : play->End + shift;
    }
    ServiceOutput();
}

// Throws away the blocks already written, mixes them again from `from` (the playing position)
// and hands them to a freshly reset device, so a change to the queues is heard now rather
// than after the old output. Starting at the playing position rather than at the new play's
// start keeps what is already sounding seamless: nothing is cut short or heard twice.
void TMixSession::RemixFrom(std::int64_t from) {
    MixPosition = from;
    for (TOutputBlock* block : Playing)
        block->InUse = false;
    Playing.clear();
    while (TOutputBlock* block = AvailableBlock()) {
        if (!MixBlock(block, false)) {
            block->InUse = false;
            break;
        }
        Playing.push_back(block);
    }
    const std::int64_t kept = MixPosition;
    ResetDevice();
    MixPosition = kept;

    Device->Pause();
    for (std::size_t i = 0; i < Playing.size(); ++i) {
        if (Device->Write(Playing[i]->Header) != 0) {
            // What could not be written never reaches the device; let the rest play.
            for (std::size_t j = i; j < Playing.size(); ++j)
                Playing[j]->InUse = false;
            Playing.resize(i);
            Device->Restart();
            throw EMixerError("Failed to write block to device");
        }
    }
    Device->Restart();
}

bool TMixSession::DropPlays(int channel) {
    TPlayEntry* e = Queue[channel];
    Queue[channel] = nullptr;
    const bool dropped = e != nullptr;
    while (e != nullptr) {
        TPlayEntry* next = e->Next;
        ReturnPlayEntry(e);
        e = next;
    }
    return dropped;
}

void TMixSession::DropPlaysOf(const TWaveData* wave) {
    for (int c = 0; c < kMixerChannels; ++c) {
        TPlayEntry** link = &Queue[c];
        while (*link != nullptr) {
            TPlayEntry* e = *link;
            if (e->Wave == wave) {
                *link = e->Next;
                ReturnPlayEntry(e);
            } else {
                link = &e->Next;
            }
        }
    }
    std::erase_if(Pending, [wave](TPlayEntry* e) {
        if (e->Wave != wave)
            return false;
        ReturnPlayEntry(e);
        return true;
    });
}

} // namespace ml
