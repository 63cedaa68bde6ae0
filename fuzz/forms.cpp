// Interface description files: the collection reader and the description filter must turn
// any bytes into forms or one of their load errors.

#include "configui/FormsCollection.h"
#include "platform/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ml::TQMForms forms;
    try {
        forms.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const ml::Exception&) {
        // Records read before the error stay and are filtered below.
    }
    for (int i = 0; i < forms.Count(); ++i) {
        ml::TQMForm& form = forms.Form(i);
        form.FilteredDescription();
        for (int a = 0; a < form.Actions.Count(); ++a)
            form.Actions.FindAction(form.Actions.ControlName(a));
    }
    return 0;
}
