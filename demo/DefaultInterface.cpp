#include "demo/DefaultInterface.h"

#include "configui/ActionNumbers.h"

#include "demo/InterfaceArt.h"

#include <cstdio>
#include <vector>

namespace ml {

namespace {

using namespace demoui;

constexpr const char* kCrLf = "\r\n";

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

// Colours are written blue-green-red, as the notation stores them.
std::string ColorValue(QRgb rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "$00%02X%02X%02X", qBlue(rgb), qGreen(rgb), qRed(rgb));
    return text;
}

void AppendLittleEndian32(std::string& out, std::size_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Name.Data of a picture: the graphic class as a length-prefixed string, then the stream
// (its byte count and the BMP file).
std::string PictureData(const QImage& image) {
    const std::string bmp = BitmapFileBytes(image);
    std::string data = "\x07TBitmap";
    AppendLittleEndian32(data, bmp.size());
    return data + bmp;
}

// Writes one window description: nested object blocks with their property lines.
class TDescription {
public:
    TDescription(const std::string& name, const std::string& className) { Open(name, className); }

    void Open(const std::string& name, const std::string& className) {
        Line("object " + name + ": " + className);
        ++Depth;
    }
    void Close() {
        --Depth;
        Line("end");
    }
    void Set(const std::string& property, const std::string& value) {
        Line(property + " = " + value);
    }
    void Set(const std::string& property, int value) { Set(property, std::to_string(value)); }
    void Text(const std::string& property, const std::string& text) { Set(property, Quoted(text)); }
    void Color(const std::string& property, QRgb rgb) { Set(property, ColorValue(rgb)); }
    void Bounds(int left, int top, int width, int height) {
        Set("Left", left);
        Set("Top", top);
        Set("Width", width);
        Set("Height", height);
    }
    // Binary data in braces, 32 bytes to a line as designers write it.
    void Picture(const std::string& property, const QImage& image) {
        static const char digits[] = "0123456789ABCDEF";
        const std::string data = PictureData(image);
        Line(property + ".Data = {");
        for (std::size_t at = 0; at < data.size(); at += 32) {
            std::string hex;
            for (std::size_t i = at; i < std::min(data.size(), at + 32); ++i) {
                const auto byte = static_cast<unsigned char>(data[i]);
                hex += digits[byte >> 4];
                hex += digits[byte & 15];
            }
            Lines.push_back(std::string(2 * (Depth + 1), ' ') + hex);
        }
        Lines.back() += "}";
    }
    void Font(int pixelHeight, QRgb color, bool bold = false) {
        Set("Font.Height", -pixelHeight);
        Color("Font.Color", color);
        Set("Font.Style", bold ? "[fsBold]" : "[]");
    }

    std::vector<std::string> Lines;

private:
    void Line(const std::string& text) { Lines.push_back(std::string(2 * Depth, ' ') + text); }
    int Depth = 0;
};

struct TBinding {
    std::string Control;
    int Action;
    std::string Param = " ";
};

struct TWindow {
    TDescription Description;
    std::vector<TBinding> Bindings;
};

void AddLabel(TDescription& d, const std::string& name, int left, int top,
              const std::string& caption, int pixelHeight, QRgb color, bool bold = false) {
    d.Open(name, "TLabel");
    d.Set("Left", left);
    d.Set("Top", top);
    d.Text("Caption", caption);
    d.Set("Transparent", "True");
    d.Font(pixelHeight, color, bold);
    d.Set("Tag", 1);
    d.Close();
}

// A label that wraps its text inside a fixed width.
void AddParagraph(TDescription& d, const std::string& name, int left, int top, int width,
                  int height, const std::string& text, QRgb color) {
    d.Open(name, "TLabel");
    d.Bounds(left, top, width, height);
    d.Set("AutoSize", "False");
    d.Set("WordWrap", "True");
    d.Text("Caption", text);
    d.Set("Transparent", "True");
    d.Font(13, color);
    d.Set("Tag", 1);
    d.Close();
}

void AddLink(TWindow& w, const std::string& name, int left, int top) {
    TDescription& d = w.Description;
    d.Open(name, "TLabel");
    d.Set("Left", left);
    d.Set("Top", top);
    d.Set("Cursor", "crHandPoint");
    d.Text("Caption", "<Website>");
    d.Text("Hint", "Visit the web site");
    d.Set("ShowHint", "True");
    d.Set("Transparent", "True");
    d.Set("Font.Height", -13);
    d.Color("Font.Color", kAccent);
    d.Set("Font.Style", "[fsUnderline]");
    d.Set("Tag", 1);
    d.Close();
    w.Bindings.push_back({name, OpenUrl, "<Website>"});
}

// Writes the four looks of a picture button.
template <class Paint> void AddLooks(TDescription& d, Paint paint) {
    d.Picture("ButtonUp", paint(TButtonLook::Up));
    d.Picture("ButtonOver", paint(TButtonLook::Over));
    d.Picture("ButtonDown", paint(TButtonLook::Down));
    d.Picture("ButtonDisable", paint(TButtonLook::Disabled));
}

void AddRoundButton(TWindow& w, const std::string& name, int left, int top, int size, TGlyph glyph,
                    TButtonStyle style, const std::string& hint, int action) {
    TDescription& d = w.Description;
    d.Open(name, "TMyButton");
    d.Bounds(left, top, size, size);
    d.Set("Cursor", "crHandPoint");
    d.Text("Hint", hint);
    d.Set("ShowHint", "True");
    d.Set("Transparent", "False");
    AddLooks(d,
             [&](TButtonLook look) { return RoundButton(glyph, style, look, size, kBackground); });
    d.Set("Tag", 1);
    d.Close();
    w.Bindings.push_back({name, action});
}

struct TPill {
    std::string Name;
    std::string Caption;
    std::string Hint;
    TGlyph Glyph;
    TButtonStyle Style;
    int Width;
};

void AddPillButton(TWindow& w, const TPill& pill, int left, int top, QRgb background, int action,
                   const std::string& param = " ") {
    constexpr int kHeight = 36;
    TDescription& d = w.Description;
    d.Open(pill.Name, "TMyButton");
    d.Bounds(left, top, pill.Width, kHeight);
    d.Set("Cursor", "crHandPoint");
    d.Text("Caption", pill.Caption);
    d.Set("ShowCaption", "True");
    d.Text("Hint", pill.Hint);
    d.Set("ShowHint", "True");
    d.Set("Transparent", "False");
    const bool light = pill.Style == TButtonStyle::Secondary;
    d.Font(13, light ? kText : 0xFFFFFFFF, true);
    AddLooks(d, [&](TButtonLook look) {
        return PillButton(pill.Glyph, pill.Style, look, QSize(pill.Width, kHeight), background);
    });
    d.Set("Tag", 1);
    d.Close();
    w.Bindings.push_back({pill.Name, action, param});
}

// The dark band across the top of a window: the wash, the logo and the product's name.
void OpenHeader(TDescription& d, int height, int logoTop, const std::string& subtitle) {
    d.Open("Header", "TPanel");
    d.Set("Align", "alTop");
    d.Set("Height", height);
    d.Set("BevelOuter", "bvNone");
    d.Color("Color", kHeaderLeft);
    d.Set("Tag", 1);

    d.Open("HeaderWash", "TImage");
    d.Set("Align", "alClient");
    d.Set("Stretch", "True");
    d.Picture("Picture", HeaderWash());
    d.Set("Tag", 1);
    d.Close();

    constexpr int kLogoSize = 44;
    d.Open("Logo", "TImage");
    d.Bounds(24, logoTop, kLogoSize, kLogoSize);
    d.Picture("Picture", Logo(kLogoSize, kHeaderLeft));
    d.Set("Tag", 1);
    d.Close();

    AddLabel(d, "ProductName", 82, logoTop - 2, "<ScreensaverName>", 21, 0xFFFFFFFF, true);
    AddLabel(d, "Subtitle", 83, logoTop + 27, subtitle, 13, kHeaderSubtitle);
}

// A white band along the bottom, parted from the body by a hairline.
void OpenFooter(TDescription& d, int height) {
    d.Open("Footer", "TPanel");
    d.Set("Align", "alBottom");
    d.Set("Height", height);
    d.Set("BevelOuter", "bvNone");
    d.Color("Color", kSurface);
    d.Set("Tag", 1);
    d.Open("FooterLine", "TShape");
    d.Set("Align", "alTop");
    d.Set("Height", 1);
    d.Color("Brush.Color", kBorder);
    d.Set("Pen.Style", "psClear");
    d.Set("Tag", 1);
    d.Close();
}

// A white card with a hairline edge, laid under a control.
void AddCard(TDescription& d, const std::string& name, int left, int top, int width, int height) {
    d.Open(name, "TShape");
    d.Bounds(left, top, width, height);
    d.Color("Brush.Color", kSurface);
    d.Color("Pen.Color", kBorder);
    d.Set("Tag", 1);
    d.Close();
}

void OpenWindow(TDescription& d, const std::string& caption, int width, int height) {
    d.Text("Caption", caption);
    d.Set("ClientWidth", width);
    d.Set("ClientHeight", height);
    d.Color("Color", kBackground);
    d.Set("Font.Height", -13);
    d.Color("Font.Color", kText);
    d.Set("ShowButtons", "True");
    d.Set("MinimizeButton", "True");
    d.Set("Tag", 1);
}

TWindow MainWindow() {
    constexpr int kWidth = 760, kHeight = 520;
    TWindow w{TDescription("MainWindow", "TfmMain"), {}};
    TDescription& d = w.Description;
    OpenWindow(d, "<ScreensaverName>", kWidth, kHeight);

    OpenHeader(d, 72, 14, "Living water over your favourite pictures");
    AddPillButton(
        w,
        {"AboutButton", "About", "About <ScreensaverName>", TGlyph::None, TButtonStyle::Ghost, 84},
        kWidth - 24 - 84, 18, kHeaderRight, ShowWindow, "AboutWindow");
    d.Close();

    // The pictures on the left, three rows of two 16:9 thumbnails without scrolling; the
    // preview on the right, on a card of the same white, with the browsing buttons centred
    // under it. The grid keeps its own single frame: descriptions lose their BorderStyle
    // lines before building.
    constexpr int kTitleTop = 86, kCardTop = 130;
    constexpr int kGridWidth = 258, kGridHeight = 320;
    AddLabel(d, "PicturesTitle", 24, kTitleTop, "Pictures", 15, kText, true);
    AddLabel(d, "PicturesHint", 24, kTitleTop + 20, "Untick a picture to leave it out", 12,
             kMutedText);
    d.Open("Thumbnails", "TQMThumbnail2");
    d.Bounds(24, kCardTop, kGridWidth, kGridHeight);
    d.Color("Color", kSurface);
    d.Set("Font.Height", -11);
    d.Color("Font.Color", kText);
    d.Set("PictureWidth", 96);
    d.Set("PictureHeight", 54);
    d.Set("ShowCheckBox", "True");
    d.Set("ShowTitle", "True");
    d.Set("MultiRows", "True");
    d.Set("Tag", 1);
    d.Close();

    constexpr int kRight = 24 + kGridWidth + 24, kPad = 6;
    constexpr int kPaneWidth = kWidth - 24 - kRight - 2 * kPad;
    constexpr int kPaneHeight = kPaneWidth * 9 / 16;
    AddLabel(d, "PreviewTitle", kRight, kTitleTop, "Preview", 15, kText, true);
    AddLabel(d, "PreviewHint", kRight, kTitleTop + 20,
             "Click the picture to see it full screen with its water", 12, kMutedText);
    AddCard(d, "PreviewCard", kRight, kCardTop, kPaneWidth + 2 * kPad, kPaneHeight + 2 * kPad);
    d.Open("PreviewPane", "TQMPreview");
    d.Bounds(kRight + kPad, kCardTop + kPad, kPaneWidth, kPaneHeight);
    d.Set("Cursor", "crHandPoint");
    d.Text("Hint", "Show this picture full screen");
    d.Set("ShowHint", "True");
    d.Text("UnavailableMsg", "This picture cannot be previewed");
    d.Set("Tag", 1);
    d.Close();
    w.Bindings.push_back({"PreviewPane", PreviewSelectedFile});

    const int centre = kRight + kPad + kPaneWidth / 2;
    const int buttonsTop = kCardTop + kPaneHeight + 2 * kPad + 16;
    AddRoundButton(w, "PreviousButton", centre - 26 - 22 - 40, buttonsTop + 6, 40, TGlyph::Previous,
                   TButtonStyle::Secondary, "Previous picture", PreviousPicture);
    AddRoundButton(w, "PreviewButton", centre - 26, buttonsTop, 52, TGlyph::FullScreen,
                   TButtonStyle::Primary, "Full-screen preview", PreviewSelectedFile);
    AddRoundButton(w, "NextButton", centre + 26 + 22, buttonsTop + 6, 40, TGlyph::Next,
                   TButtonStyle::Secondary, "Next picture", NextPicture);

    // The footer: the web site on the left, the window's commands on the right.
    constexpr int kFooterHeight = 60;
    OpenFooter(d, kFooterHeight);
    AddLink(w, "WebsiteLink", 24, 22);
    const TPill pills[] = {
        {"SettingsButton", "Settings", "Speed, music, sound and timing of the show",
         TGlyph::Settings, TButtonStyle::Secondary, 136},
        {"WallpaperButton", "Wallpaper", "Set the selected picture as the desktop wallpaper",
         TGlyph::Wallpaper, TButtonStyle::Secondary, 150},
        {"CloseButton", "Close", "Close this window", TGlyph::Close, TButtonStyle::Primary, 112},
    };
    const int actions[] = {OpenSetting, SetAsWallpaper, CloseWindow};
    int left = kWidth - 24;
    for (const auto& pill : pills)
        left -= pill.Width + 10;
    left += 10;
    for (std::size_t i = 0; i < std::size(pills); ++i) {
        AddPillButton(w, pills[i], left, 12, kSurface, actions[i]);
        left += pills[i].Width + 10;
    }
    d.Close();
    d.Close();
    return w;
}

TWindow AboutWindow() {
    constexpr int kWidth = 460, kHeight = 330;
    TWindow w{TDescription("AboutWindow", "TfmAbout"), {}};
    TDescription& d = w.Description;
    OpenWindow(d, "About <ScreensaverName>", kWidth, kHeight);

    OpenHeader(d, 92, 24, "by <CompanyName>");
    d.Close();

    AddParagraph(d, "AboutText", 24, 112, kWidth - 48, 58,
                 "<ScreensaverName> brings your pictures to life: ripples spread across the "
                 "water, reflections sway, and rain or snow drifts past while the show plays.",
                 kText);
    AddParagraph(d, "AboutChoices", 24, 176, kWidth - 48, 40,
                 "Choose the pictures, the music and the pace in the configuration window; "
                 "your choices are kept for the next show.",
                 kMutedText);
    AddLabel(d, "AboutEnding", 24, 226, "Any key, click or mouse move ends the show.", 12,
             kMutedText);

    OpenFooter(d, 60);
    AddLink(w, "AboutWebsite", 24, 22);
    AddPillButton(w,
                  {"AboutClose", "Close", "Back to the configuration window", TGlyph::Close,
                   TButtonStyle::Primary, 108},
                  kWidth - 24 - 108, 12, kSurface, CloseWindow);
    d.Close();
    d.Close();
    return w;
}

// One record of the collection: the description, the bindings (a count, then control,
// action and three parameters each) and the designer's trailing line.
void AppendRecord(std::vector<std::string>& out, const TWindow& window) {
    const auto& lines = window.Description.Lines;
    out.push_back(std::to_string(lines.size()));
    out.insert(out.end(), lines.begin(), lines.end());
    const auto& bindings = window.Bindings;
    out.push_back(std::to_string(1 + 5 * bindings.size()));
    out.push_back(std::to_string(bindings.size()));
    for (const auto& b : bindings) {
        out.push_back(b.Control);
        out.push_back(std::to_string(b.Action));
        out.push_back(b.Param);
        out.push_back(" ");
        out.push_back(" ");
    }
    out.push_back("1");
    out.push_back("Dummy");
}

} // namespace

std::string DefaultInterfaceDescription() {
    const TWindow windows[] = {MainWindow(), AboutWindow()};
    std::vector<std::string> lines{std::to_string(std::size(windows))};
    for (const auto& window : windows)
        AppendRecord(lines, window);
    std::string text;
    for (const auto& line : lines)
        text += line + kCrLf;
    return text;
}

} // namespace ml
