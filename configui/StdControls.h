#pragma once
// The standard controls a description may name: form, edit box, label, push button, check
// box and bitmap button, as Qt widgets with the control part.

#include "configui/Control.h"
#include "configui/Picture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <vector>

namespace ml {

// A window. It owns every control of its description (through Qt's parent tree) and lists
// them in creation order, which is the order of the description.
class TForm : public TContainer<QWidget> {
public:
    explicit TForm(QWidget* parent = nullptr);

    void AddComponent(QWidget* component) { ComponentList.emplace_back(component); }
    // The controls still alive, in creation order.
    std::vector<QWidget*> Components() const;
    // A control by name (case ignored), or nullptr.
    QWidget* FindComponent(const std::string& name) const;

    QPointer<QWidget> ActiveControl; // gets the focus when the window is first shown
    bool KeyPreview = false;

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::vector<QPointer<QWidget>> ComponentList;
};

class TEdit : public TMouseControl<QLineEdit> {
public:
    explicit TEdit(QWidget* parent = nullptr);
};

class TLabel : public TMouseControl<QLabel> {
public:
    explicit TLabel(QWidget* parent = nullptr);

    void SetCaption(const std::string& caption) override;
    std::string Caption() const override { return CaptionText; }
    void Loaded() override;

    bool AutoSize = true;
    bool ShowAccelChar = true;
    // A label fills its background only when it has a colour of its own and is not
    // transparent; otherwise its parent shows through.
    void SetTransparent(bool transparent);
    void SetOwnColor();
    // Resizes to the text when AutoSize (keeping the width when the text wraps).
    void AdjustBounds();

private:
    void UpdateFill() { setAutoFillBackground(OwnColor && !TransparentOn); }

    std::string CaptionText;
    bool OwnColor = false;
    bool TransparentOn = false;
};

// Push buttons click on Qt's own clicked signal so that the keyboard (space, accelerator)
// clicks them too.
class TButton : public QPushButton, public TControl {
public:
    explicit TButton(QWidget* parent = nullptr);
    void SetCaption(const std::string& caption) override;
    std::string Caption() const override { return text().toStdString(); }

    int ModalResult = 0;
};

class TCheckBox : public QCheckBox, public TControl {
public:
    explicit TCheckBox(QWidget* parent = nullptr);
    void SetCaption(const std::string& caption) override;
    std::string Caption() const override { return text().toStdString(); }
};

// A push button with a picture. The glyph may hold several looks side by side (NumGlyphs);
// the first is the normal one. Its transparent colour is always left out.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(QWidget* parent = nullptr) : TButton(parent) {}

    void SetGlyph(const TPicture& glyph);
    void SetNumGlyphs(int count);
    const TPicture& Glyph() const { return GlyphPicture; }

private:
    void UpdateIcon();

    TPicture GlyphPicture;
    int NumGlyphs = 1;
};

} // namespace ml
