#pragma once
// The interface description collection: every window description the project carries, with
// the bindings that tie its controls to numbered actions. The collection keeps texts only;
// ComponentBuilder turns a description into a live window.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ml {

// One binding: the action a control runs and its three parameters (a single space where the
// action uses none).
class TAction {
public:
    std::string Param1;
    std::string Param2;
    std::string Param3;
    std::uint8_t ActionNumber = 0;
};

// Control name -> action, in file order. Lookups ignore case and the first of two equal
// names wins.
class TActionList {
public:
    // Replaces the bindings by those of a binding text: a count line, then five lines per
    // binding. Raises EListError when lines are missing and EConvertError for a bad number.
    void LoadFromText(const std::string& text);
    // The binding of a control, or nullptr.
    TAction* FindAction(const std::string& controlName) const;
    void ClearActions() {
        Items.clear();
        ByName.clear();
    }

    int Count() const { return static_cast<int>(Items.size()); }
    const std::string& ControlName(int index) const;

private:
    std::vector<std::pair<std::string, std::unique_ptr<TAction>>> Items;
    std::unordered_map<std::string, TAction*> ByName; // upper-cased name -> first binding
};

// One window description.
class TQMForm {
public:
    std::string Name;
    std::vector<std::string> Lines;
    TActionList Actions;

    // Stores the description and takes the window name from its first line.
    void SetDescription(const std::string& text);
    // The description made ready for building: the root class becomes the configuration
    // window, and event, border and form-style lines and the window's own Visible line go.
    std::string FilteredDescription();
};

// The window name in a description's first line "object Name: TClass" ("" without ":").
std::string DescriptionName(const std::string& firstLine);

class TQMForms {
public:
    TQMForms() = default;
    TQMForms(const TQMForms&) = delete;
    TQMForms& operator=(const TQMForms&) = delete;

    // Clears the collection and reads an interface description file. A file that cannot be
    // read raises EInOutError; a bad count EConvertError; a short file EListError. Records
    // read before an error stay.
    void LoadFromFile(const std::string& path);
    // Same, from the file's text.
    void LoadFromText(const std::string& text);
    TQMForm& AddForm(const std::string& description, const std::string& bindings);
    // The first form of that name (ignoring case); EListError "List index out of bounds (-1)"
    // when there is none.
    TQMForm& FindForm(const std::string& name) const;
    void ClearForms() { Forms.clear(); }

    int Count() const { return static_cast<int>(Forms.size()); }
    TQMForm& Form(int index) const;

private:
    std::vector<std::unique_ptr<TQMForm>> Forms;
};

} // namespace ml
