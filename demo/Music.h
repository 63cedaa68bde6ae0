#pragma once
// Two short pieces of background music for the demo, synthesised: a slow evening piece of
// soft pads under a bell arpeggio, and a lighter morning piece of plucked strings.

#include "demo/Dsp.h"

namespace ml::demo {

TSignal EveningMusic();
TSignal MorningMusic();

} // namespace ml::demo
