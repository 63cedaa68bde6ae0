#include "demo/InterfaceArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ml::demoui {

namespace {

struct TLookColors {
    QColor Fill;
    QColor Border; // transparent for none
    QColor Glyph;
};

QColor Mix(QColor a, QColor b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

TLookColors ColorsOf(TButtonStyle style, TButtonLook look, QRgb background) {
    const QColor accent(kAccent), white(Qt::white), ground(background);
    const QColor none(Qt::transparent);
    switch (style) {
    case TButtonStyle::Primary:
        switch (look) {
        case TButtonLook::Up:
            return {accent, none, white};
        case TButtonLook::Over:
            return {Mix(accent, white, 0.14), none, white};
        case TButtonLook::Down:
            return {Mix(accent, Qt::black, 0.22), none, white};
        case TButtonLook::Disabled:
            return {Mix(accent, ground, 0.6), none, Mix(white, ground, 0.2)};
        }
        break;
    case TButtonStyle::Secondary:
        switch (look) {
        case TButtonLook::Up:
            return {white, QColor(kBorder), QColor(kText)};
        case TButtonLook::Over:
            return {Mix(white, accent, 0.08), accent, accent};
        case TButtonLook::Down:
            return {Mix(white, accent, 0.18), Mix(accent, Qt::black, 0.2),
                    Mix(accent, Qt::black, 0.2)};
        case TButtonLook::Disabled:
            return {ground, QColor(kBorder), Mix(QColor(kText), ground, 0.7)};
        }
        break;
    case TButtonStyle::Ghost:
        switch (look) {
        case TButtonLook::Up:
            return {ground, Mix(ground, white, 0.45), white};
        case TButtonLook::Over:
            return {Mix(ground, white, 0.14), Mix(ground, white, 0.7), white};
        case TButtonLook::Down:
            return {Mix(ground, white, 0.26), white, white};
        case TButtonLook::Disabled:
            return {ground, Mix(ground, white, 0.2), Mix(ground, white, 0.35)};
        }
        break;
    }
    return {ground, none, QColor(kText)};
}

QImage Canvas(QSize size, QRgb background) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// The glyph drawn in a square of side `box` whose top-left corner is the painter's origin.
void DrawGlyph(QPainter& p, TGlyph glyph, double box, const QColor& color) {
    const double stroke = std::max(1.6, box / 9.0);
    QPen pen(color, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto at = [box](double x, double y) { return QPointF(x * box, y * box); };
    switch (glyph) {
    case TGlyph::None:
        break;
    case TGlyph::Previous: {
        const QPointF points[] = {at(0.62, 0.18), at(0.3, 0.5), at(0.62, 0.82)};
        p.drawPolyline(points, 3);
        break;
    }
    case TGlyph::Next: {
        const QPointF points[] = {at(0.38, 0.18), at(0.7, 0.5), at(0.38, 0.82)};
        p.drawPolyline(points, 3);
        break;
    }
    case TGlyph::FullScreen: {
        // Four corner brackets pointing outwards.
        const double a = 0.1, b = 0.9, l = 0.3;
        const QPointF corners[4][3] = {{at(a, a + l), at(a, a), at(a + l, a)},
                                       {at(b - l, a), at(b, a), at(b, a + l)},
                                       {at(b, b - l), at(b, b), at(b - l, b)},
                                       {at(a + l, b), at(a, b), at(a, b - l)}};
        for (const auto& corner : corners)
            p.drawPolyline(corner, 3);
        break;
    }
    case TGlyph::Settings: {
        QPainterPath gear;
        gear.addEllipse(at(0.5, 0.5), 0.34 * box, 0.34 * box);
        for (int i = 0; i < 8; ++i) {
            QPainterPath tooth;
            tooth.addRoundedRect(QRectF(-0.09 * box, -0.5 * box, 0.18 * box, 0.3 * box), 0.04 * box,
                                 0.04 * box);
            QTransform turn;
            turn.translate(0.5 * box, 0.5 * box);
            turn.rotate(i * 45.0);
            gear = gear.united(turn.map(tooth));
        }
        QPainterPath hole;
        hole.addEllipse(at(0.5, 0.5), 0.14 * box, 0.14 * box);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPath(gear.subtracted(hole));
        break;
    }
    case TGlyph::Wallpaper: {
        // A screen showing hills under a sun, on a small stand.
        const QRectF screen(at(0.04, 0.1), at(0.96, 0.74));
        p.drawRoundedRect(screen, 0.08 * box, 0.08 * box);
        p.drawLine(at(0.5, 0.74), at(0.5, 0.88));
        p.drawLine(at(0.3, 0.9), at(0.7, 0.9));
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        const QPointF hills[] = {at(0.14, 0.64), at(0.38, 0.36), at(0.54, 0.52), at(0.64, 0.44),
                                 at(0.86, 0.64)};
        p.drawPolygon(hills, 5);
        p.drawEllipse(at(0.72, 0.3), 0.07 * box, 0.07 * box);
        break;
    }
    case TGlyph::Close:
        p.drawLine(at(0.22, 0.22), at(0.78, 0.78));
        p.drawLine(at(0.78, 0.22), at(0.22, 0.78));
        break;
    }
}

void DrawFace(QPainter& p, const QRectF& face, double radius, const TLookColors& colors,
              TButtonLook look) {
    p.setRenderHint(QPainter::Antialiasing);
    // A faint drop shadow lifts the button off its surface; a pressed button sits flat.
    if (look == TButtonLook::Up || look == TButtonLook::Over) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 20, 40, 28));
        p.drawRoundedRect(face.translated(0, 1.2), radius, radius);
    }
    p.setBrush(colors.Fill);
    if (colors.Border.alpha() == 0)
        p.setPen(Qt::NoPen);
    else
        p.setPen(QPen(colors.Border, 1));
    p.drawRoundedRect(face, radius, radius);
}

} // namespace

QImage RoundButton(TGlyph glyph, TButtonStyle style, TButtonLook look, int size, QRgb background) {
    QImage image = Canvas(QSize(size, size), background);
    QPainter p(&image);
    const TLookColors colors = ColorsOf(style, look, background);
    const QRectF face(1.5, 1.5, size - 3.0, size - 3.5);
    DrawFace(p, face, face.width() / 2, colors, look);
    const double box = size * 0.4;
    const double press = look == TButtonLook::Down ? 1 : 0;
    p.translate(face.center().x() - box / 2, face.center().y() - box / 2 + press);
    DrawGlyph(p, glyph, box, colors.Glyph);
    return image;
}

QImage PillButton(TGlyph glyph, TButtonStyle style, TButtonLook look, QSize size, QRgb background) {
    QImage image = Canvas(size, background);
    QPainter p(&image);
    const TLookColors colors = ColorsOf(style, look, background);
    const QRectF face(0.5, 0.5, size.width() - 1.0, size.height() - 2.5);
    DrawFace(p, face, 7, colors, look);
    if (glyph != TGlyph::None) {
        const double box = 16;
        p.translate(14, face.center().y() - box / 2);
        DrawGlyph(p, glyph, box, colors.Glyph);
    }
    return image;
}

QImage Logo(int size, QRgb background) {
    QImage image = Canvas(QSize(size, size), background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    QLinearGradient tile(0, 0, 0, s);
    tile.setColorAt(0, QColor(0x4F, 0xB8, 0xDA));
    tile.setColorAt(1, QColor(0x1A, 0x6F, 0xA8));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.26, s * 0.26);

    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(QPointF(s * 0.66, s * 0.3), s * 0.11, s * 0.11);

    // Three ripples, each fainter than the one above: the moon's path on the water.
    for (int i = 0; i < 3; ++i) {
        QPainterPath wave;
        const double y = s * (0.56 + i * 0.13);
        const double left = s * 0.16, right = s * 0.84;
        wave.moveTo(left, y);
        for (double x = left; x <= right + 0.1; x += 1)
            wave.lineTo(x, y + std::sin((x - left) / s * 2 * M_PI * 1.5) * s * 0.035);
        p.setPen(QPen(QColor(255, 255, 255, 230 - i * 60), s * 0.06, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
    }
    return image;
}

QImage HeaderWash() {
    QImage image(160, 2, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x) {
        const QColor c = Mix(QColor(kHeaderLeft), QColor(kHeaderRight), x / 159.0);
        for (int y = 0; y < image.height(); ++y)
            image.setPixel(x, y, c.rgb());
    }
    return image;
}

std::string BitmapFileBytes(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width(), height = rgb.height();
    // A palette of the picture's own colours makes the 8-bit form exact.
    std::unordered_map<QRgb, int> index;
    std::vector<QRgb> palette;
    for (int y = 0; y < height && palette.size() <= 256; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width && palette.size() <= 256; ++x)
            if (index.emplace(row[x] & 0xFFFFFF, static_cast<int>(palette.size())).second)
                palette.push_back(row[x]);
    }
    const bool indexed = palette.size() <= 256;
    if (!indexed)
        palette.clear();
    const int bits = indexed ? 8 : 24;
    // Rows run bottom-up, each padded with zeros to a multiple of four bytes.
    const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) / 4 * 4;
    const std::size_t offset = 14 + 40 + 4 * palette.size();
    const std::size_t size = offset + stride * height;

    std::string out;
    out.reserve(size);
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    out += "BM";
    put(static_cast<std::uint32_t>(size), 4);
    put(0, 4);
    put(static_cast<std::uint32_t>(offset), 4);
    put(40, 4); // the plain Windows header
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(bits, 2);
    put(0, 4); // uncompressed
    put(static_cast<std::uint32_t>(stride * height), 4);
    put(2835, 4); // 72 dots per inch
    put(2835, 4);
    put(static_cast<std::uint32_t>(palette.size()), 4);
    put(0, 4);
    for (QRgb c : palette)
        put(c & 0xFFFFFF, 4); // blue, green, red, zero
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            if (indexed)
                put(index.at(row[x] & 0xFFFFFF), 1);
            else
                put(row[x] & 0xFFFFFF, 3);
        }
        out.append(start + stride - out.size(), '\0');
    }
    return out;
}

} // namespace ml::demoui
