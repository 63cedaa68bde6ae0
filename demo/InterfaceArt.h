#pragma once
// The pictures of the demo's configuration window, painted by our own code: round and pill
// picture buttons in their four looks, the logo and the header's colour wash, and the BMP
// bytes a description carries them as.
//
// Every picture is painted on the exact colour of the surface the control sits on, so the
// smoothed edges blend into it and nothing depends on a transparent colour.

#include <QColor>
#include <QImage>
#include <QSize>
#include <string>

namespace ml::demoui {

// The window's colours, shared by the pictures and the description.
inline constexpr QRgb kHeaderLeft = 0xFF112B44;
inline constexpr QRgb kHeaderRight = 0xFF17627A;
inline constexpr QRgb kAccent = 0xFF1E7DB6;
inline constexpr QRgb kBackground = 0xFFF1F4F7;
inline constexpr QRgb kSurface = 0xFFFFFFFF;
inline constexpr QRgb kBorder = 0xFFD6DEE6;
inline constexpr QRgb kText = 0xFF1B2A35;
inline constexpr QRgb kMutedText = 0xFF5F6F7C;
inline constexpr QRgb kHeaderSubtitle = 0xFFA7C6D6;

enum class TButtonLook { Up, Over, Down, Disabled };
enum class TGlyph { None, Previous, Next, FullScreen, Settings, Wallpaper, Close };
enum class TButtonStyle {
    Primary,   // filled with the accent colour, white glyph
    Secondary, // white with a thin border, dark glyph
    Ghost      // only an outline, for dark surfaces
};

// A circular button of the given diameter with its glyph in the middle.
QImage RoundButton(TGlyph glyph, TButtonStyle style, TButtonLook look, int size, QRgb background);
// A rounded button; the glyph sits at the left and the control draws its caption.
QImage PillButton(TGlyph glyph, TButtonStyle style, TButtonLook look, QSize size, QRgb background);
// The product's mark: a rounded tile with a moon over rippling water.
QImage Logo(int size, QRgb background);
// A thin horizontal colour wash, stretched by the control that shows it.
QImage HeaderWash();

// A complete BMP file of the picture, the same bytes for the same pixels: 8 bits per pixel
// when it has at most 256 colours, otherwise 24.
std::string BitmapFileBytes(const QImage& image);

} // namespace ml::demoui
