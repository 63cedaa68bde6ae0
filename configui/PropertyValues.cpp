#include "configui/PropertyValues.h"

#include "platform/Strings.h"

#include <algorithm>
#include <limits>

namespace ml {

namespace {

using TKind = TPropertyValue::TKind;

struct TNamedColor {
    const char* Name;
    QRgb Rgb;
    int SystemIndex; // -1 for fixed colours
};

// Fixed colours and the system colours with their index in the 0x800000nn numbering.
constexpr TNamedColor kColors[] = {
    {"clBlack", 0x000000, -1},
    {"clMaroon", 0x800000, -1},
    {"clGreen", 0x008000, -1},
    {"clOlive", 0x808000, -1},
    {"clNavy", 0x000080, -1},
    {"clPurple", 0x800080, -1},
    {"clTeal", 0x008080, -1},
    {"clGray", 0x808080, -1},
    {"clSilver", 0xC0C0C0, -1},
    {"clRed", 0xFF0000, -1},
    {"clLime", 0x00FF00, -1},
    {"clYellow", 0xFFFF00, -1},
    {"clBlue", 0x0000FF, -1},
    {"clFuchsia", 0xFF00FF, -1},
    {"clAqua", 0x00FFFF, -1},
    {"clWhite", 0xFFFFFF, -1},
    {"clLtGray", 0xC0C0C0, -1},
    {"clDkGray", 0x808080, -1},
    {"clMoneyGreen", 0xC0DCC0, -1},
    {"clSkyBlue", 0xA6CAF0, -1},
    {"clCream", 0xFFFBF0, -1},
    {"clMedGray", 0xA0A0A4, -1},
    {"clNone", 0xFFFFFF, -1},
    {"clDefault", 0xF0F0F0, -1},
    {"clScrollBar", 0xC8C8C8, 0},
    {"clBackground", 0x000000, 1},
    {"clActiveCaption", 0x99B4D1, 2},
    {"clInactiveCaption", 0xBFCDDB, 3},
    {"clMenu", 0xF0F0F0, 4},
    {"clWindow", 0xFFFFFF, 5},
    {"clWindowFrame", 0x646464, 6},
    {"clMenuText", 0x000000, 7},
    {"clWindowText", 0x000000, 8},
    {"clCaptionText", 0x000000, 9},
    {"clActiveBorder", 0xB4B4B4, 10},
    {"clInactiveBorder", 0xF4F7FC, 11},
    {"clAppWorkSpace", 0xABABAB, 12},
    {"clHighlight", 0x0078D7, 13},
    {"clHighlightText", 0xFFFFFF, 14},
    {"clBtnFace", 0xF0F0F0, 15},
    {"clBtnShadow", 0xA0A0A0, 16},
    {"clGrayText", 0x6D6D6D, 17},
    {"clBtnText", 0x000000, 18},
    {"clInactiveCaptionText", 0x000000, 19},
    {"clBtnHighlight", 0xFFFFFF, 20},
    {"cl3DDkShadow", 0x696969, 21},
    {"cl3DLight", 0xE3E3E3, 22},
    {"clInfoText", 0x000000, 23},
    {"clInfoBk", 0xFFFFE1, 24},
    {"clHotLight", 0x0066CC, 26},
    {"clGradientActiveCaption", 0xB9D1EA, 27},
    {"clGradientInactiveCaption", 0xD7E4F2, 28},
    {"clMenuHighlight", 0x3399FF, 29},
    {"clMenuBar", 0xF0F0F0, 30},
};

struct TNamedCursor {
    const char* Name;
    int Number;
    Qt::CursorShape Shape;
};

constexpr TNamedCursor kCursors[] = {
    {"crDefault", 0, Qt::ArrowCursor},        {"crNone", -1, Qt::BlankCursor},
    {"crArrow", -2, Qt::ArrowCursor},         {"crCross", -3, Qt::CrossCursor},
    {"crIBeam", -4, Qt::IBeamCursor},         {"crSize", -22, Qt::SizeAllCursor},
    {"crSizeNESW", -6, Qt::SizeBDiagCursor},  {"crSizeNS", -7, Qt::SizeVerCursor},
    {"crSizeNWSE", -8, Qt::SizeFDiagCursor},  {"crSizeWE", -9, Qt::SizeHorCursor},
    {"crUpArrow", -10, Qt::UpArrowCursor},    {"crHourGlass", -11, Qt::WaitCursor},
    {"crDrag", -12, Qt::DragMoveCursor},      {"crNoDrop", -13, Qt::ForbiddenCursor},
    {"crHSplit", -14, Qt::SplitHCursor},      {"crVSplit", -15, Qt::SplitVCursor},
    {"crMultiDrag", -16, Qt::DragCopyCursor}, {"crSQLWait", -17, Qt::WaitCursor},
    {"crNo", -18, Qt::ForbiddenCursor},       {"crAppStart", -19, Qt::BusyCursor},
    {"crHelp", -20, Qt::WhatsThisCursor},     {"crHandPoint", -21, Qt::PointingHandCursor},
    {"crSizeAll", -22, Qt::SizeAllCursor},
};

} // namespace

void InvalidPropertyValue() {
    throw EPropertyError("Invalid property value");
}

int AsInteger(const TPropertyValue& value) {
    if (value.Kind != TKind::Integer || value.Int < std::numeric_limits<std::int32_t>::min() ||
        value.Int > std::numeric_limits<std::uint32_t>::max())
        InvalidPropertyValue();
    // Numbers up to 32 bits unsigned are bit patterns, as the designer writes colours.
    return static_cast<int>(static_cast<std::uint32_t>(value.Int));
}

int AsExtent(const TPropertyValue& value) {
    return std::clamp(AsInteger(value), -32768, 32767);
}

bool AsBoolean(const TPropertyValue& value) {
    return AsEnum(value, {"False", "True"}) == 1;
}

std::string AsString(const TPropertyValue& value) {
    if (value.Kind != TKind::String)
        InvalidPropertyValue();
    return value.Text;
}

std::string AsIdentifier(const TPropertyValue& value) {
    if (value.Kind != TKind::Identifier)
        InvalidPropertyValue();
    return value.Text;
}

const std::string& AsBinary(const TPropertyValue& value) {
    if (value.Kind != TKind::Binary)
        InvalidPropertyValue();
    return value.Text;
}

std::vector<std::string> AsStrings(const TPropertyValue& value) {
    if (value.Kind != TKind::List)
        InvalidPropertyValue();
    std::vector<std::string> lines;
    for (const auto& item : value.Items)
        lines.push_back(AsString(item));
    return lines;
}

int AsEnum(const TPropertyValue& value, std::initializer_list<const char*> names) {
    const std::string& name = AsIdentifier(value);
    int index = 0;
    for (const char* candidate : names) {
        if (SameText(name, candidate))
            return index;
        ++index;
    }
    InvalidPropertyValue();
}

unsigned AsSet(const TPropertyValue& value, std::initializer_list<const char*> names) {
    if (value.Kind != TKind::Set)
        InvalidPropertyValue();
    unsigned bits = 0;
    for (const auto& member : value.Names) {
        TPropertyValue item;
        item.Kind = TKind::Identifier;
        item.Text = member;
        bits |= 1u << AsEnum(item, names);
    }
    return bits;
}

QColor SystemColor(const char* name) {
    for (const auto& c : kColors)
        if (SameText(c.Name, name))
            return QColor::fromRgb(c.Rgb);
    return QColor(Qt::black);
}

QColor AsColor(const TPropertyValue& value) {
    if (value.Kind == TKind::Identifier) {
        for (const auto& c : kColors)
            if (SameText(c.Name, value.Text))
                return QColor::fromRgb(c.Rgb);
        InvalidPropertyValue();
    }
    const auto bits = static_cast<std::uint32_t>(AsInteger(value));
    if ((bits & 0xFF000000u) == 0x80000000u) {
        for (const auto& c : kColors)
            if (c.SystemIndex == static_cast<int>(bits & 0xFFu))
                return QColor::fromRgb(c.Rgb);
        InvalidPropertyValue();
    }
    // Stored as blue, green, red from the high byte down.
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

Qt::CursorShape AsCursor(const TPropertyValue& value) {
    for (const auto& c : kCursors)
        if ((value.Kind == TKind::Identifier && SameText(c.Name, value.Text)) ||
            (value.Kind == TKind::Integer && value.Int == c.Number))
            return c.Shape;
    InvalidPropertyValue();
}

QString StripAccelerator(const std::string& caption) {
    const QString text = QString::fromStdString(caption);
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

} // namespace ml
