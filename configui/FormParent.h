#pragma once
// The base of every described window: a form with the switches that decide its frame and
// title-bar buttons when it is shown.

#include "configui/StdControls.h"

namespace ml {

class TfmQMFormParent : public TForm {
public:
    using TForm::TForm;

    bool Sizeable = false;
    bool NoFrame = false;
    bool MaximizeButton = false;
    bool MinimizeButton = false;
    bool ShowButtons = false;
    bool MaximizeOnShow = false;

    // Applies the switches: frame, title-bar buttons, maximised state, centred on the screen.
    void ShapeWindow();
};

} // namespace ml
