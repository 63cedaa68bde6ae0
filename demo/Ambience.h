#pragma once
// The demo pictures' sound effects, synthesised: rain, wind and lapping water loop without a
// seam; the bird call is a single distant song for the show to repeat at random intervals.

#include "demo/Dsp.h"

namespace ml::demo {

TSignal RainLoop();
TSignal WindLoop();
TSignal LappingLoop();
TSignal BirdCall();

} // namespace ml::demo
