#include "configui/StandardClasses.h"

#include "configui/ComponentBuilder.h"
#include "configui/ExtControls.h"
#include "configui/StdControls.h"

#include <QAbstractScrollArea>

namespace ml {

namespace {

// A window's outer size includes its frame and title bar, which Qt keeps apart from the
// widget; these are the classic frame's sizes.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;

using V = const TPropertyValue&;

bool IsTextBox(QWidget& w) {
    return dynamic_cast<QLineEdit*>(&w) || dynamic_cast<QAbstractScrollArea*>(&w);
}

void SetPaletteColor(QWidget& w, std::initializer_list<QPalette::ColorRole> roles, QColor c) {
    QPalette palette = w.palette();
    for (auto role : roles)
        palette.setColor(role, c);
    w.setPalette(palette);
}

template <class F> void ChangeFont(QWidget& w, F change) {
    QFont font = w.font();
    change(font);
    w.setFont(font);
}

TControl& Ctl(QWidget& w) {
    return *AsControl(&w);
}

} // namespace

TPicture ReadPicture(const TPropertyValue& value) {
    TPicture picture;
    picture.LoadFromPictureData(AsBinary(value));
    return picture;
}

const TPropertyTable& ControlProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t;
        auto outer = [](QWidget& w) {
            return w.isWindow() ? QSize(kFrameWidth, kFrameHeight) : QSize(0, 0);
        };
        t.Set<QWidget>("Left", [](QWidget& w, V v) { w.move(AsExtent(v), w.y()); });
        t.Set<QWidget>("Top", [](QWidget& w, V v) { w.move(w.x(), AsExtent(v)); });
        t.Set<QWidget>("Width", [outer](QWidget& w, V v) {
            w.resize(std::max(0, AsExtent(v) - outer(w).width()), w.height());
        });
        t.Set<QWidget>("Height", [outer](QWidget& w, V v) {
            w.resize(w.width(), std::max(0, AsExtent(v) - outer(w).height()));
        });
        t.Set<QWidget>("ClientWidth",
                       [](QWidget& w, V v) { w.resize(std::max(0, AsExtent(v)), w.height()); });
        t.Set<QWidget>("ClientHeight",
                       [](QWidget& w, V v) { w.resize(w.width(), std::max(0, AsExtent(v))); });
        t.Set<QWidget>("Tag", [](QWidget& w, V v) { Ctl(w).Tag = AsInteger(v); });
        t.Set<QWidget>("Align", [](QWidget& w, V v) {
            Ctl(w).Align = static_cast<TAlign>(AsEnum(
                v, {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}));
        });
        t.Set<QWidget>("Hint", [](QWidget& w, V v) { Ctl(w).Hint = AsString(v); });
        t.Set<QWidget>("ShowHint", [](QWidget& w, V v) { Ctl(w).ShowHint = AsBoolean(v); });
        t.Set<QWidget>("Cursor", [](QWidget& w, V v) { w.setCursor(AsCursor(v)); });
        t.Set<QWidget>("Visible", [](QWidget& w, V v) {
            // A window is shown by whoever built it, never by its description.
            if (!w.isWindow())
                w.setVisible(AsBoolean(v));
        });
        t.Set<QWidget>("Enabled", [](QWidget& w, V v) { w.setEnabled(AsBoolean(v)); });
        t.Set<QWidget>("Constraints.MinWidth",
                       [](QWidget& w, V v) { w.setMinimumWidth(std::max(0, AsExtent(v))); });
        t.Set<QWidget>("Constraints.MinHeight",
                       [](QWidget& w, V v) { w.setMinimumHeight(std::max(0, AsExtent(v))); });
        t.Set<QWidget>("Constraints.MaxWidth", [](QWidget& w, V v) {
            if (AsExtent(v) > 0)
                w.setMaximumWidth(AsExtent(v));
        });
        t.Set<QWidget>("Constraints.MaxHeight", [](QWidget& w, V v) {
            if (AsExtent(v) > 0)
                w.setMaximumHeight(AsExtent(v));
        });
        t.Ignore({"ParentShowHint", "Anchors", "DragCursor", "DragKind", "DragMode", "HelpContext",
                  "HelpType", "HelpKeyword", "PopupMenu", "BiDiMode", "ParentBiDiMode"});
        return t;
    }();
    return table;
}

void AddCaption(TPropertyTable& t) {
    t.Set<QWidget>("Caption", [](QWidget& w, V v) { Ctl(w).SetCaption(AsString(v)); });
}

void AddColor(TPropertyTable& t) {
    t.Set<QWidget>("Color", [](QWidget& w, V v) {
        const QColor c = AsColor(v);
        if (IsTextBox(w)) {
            SetPaletteColor(w, {QPalette::Base}, c);
            return;
        }
        SetPaletteColor(w, {QPalette::Window, QPalette::Button}, c);
        if (auto* label = dynamic_cast<TLabel*>(&w))
            label->SetOwnColor();
        else
            w.setAutoFillBackground(true);
    });
    t.Ignore({"ParentColor", "ParentBackground"});
}

void AddFont(TPropertyTable& t) {
    t.Set<QWidget>("Font.Color", [](QWidget& w, V v) {
        SetPaletteColor(w, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText},
                        AsColor(v));
    });
    t.Set<QWidget>("Font.Height", [](QWidget& w, V v) {
        // Negative heights are the character height in pixels; positive ones include the
        // line's internal leading, about a fifth of it. Read as an extent, so that even the
        // lowest integer can be negated.
        const int h = AsExtent(v);
        const int pixels = h < 0 ? -h : h - h / 5;
        if (h != 0)
            ChangeFont(w, [&](QFont& f) { f.setPixelSize(std::clamp(pixels, 1, 1000)); });
    });
    t.Set<QWidget>("Font.Size", [](QWidget& w, V v) {
        const int points = std::abs(AsExtent(v));
        if (points != 0)
            ChangeFont(w, [&](QFont& f) { f.setPointSize(std::clamp(points, 1, 1000)); });
    });
    t.Set<QWidget>("Font.Name", [](QWidget& w, V v) {
        ChangeFont(w, [&](QFont& f) { f.setFamilies({QString::fromStdString(AsString(v))}); });
    });
    t.Set<QWidget>("Font.Style", [](QWidget& w, V v) {
        const unsigned s = AsSet(v, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
        ChangeFont(w, [&](QFont& f) {
            f.setBold(s & 1);
            f.setItalic(s & 2);
            f.setUnderline(s & 4);
            f.setStrikeOut(s & 8);
        });
    });
    // The character set and pitch choose among Windows font files; Qt picks by family.
    t.Add("Font.Charset", [](QWidget&, V v, TBuildContext&) {
        if (v.Kind != TPropertyValue::TKind::Identifier)
            AsInteger(v);
    });
    t.Set<QWidget>("Font.Pitch", [](QWidget&, V v) {
        AsEnum(v, {"fpDefault", "fpVariable", "fpFixed"});
    });
    t.Ignore({"ParentFont"});
}

void AddWinControl(TPropertyTable& t) {
    t.Set<QWidget>("TabOrder", [](QWidget& w, V v) { Ctl(w).TabOrder = AsInteger(v); });
    t.Set<QWidget>("TabStop", [](QWidget& w, V v) {
        if (!AsBoolean(v))
            w.setFocusPolicy(Qt::ClickFocus);
    });
    t.Set<QWidget>("Ctl3D", [](QWidget&, V v) { AsBoolean(v); });
    t.Ignore({"ParentCtl3D", "ImeMode", "ImeName", "DockSite", "UseDockManager"});
}

const TPropertyTable& FormProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddCaption(t);
        AddColor(t);
        AddFont(t);
        t.Add("ActiveControl", [](QWidget& w, V v, TBuildContext& context) {
            const std::string name = AsIdentifier(v);
            auto* form = dynamic_cast<TForm*>(&w);
            context.AddFixup([form, name, &context] {
                if (form)
                    form->ActiveControl = context.FindComponent(name);
            });
        });
        t.Set<TForm>("KeyPreview", [](TForm& f, V v) { f.KeyPreview = AsBoolean(v); });
        t.Set<QWidget>("AutoScroll", [](QWidget&, V v) { AsBoolean(v); });
        t.Ignore({"OldCreateOrder", "PixelsPerInch", "TextHeight", "Scaled", "Position",
                  "WindowState", "BorderIcons", "BorderStyle", "FormStyle", "Icon.Data",
                  "HorzScrollBar.Range", "VertScrollBar.Range", "HorzScrollBar.Visible",
                  "VertScrollBar.Visible", "DefaultMonitor", "Menu", "TextWidth"});
        return t;
    }();
    return table;
}

const TPropertyTable& ImageProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        t.Set<TImage>("Picture.Data", [](TImage& i, V v) { i.Picture() = ReadPicture(v); });
        t.Set<TImage>("AutoSize", [](TImage& i, V v) { i.AutoSize = AsBoolean(v); });
        t.Set<TImage>("Center", [](TImage& i, V v) { i.Center = AsBoolean(v); });
        t.Set<TImage>("Stretch", [](TImage& i, V v) { i.Stretch = AsBoolean(v); });
        t.Set<TImage>("Proportional", [](TImage& i, V v) { i.Proportional = AsBoolean(v); });
        t.Set<TImage>("Transparent", [](TImage& i, V v) { i.Transparent = AsBoolean(v); });
        t.Set<TImage>("IncrementalDisplay", [](TImage&, V v) { AsBoolean(v); });
        return t;
    }();
    return table;
}

const TPropertyTable& ShapeProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        t.Set<TShape>("Shape", [](TShape& s, V v) {
            s.Shape =
                static_cast<TShapeType>(AsEnum(v, {"stRectangle", "stSquare", "stRoundRect",
                                                   "stRoundSquare", "stEllipse", "stCircle"}));
        });
        t.Set<TShape>("Brush.Color", [](TShape& s, V v) { s.Brush.setColor(AsColor(v)); });
        t.Set<TShape>("Brush.Style", [](TShape& s, V v) {
            static const Qt::BrushStyle styles[] = {
                Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
                Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
            s.Brush.setStyle(
                styles[AsEnum(v, {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                  "bsBDiagonal", "bsCross", "bsDiagCross"})]);
        });
        t.Set<TShape>("Pen.Color", [](TShape& s, V v) { s.Pen.setColor(AsColor(v)); });
        t.Set<TShape>("Pen.Width",
                      [](TShape& s, V v) { s.Pen.setWidth(std::clamp(AsInteger(v), 0, 1000)); });
        t.Set<TShape>("Pen.Style", [](TShape& s, V v) {
            static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                                  Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen,
                                                  Qt::SolidLine};
            s.Pen.setStyle(styles[AsEnum(v, {"psSolid", "psDash", "psDot", "psDashDot",
                                             "psDashDotDot", "psClear", "psInsideFrame"})]);
        });
        t.Ignore({"Pen.Mode"});
        return t;
    }();
    return table;
}

const TPropertyTable& BevelProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        t.Set<TBevel>("Shape", [](TBevel& b, V v) {
            b.Shape =
                static_cast<TBevelShape>(AsEnum(v, {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine",
                                                    "bsLeftLine", "bsRightLine", "bsSpacer"}));
        });
        t.Set<TBevel>("Style", [](TBevel& b, V v) {
            b.Style = static_cast<TBevelStyle>(AsEnum(v, {"bsLowered", "bsRaised"}));
        });
        return t;
    }();
    return table;
}

} // namespace ml
