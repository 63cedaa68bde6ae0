#pragma once
// Colour strength of a pixel buffer, done with two lookup tables so that a full-screen
// picture costs one table read and three adds per pixel.

namespace ml {

class TFastRGB;

// 0 for v < 0, 255 for v > 255, else v.
int ClampToByte(int v);

// Moves every pixel towards or away from its grey level (the channel sum div 3): 256 leaves
// the picture as it is, 0 or 1 makes it grey, more than 256 strengthens the colours.
// Amounts below 0 count as 0 and above 65536 as 65536; beyond those the tables would not
// hold the scaled values.
void AdjustSaturation(TFastRGB& buffer, int amount);

} // namespace ml
