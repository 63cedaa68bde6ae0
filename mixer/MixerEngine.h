#pragma once
// The mixer engine: plain calls on a mixer handle. One mixer may exist per process; all calls
// and the device's done messages run on the thread that created it (the UI thread), so there
// are no locks. Every failure raises EMixerError with a fixed text.

#include "mixer/MixSession.h"
#include "mixer/WaveLoader.h"

#include <string>

namespace ml {

// Creates the process's mixer, inactive with all channels closed. Settings come from
// "MIXER.INI" (see MixerIniFileName) and from config when its Size is 10.
TMixSession* MixerConfigureInit(const TMixConfig* config);
TMixSession* MixerInit();

// Takes (true) or releases (false) the wave output device.
void MixerActivate(TMixSession* mixer, bool take);

// Mode 0 opens `channel` (0..7); mode 1 opens all eight; mode 2 opens channels 0 .. n-1 for
// n = `channel` (1..8). Modes 1 and 2 skip channels already open.
void MixerAddChannel(TMixSession* mixer, int channel, int mode);
// Bit 0 of mode: all open channels, else the one. Drops their plays without re-mixing.
void MixerRemoveChannel(TMixSession* mixer, int channel, int mode);
// Drops the queued plays of one channel (or, with bit 0 of mode, of all open ones). With
// remix, a mixer that is playing re-mixes from the playing position so they fall silent now.
void MixerDropQueue(TMixSession* mixer, int channel, int mode, bool remix);

// Loads a sound converted to the mixer's output format, refusing one that would take more than
// maxBytes. The mixer owns it until MixerReleaseWave or the end of the session.
TWaveData* MixerLoadWave(TMixSession* mixer, const TWaveSource& source,
                         std::size_t maxBytes = kMaxWaveBytes);
// Drops every play of the wave (already mixed output still plays) and frees it.
void MixerReleaseWave(TMixSession* mixer, TWaveData* wave);

void MixerPlay(TPlayRequest* request);

// Releases the device, closes all channels and frees the mixer and its waves.
void MixerEndSession(TMixSession* mixer);

// Where "MIXER.INI" is read from: the user's configuration folder ($XDG_CONFIG_HOME or
// ~/.config) unless another file was set. The file is optional.
std::string MixerIniFileName();
// "" restores the default location.
void SetMixerIniFileName(const std::string& fileName);

} // namespace ml
