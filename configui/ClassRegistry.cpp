#include "configui/ClassRegistry.h"

#include "platform/Strings.h"

namespace ml {

TPropertyTable& TPropertyTable::Add(const std::string& name, TPropertyApplier applier) {
    Appliers[UpperCase(name)] = std::move(applier);
    return *this;
}

TPropertyTable& TPropertyTable::Ignore(std::initializer_list<const char*> names) {
    for (const char* name : names)
        Add(name, [](QWidget&, const TPropertyValue&, TBuildContext&) {});
    return *this;
}

const TPropertyApplier* TPropertyTable::Find(const std::string& name) const {
    const std::string key = UpperCase(name);
    for (const TPropertyTable* table = this; table; table = table->Base)
        if (auto it = table->Appliers.find(key); it != table->Appliers.end())
            return &it->second;
    return nullptr;
}

void TClassRegistry::Register(TClassInfo info) {
    for (auto& existing : Classes)
        if (SameText(existing.Name, info.Name)) {
            existing = std::move(info);
            return;
        }
    Classes.push_back(std::move(info));
}

const TClassInfo* TClassRegistry::Find(const std::string& name) const {
    for (const auto& info : Classes)
        if (SameText(info.Name, name))
            return &info;
    return nullptr;
}

std::vector<std::string> TClassRegistry::Names() const {
    std::vector<std::string> names;
    for (const auto& info : Classes)
        names.push_back(info.Name);
    return names;
}

TClassRegistry& DescribedClasses() {
    static TClassRegistry registry = [] {
        TClassRegistry r;
        RegisterStandardClasses(r);
        return r;
    }();
    return registry;
}

} // namespace ml
