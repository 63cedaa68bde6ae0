#include "configui/StdControls.h"

#include "configui/PropertyValues.h"
#include "platform/Strings.h"

#include <QIcon>
#include <QPainter>

namespace ml {

namespace {

// Windows are built with the desktop's classic face colours, so that a description looks as
// its author designed it whatever the Qt style.
void SetFaceColours(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, SystemColor("clBtnFace"));
    palette.setColor(QPalette::Button, SystemColor("clBtnFace"));
    palette.setColor(QPalette::WindowText, SystemColor("clWindowText"));
    palette.setColor(QPalette::ButtonText, SystemColor("clBtnText"));
    palette.setColor(QPalette::Base, SystemColor("clWindow"));
    palette.setColor(QPalette::Text, SystemColor("clWindowText"));
    palette.setColor(QPalette::Highlight, SystemColor("clHighlight"));
    palette.setColor(QPalette::HighlightedText, SystemColor("clHighlightText"));
    palette.setColor(QPalette::ToolTipBase, SystemColor("clInfoBk"));
    palette.setColor(QPalette::ToolTipText, SystemColor("clInfoText"));
    widget.setPalette(palette);
}

} // namespace

TForm::TForm(QWidget* parent) : TContainer<QWidget>(parent) {
    SetFaceColours(*this);
    setAutoFillBackground(true);
}

std::vector<QWidget*> TForm::Components() const {
    std::vector<QWidget*> alive;
    for (const auto& component : ComponentList)
        if (component)
            alive.push_back(component.data());
    return alive;
}

QWidget* TForm::FindComponent(const std::string& name) const {
    for (const auto& component : ComponentList)
        if (component && SameText(component->objectName().toStdString(), name))
            return component.data();
    return nullptr;
}

void TForm::showEvent(QShowEvent* e) {
    TContainer<QWidget>::showEvent(e);
    if (ActiveControl) {
        ActiveControl->setFocus();
        ActiveControl = nullptr;
    }
}

TEdit::TEdit(QWidget* parent) : TMouseControl<QLineEdit>(parent) {
    resize(121, 21);
}

TLabel::TLabel(QWidget* parent) : TMouseControl<QLabel>(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TLabel::SetCaption(const std::string& caption) {
    CaptionText = caption;
    QString text = ShowAccelChar ? StripAccelerator(caption) : QString::fromStdString(caption);
    // Captions break lines with CR (#13) as often as with CR LF; Qt breaks only at LF.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    setText(text);
    if (!Loading)
        AdjustBounds();
}

void TLabel::SetTransparent(bool transparent) {
    TransparentOn = transparent;
    UpdateFill();
}

void TLabel::SetOwnColor() {
    OwnColor = true;
    UpdateFill();
}

void TLabel::AdjustBounds() {
    if (!AutoSize)
        return;
    if (wordWrap())
        resize(width(), heightForWidth(width()));
    else
        resize(sizeHint());
}

void TLabel::Loaded() {
    TControl::Loaded();
    AdjustBounds();
}

TButton::TButton(QWidget* parent) : QPushButton(parent), TControl(this) {
    resize(75, 25);
    connect(this, &QPushButton::clicked, this, [this] { Click(); });
}

void TButton::SetCaption(const std::string& caption) {
    setText(QString::fromStdString(caption));
}

TCheckBox::TCheckBox(QWidget* parent) : QCheckBox(parent), TControl(this) {
    resize(97, 17);
    connect(this, &QCheckBox::clicked, this, [this] { Click(); });
}

void TCheckBox::SetCaption(const std::string& caption) {
    setText(QString::fromStdString(caption));
}

void TBitBtn::SetGlyph(const TPicture& glyph) {
    GlyphPicture = glyph;
    UpdateIcon();
}

void TBitBtn::SetNumGlyphs(int count) {
    NumGlyphs = std::clamp(count, 1, 4);
    UpdateIcon();
}

void TBitBtn::UpdateIcon() {
    if (GlyphPicture.Empty()) {
        setIcon(QIcon());
        return;
    }
    const int frameWidth = std::max(1, GlyphPicture.Width() / NumGlyphs);
    QImage frame(frameWidth, GlyphPicture.Height(), QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    {
        QPainter painter(&frame);
        GlyphPicture.Draw(painter, QPoint(0, 0), true);
    }
    setIcon(QIcon(QPixmap::fromImage(frame)));
    setIconSize(frame.size());
}

} // namespace ml
