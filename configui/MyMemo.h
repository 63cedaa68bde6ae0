#pragma once
// The multi-line text box whose whole text a description can set in one property.

#include "configui/Control.h"

#include <QPlainTextEdit>

#include <string>
#include <vector>

namespace ml {

class TMyMemo : public TMouseControl<QPlainTextEdit> {
public:
    explicit TMyMemo(QWidget* parent = nullptr);

    // The lines, each followed by CR LF.
    std::string Text() const;
    // Replaces the lines by those of the text (CR LF, LF or CR end a line).
    void SetText(const std::string& text);
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    void SetWordWrap(bool wrap);
};

} // namespace ml
