#include "configui/FormsCollection.h"

#include "platform/Exceptions.h"
#include "platform/Strings.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>

namespace ml {

namespace {

// Index access that fails the way the toolkit's string lists do.
const std::string& LineAt(const std::vector<std::string>& lines, int index) {
    if (index < 0 || index >= static_cast<int>(lines.size()))
        throw EListError(ListIndexText(index));
    return lines[index];
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::size_t length = 0;
    for (const auto& line : lines)
        length += line.size() + 2;
    std::string text;
    text.reserve(length);
    for (const auto& line : lines)
        text.append(line).append("\r\n");
    return text;
}

bool IsBlankOrControl(unsigned char c) {
    return c <= ' ';
}

// The first count characters, upper-cased (fewer when the text is shorter).
std::string UpperPrefix(const std::string& text, std::size_t count) {
    return UpperCase(text.substr(0, count));
}

// Event lines name the window's handlers, which the configuration window supplies itself.
// "On" followed by a lower-case letter is an ordinary property such as Only.
bool IsEventLine(const std::string& s) {
    if (s.size() < 2 || s[0] != 'O' || s[1] != 'n')
        return false;
    return s.size() == 2 || !(s[2] >= 'a' && s[2] <= 'z');
}

} // namespace

void TActionList::LoadFromText(const std::string& text) {
    ClearActions();
    if (text.empty())
        return;
    const std::vector<std::string> lines = SplitLines(text);
    const int count = StrToInt(LineAt(lines, 0));
    for (int i = 0; i < count; ++i) {
        auto action = std::make_unique<TAction>();
        std::string key = LineAt(lines, 5 * i + 1);
        // Numbers wrap into the byte the action is stored in (300 becomes 44).
        action->ActionNumber = static_cast<std::uint8_t>(StrToInt(LineAt(lines, 5 * i + 2)));
        action->Param1 = LineAt(lines, 5 * i + 3);
        action->Param2 = LineAt(lines, 5 * i + 4);
        action->Param3 = LineAt(lines, 5 * i + 5);
        // The first binding of a name is the one found; later ones stay listed only.
        ByName.emplace(UpperCase(key), action.get());
        Items.emplace_back(std::move(key), std::move(action));
    }
}

TAction* TActionList::FindAction(const std::string& controlName) const {
    auto found = ByName.find(UpperCase(controlName));
    return found == ByName.end() ? nullptr : found->second;
}

const std::string& TActionList::ControlName(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(ListIndexText(index));
    return Items[index].first;
}

std::string DescriptionName(const std::string& firstLine) {
    std::string rest = firstLine.size() > 7 ? firstLine.substr(7) : std::string();
    std::size_t colon = rest.find(':');
    return colon == std::string::npos ? std::string() : rest.substr(0, colon);
}

void TQMForm::SetDescription(const std::string& text) {
    Lines = SplitLines(text);
    Name = DescriptionName(LineAt(Lines, 0));
}

std::string TQMForm::FilteredDescription() {
    Name = DescriptionName(LineAt(Lines, 0));
    // The lines that stay are copied into a new list in one pass, so a description of any
    // length is filtered in time proportional to it.
    std::vector<std::string> kept;
    kept.reserve(Lines.size());
    kept.push_back("object " + Name + ": TfmQMConfigWindow");
    bool seenVisible = false;
    for (std::size_t j = 1; j < Lines.size(); ++j) {
        const std::string& line = Lines[j];
        std::size_t first = 0, last = line.size();
        while (first < last && IsBlankOrControl(line[first]))
            ++first;
        while (last > first && IsBlankOrControl(line[last - 1]))
            --last;
        const std::string s = line.substr(first, last - first);

        if (IsEventLine(s) || UpperPrefix(s, 11) == "BORDERICONS" ||
            UpperPrefix(s, 11) == "BORDERSTYLE" || UpperPrefix(s, 9) == "FORMSTYLE")
            continue;
        if (UpperPrefix(s, 7) == "VISIBLE") {
            // Only the window's own Visible line goes: showing is the caller's decision,
            // while a child's Visible = False must stay.
            const bool windowsOwn = !seenVisible;
            seenVisible = true;
            if (windowsOwn)
                continue;
        }
        kept.push_back(line);
    }
    return JoinCrLf(kept);
}

void TQMForms::LoadFromFile(const std::string& path) {
    ClearForms();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw EInOutError("Cannot open file \"" + path + "\"");
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad())
        throw EReadError("Cannot read file \"" + path + "\"");
    LoadFromText(bytes.str());
}

void TQMForms::LoadFromText(const std::string& text) {
    ClearForms();
    std::vector<std::string> lines = SplitLines(text);
    int i = 0;
    const int formCount = StrToInt(LineAt(lines, 0));
    for (int f = 0; f < formCount; ++f) {
        ++i;
        const int descriptionCount = StrToInt(LineAt(lines, i));
        std::vector<std::string> description;
        // Every line is read once, so the lines move on instead of being copied.
        for (int n = 0; n < descriptionCount; ++n) {
            LineAt(lines, ++i);
            description.push_back(std::move(lines[i]));
        }

        ++i;
        const int bindingCount = StrToInt(LineAt(lines, i));
        std::vector<std::string> bindings;
        for (int m = 0; m < bindingCount; ++m) {
            LineAt(lines, ++i);
            // An empty parameter line would vanish when the binding text is split again;
            // a single space keeps the line count.
            if (lines[i].empty())
                lines[i] = " ";
            bindings.push_back(std::move(lines[i]));
        }
        std::string bindingText = JoinCrLf(bindings);
        if (!bindingText.empty())
            bindingText.resize(bindingText.size() - 2);

        AddForm(JoinCrLf(description), bindingText);

        ++i;
        const int trailingCount = StrToInt(LineAt(lines, i));
        // Skipped unread; a count past the end only matters when a later record is read.
        if (trailingCount > 0)
            i = static_cast<int>(std::min<long long>(static_cast<long long>(i) + trailingCount,
                                                     std::numeric_limits<int>::max() - 1));
    }
}

TQMForm& TQMForms::AddForm(const std::string& description, const std::string& bindings) {
    auto form = std::make_unique<TQMForm>();
    form->Actions.LoadFromText(bindings);
    form->SetDescription(description);
    Forms.push_back(std::move(form));
    return *Forms.back();
}

TQMForm& TQMForms::FindForm(const std::string& name) const {
    for (const auto& form : Forms)
        if (SameText(form->Name, name))
            return *form;
    throw EListError(ListIndexText(-1));
}

TQMForm& TQMForms::Form(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(ListIndexText(index));
    return *Forms[index];
}

} // namespace ml
