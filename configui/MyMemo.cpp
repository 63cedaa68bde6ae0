#include "configui/MyMemo.h"

#include "platform/Strings.h"

namespace ml {

TMyMemo::TMyMemo(QWidget* parent) : TMouseControl<QPlainTextEdit>(parent) {
    resize(185, 89);
    SetWordWrap(true);
}

std::vector<std::string> TMyMemo::Lines() const {
    const QString text = toPlainText();
    if (text.isEmpty())
        return {};
    std::vector<std::string> lines;
    for (const QString& line : text.split(QChar('\n')))
        lines.push_back(line.toStdString());
    return lines;
}

void TMyMemo::SetLines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const auto& line : lines)
        list << QString::fromStdString(line);
    setPlainText(list.join(QChar('\n')));
}

std::string TMyMemo::Text() const {
    std::string text;
    for (const auto& line : Lines())
        text += line + "\r\n";
    return text;
}

void TMyMemo::SetText(const std::string& text) {
    SetLines(SplitLines(text));
}

void TMyMemo::SetWordWrap(bool wrap) {
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

} // namespace ml
