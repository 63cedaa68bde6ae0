#pragma once
// Builds a live window from a description in the component notation: the whole text is read
// first, then the root and its children are created from the registered classes, their
// properties applied in text order, references between controls settled, and every control
// told that loading has finished.

#include "configui/ClassRegistry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ml {

class TBuildContext {
public:
    QWidget* Root = nullptr;
    std::vector<QWidget*> Created; // in creation order, the root first

    // A control by name among those made so far (case ignored), or nullptr.
    QWidget* FindComponent(const std::string& name) const;
    // Runs after all controls exist: for properties that name another control
    // (ActivePage, ActiveControl), which may be described further down.
    void AddFixup(std::function<void()> fixup) { Fixups.push_back(std::move(fixup)); }

private:
    friend std::unique_ptr<QWidget> BuildFromText(const std::string&, const TClassRegistry&);
    std::vector<std::function<void()>> Fixups;
};

// The root object of the description, owned by the caller and not shown. Raises
// EParserError for text that is not the notation, EClassNotFound "Class %s not found",
// EPropertyError "Property %s does not exist" or "Invalid property value", and the picture
// layer's errors for bad picture data; nothing is left behind on failure.
std::unique_ptr<QWidget> BuildFromText(const std::string& text,
                                       const TClassRegistry& registry = DescribedClasses());

} // namespace ml
