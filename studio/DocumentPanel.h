#pragma once
// What the panels beside the canvas share: they show one document's settings, follow its
// changes, and turn the author's edits into steps of its history; a slider row's drag is one
// step, ended when the slider is let go.

#include "tools/authoring/IniSchema.h"

#include <QWidget>
#include <functional>

class QFormLayout;

namespace ml::studio {

class TNumberRow;
class TPictureDocument;

// A number of the parameter file as a slider row: its key, label, useful slider range and tip.
struct TNumberField {
    const char* Key;
    const char* Label;
    int SliderLow;
    int SliderHigh;
    const char* Tip;
};

class TDocumentPanel : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Shows a document (not owned; null for none) and follows its settings.
    void SetDocument(TPictureDocument* document);

protected:
    // Puts the document's values into the controls; called with a document only.
    virtual void ShowValues() = 0;
    // Called after the document changed (also to none), for what else a panel follows.
    virtual void DocumentChanged() {}

    // Adds a row whose box takes what the rule allows; each move of it calls edit.
    TNumberRow* AddNumberRow(QFormLayout* form, const TNumberField& field,
                             const authoring::TKeyRule& rule,
                             std::function<void(const QString& key, int value)> edit);

    TPictureDocument* Document = nullptr;
};

} // namespace ml::studio
