// The tables of the remaining standard classes and the registration of every class this
// folder provides.

#include "configui/ClassRegistry.h"
#include "configui/ComponentBuilder.h"
#include "configui/ExtControls.h"
#include "configui/MyBevel.h"
#include "configui/MyButton.h"
#include "configui/MyMemo.h"
#include "configui/MyShape.h"
#include "configui/PreviewPane.h"
#include "configui/StandardClasses.h"
#include "configui/StdControls.h"
#include "configui/ThumbnailGrid.h"

namespace ml {

namespace {

using V = const TPropertyValue&;

Qt::Alignment AsHorizontalAlignment(V v) {
    static const Qt::Alignment values[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    return values[AsEnum(v, {"taLeftJustify", "taRightJustify", "taCenter"})];
}

bool AsBorderSingle(V v) {
    return AsEnum(v, {"bsNone", "bsSingle"}) == 1;
}

const TPropertyTable& EditProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddColor(t);
        AddFont(t);
        AddWinControl(t);
        t.Set<TEdit>("Text", [](TEdit& e, V v) { e.setText(QString::fromStdString(AsString(v))); });
        t.Set<TEdit>("ReadOnly", [](TEdit& e, V v) { e.setReadOnly(AsBoolean(v)); });
        t.Set<TEdit>("MaxLength", [](TEdit& e, V v) {
            const int length = AsInteger(v);
            e.setMaxLength(length > 0 ? length : 32767);
        });
        t.Set<TEdit>("PasswordChar", [](TEdit& e, V v) {
            const std::string c = AsString(v);
            e.setEchoMode(c.empty() || c == std::string(1, '\0') ? QLineEdit::Normal
                                                                 : QLineEdit::Password);
        });
        t.Set<TEdit>("BorderStyle", [](TEdit& e, V v) { e.setFrame(AsBorderSingle(v)); });
        t.Set<TEdit>("CharCase", [](TEdit&, V v) {
            AsEnum(v, {"ecNormal", "ecUpperCase", "ecLowerCase"});
        });
        t.Check({"AutoSelect", "AutoSize", "HideSelection"}, AsBoolean);
        t.Ignore({"OEMConvert"});
        return t;
    }();
    return table;
}

const TPropertyTable& LabelProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddCaption(t);
        AddColor(t);
        AddFont(t);
        t.Set<TLabel>("Alignment", [](TLabel& l, V v) {
            l.setAlignment(AsHorizontalAlignment(v) | (l.alignment() & Qt::AlignVertical_Mask));
        });
        t.Set<TLabel>("Layout", [](TLabel& l, V v) {
            static const Qt::Alignment values[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
            l.setAlignment(values[AsEnum(v, {"tlTop", "tlCenter", "tlBottom"})] |
                           (l.alignment() & Qt::AlignHorizontal_Mask));
        });
        t.Set<TLabel>("AutoSize", [](TLabel& l, V v) { l.AutoSize = AsBoolean(v); });
        t.Set<TLabel>("WordWrap", [](TLabel& l, V v) { l.setWordWrap(AsBoolean(v)); });
        t.Set<TLabel>("Transparent", [](TLabel& l, V v) { l.SetTransparent(AsBoolean(v)); });
        t.Set<TLabel>("ShowAccelChar", [](TLabel& l, V v) {
            l.ShowAccelChar = AsBoolean(v);
            l.SetCaption(l.Caption());
        });
        t.Ignore({"FocusControl"});
        return t;
    }();
    return table;
}

void AddButtonProperties(TPropertyTable& t) {
    AddCaption(t);
    AddFont(t);
    AddWinControl(t);
    t.Set<TButton>("Default", [](TButton& b, V v) { b.setDefault(AsBoolean(v)); });
    t.Check({"Cancel"}, AsBoolean);
    t.Set<TButton>("ModalResult", [](TButton& b, V v) {
        b.ModalResult =
            v.Kind == TPropertyValue::TKind::Identifier
                ? AsEnum(v, {"mrNone", "mrOk", "mrCancel", "mrAbort", "mrRetry", "mrIgnore",
                             "mrYes", "mrNo", "mrAll", "mrNoToAll", "mrYesToAll"})
                : AsInteger(v);
    });
}

const TPropertyTable& ButtonProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddButtonProperties(t);
        return t;
    }();
    return table;
}

const TPropertyTable& BitBtnProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddButtonProperties(t);
        t.Set<TBitBtn>("Glyph.Data", [](TBitBtn& b, V v) {
            TPicture glyph;
            glyph.LoadFromBitmapData(AsBinary(v));
            b.SetGlyph(glyph);
        });
        t.Set<TBitBtn>("NumGlyphs", [](TBitBtn& b, V v) { b.SetNumGlyphs(AsInteger(v)); });
        t.Set<TBitBtn>("Kind", [](TBitBtn&, V v) {
            AsEnum(v, {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                       "bkAbort", "bkRetry", "bkIgnore", "bkAll"});
        });
        t.Set<TBitBtn>("Layout", [](TBitBtn& b, V v) {
            const int layout =
                AsEnum(v, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
            b.setLayoutDirection(layout == 1 ? Qt::RightToLeft : Qt::LeftToRight);
        });
        t.Check({"Margin", "Spacing"}, AsInteger);
        t.Set<TBitBtn>("Style", [](TBitBtn&, V v) {
            AsEnum(v, {"bsAutoDetect", "bsWin31", "bsNew"});
        });
        return t;
    }();
    return table;
}

const TPropertyTable& CheckBoxProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddCaption(t);
        AddColor(t);
        AddFont(t);
        AddWinControl(t);
        t.Set<TCheckBox>("Checked", [](TCheckBox& c, V v) { c.setChecked(AsBoolean(v)); });
        t.Set<TCheckBox>("AllowGrayed", [](TCheckBox& c, V v) { c.setTristate(AsBoolean(v)); });
        t.Set<TCheckBox>("State", [](TCheckBox& c, V v) {
            static const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked,
                                                    Qt::PartiallyChecked};
            c.setCheckState(states[AsEnum(v, {"cbUnchecked", "cbChecked", "cbGrayed"})]);
        });
        t.Set<TCheckBox>("Alignment", [](TCheckBox& c, V v) {
            // taLeftJustify puts the text left of the box.
            c.setLayoutDirection(AsEnum(v, {"taLeftJustify", "taRightJustify"}) == 0
                                     ? Qt::RightToLeft
                                     : Qt::LeftToRight);
        });
        return t;
    }();
    return table;
}

const TPropertyTable& PanelProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddCaption(t);
        AddColor(t);
        AddFont(t);
        AddWinControl(t);
        auto bevel = [](V v) {
            return static_cast<TPanelBevel>(
                AsEnum(v, {"bvNone", "bvLowered", "bvRaised", "bvSpace"}));
        };
        t.Set<TPanel>("BevelInner", [bevel](TPanel& p, V v) { p.BevelInner = bevel(v); });
        t.Set<TPanel>("BevelOuter", [bevel](TPanel& p, V v) { p.BevelOuter = bevel(v); });
        t.Set<TPanel>("BevelWidth",
                      [](TPanel& p, V v) { p.BevelWidth = std::clamp(AsInteger(v), 1, 100); });
        t.Set<TPanel>("BorderWidth",
                      [](TPanel& p, V v) { p.BorderWidth = std::clamp(AsInteger(v), 0, 100); });
        t.Set<TPanel>("BorderStyle", [](TPanel& p, V v) { p.BorderSingle = AsBorderSingle(v); });
        t.Set<TPanel>("Alignment",
                      [](TPanel& p, V v) { p.CaptionAlignment = AsHorizontalAlignment(v); });
        t.Check({"FullRepaint", "AutoSize"}, AsBoolean);
        t.Ignore({"Locked"});
        return t;
    }();
    return table;
}

const TPropertyTable& PageControlProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddFont(t);
        AddWinControl(t);
        t.Add("ActivePage", [](QWidget& w, V v, TBuildContext& context) {
            const std::string name = AsIdentifier(v);
            auto& pages = dynamic_cast<TPageControl&>(w);
            context.AddFixup([&pages, name, &context] {
                if (auto* sheet = dynamic_cast<TTabSheet*>(context.FindComponent(name)))
                    pages.setCurrentWidget(sheet);
            });
        });
        t.Set<TPageControl>("TabPosition", [](TPageControl& p, V v) {
            static const QTabWidget::TabPosition positions[] = {
                QTabWidget::North, QTabWidget::South, QTabWidget::West, QTabWidget::East};
            p.setTabPosition(positions[AsEnum(v, {"tpTop", "tpBottom", "tpLeft", "tpRight"})]);
        });
        t.Set<TPageControl>("Style", [](TPageControl& p, V v) {
            p.setDocumentMode(AsEnum(v, {"tsTabs", "tsButtons", "tsFlatButtons"}) != 0);
        });
        t.Set<TPageControl>("MultiLine",
                            [](TPageControl& p, V v) { p.setUsesScrollButtons(!AsBoolean(v)); });
        t.Check({"TabIndex", "TabHeight", "TabWidth"}, AsInteger);
        t.Check({"HotTrack", "RaggedRight", "ScrollOpposite"}, AsBoolean);
        t.Ignore({"Images"});
        return t;
    }();
    return table;
}

const TPropertyTable& TabSheetProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddCaption(t);
        AddFont(t);
        t.Set<TTabSheet>("TabVisible", [](TTabSheet& s, V v) { s.SetTabVisible(AsBoolean(v)); });
        t.Check({"PageIndex", "ImageIndex"}, AsInteger);
        t.Check({"Highlighted"}, AsBoolean);
        return t;
    }();
    return table;
}

const TPropertyTable& MyButtonProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddCaption(t);
        AddFont(t);
        t.Set<TMyButton>("ButtonUp.Data", [](TMyButton& b, V v) { b.SetButtonUp(ReadPicture(v)); });
        t.Set<TMyButton>("ButtonDown.Data",
                         [](TMyButton& b, V v) { b.SetButtonDown(ReadPicture(v)); });
        t.Set<TMyButton>("ButtonOver.Data",
                         [](TMyButton& b, V v) { b.SetButtonOver(ReadPicture(v)); });
        t.Set<TMyButton>("ButtonDisable.Data",
                         [](TMyButton& b, V v) { b.SetButtonDisable(ReadPicture(v)); });
        t.Set<TMyButton>("AutoSize", [](TMyButton& b, V v) { b.SetAutoSize(AsBoolean(v)); });
        t.Set<TMyButton>("Down", [](TMyButton& b, V v) { b.SetDown(AsBoolean(v)); });
        t.Set<TMyButton>("AllowDown", [](TMyButton& b, V v) { b.SetAllowDown(AsBoolean(v)); });
        t.Set<TMyButton>("MouseInControl",
                         [](TMyButton& b, V v) { b.SetMouseInControl(AsBoolean(v)); });
        t.Set<TMyButton>("ShowCaption", [](TMyButton& b, V v) { b.SetShowCaption(AsBoolean(v)); });
        t.Set<TMyButton>("Transparent", [](TMyButton& b, V v) { b.SetTransparent(AsBoolean(v)); });
        return t;
    }();
    return table;
}

const TPropertyTable& MyMemoProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ControlProperties());
        AddColor(t);
        AddFont(t);
        AddWinControl(t);
        t.Set<TMyMemo>("Text", [](TMyMemo& m, V v) { m.SetText(AsString(v)); });
        t.Set<TMyMemo>("Lines.Strings", [](TMyMemo& m, V v) { m.SetLines(AsStrings(v)); });
        t.Set<TMyMemo>("WordWrap", [](TMyMemo& m, V v) { m.SetWordWrap(AsBoolean(v)); });
        t.Set<TMyMemo>("ReadOnly", [](TMyMemo& m, V v) { m.setReadOnly(AsBoolean(v)); });
        t.Set<TMyMemo>("BorderStyle", [](TMyMemo& m, V v) {
            m.setFrameShape(AsBorderSingle(v) ? QFrame::StyledPanel : QFrame::NoFrame);
        });
        t.Set<TMyMemo>("ScrollBars", [](TMyMemo& m, V v) {
            const int bars = AsEnum(v, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
            m.setHorizontalScrollBarPolicy((bars & 1) ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAsNeeded);
            m.setVerticalScrollBarPolicy((bars & 2) ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAsNeeded);
        });
        t.Set<TMyMemo>("Alignment", [](TMyMemo&, V v) {
            AsEnum(v, {"taLeftJustify", "taRightJustify", "taCenter"});
        });
        t.Check({"MaxLength"}, AsInteger);
        t.Check({"WantReturns"}, AsBoolean);
        t.Set<TMyMemo>("WantTabs", [](TMyMemo& m, V v) { m.setTabChangesFocus(!AsBoolean(v)); });
        return t;
    }();
    return table;
}

const TPropertyTable& QMThumbnail2Properties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&GridProperties());
        t.Set<TQMThumbnail2>("PictureWidth",
                             [](TQMThumbnail2& g, V v) { g.SetPictureWidth(AsInteger(v)); });
        t.Set<TQMThumbnail2>("PictureHeight",
                             [](TQMThumbnail2& g, V v) { g.SetPictureHeight(AsInteger(v)); });
        t.Set<TQMThumbnail2>("ShowCheckBox",
                             [](TQMThumbnail2& g, V v) { g.SetShowCheckBox(AsBoolean(v)); });
        t.Set<TQMThumbnail2>("ShowTitle",
                             [](TQMThumbnail2& g, V v) { g.SetShowTitle(AsBoolean(v)); });
        t.Set<TQMThumbnail2>("MultiRows",
                             [](TQMThumbnail2& g, V v) { g.SetMultiRows(AsBoolean(v)); });
        return t;
    }();
    return table;
}

const TPropertyTable& QMPreviewProperties() {
    static const TPropertyTable table = [] {
        TPropertyTable t(&ImageProperties());
        t.Set<TQMPreview>("UnavailableMsg",
                          [](TQMPreview& p, V v) { p.UnavailableMsg = AsString(v); });
        return t;
    }();
    return table;
}

} // namespace

void RegisterStandardClasses(TClassRegistry& r) {
    r.Register<TForm>("TForm", FormProperties(), true);
    r.Register<TEdit>("TEdit", EditProperties());
    r.Register<TLabel>("TLabel", LabelProperties());
    r.Register<TMyShape>("TMyShape", ShapeProperties());
    r.Register<TButton>("TButton", ButtonProperties());
    r.Register<TMyButton>("TMyButton", MyButtonProperties());
    r.Register<TPanel>("TPanel", PanelProperties());
    r.Register<TShape>("TShape", ShapeProperties());
    r.Register<TMyBevel>("TMyBevel", BevelProperties());
    r.Register<TBitBtn>("TBitBtn", BitBtnProperties());
    r.Register<TPageControl>("TPageControl", PageControlProperties());
    r.Register<TImage>("TImage", ImageProperties());
    r.Register<TMyMemo>("TMyMemo", MyMemoProperties());
    r.Register<TCheckBox>("TCheckBox", CheckBoxProperties());
    r.Register<TTabSheet>("TTabSheet", TabSheetProperties());
    r.Register<TQMThumbnail2>("TQMThumbnail2", QMThumbnail2Properties());
    r.Register<TQMPreview>("TQMPreview", QMPreviewProperties());
}

} // namespace ml
