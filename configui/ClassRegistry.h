#pragma once
// The classes a description may name, each with the table of properties it publishes. A
// class is one line of registration:
//     DescribedClasses().Register<TMyShape>("TMyShape", MyShapeProperties());
// Property tables chain to the table of the base class, as published properties inherit.

#include "configui/PropertyValues.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace ml {

class TBuildContext;

using TPropertyApplier =
    std::function<void(QWidget& target, const TPropertyValue& value, TBuildContext& context)>;

class TPropertyTable {
public:
    explicit TPropertyTable(const TPropertyTable* base = nullptr) : Base(base) {}

    TPropertyTable& Add(const std::string& name, TPropertyApplier applier);
    // An applier for a property of class T (the target is always of that class).
    template <class T, class F> TPropertyTable& Set(const std::string& name, F apply) {
        return Add(
            name, [apply](QWidget& target, const TPropertyValue& value, TBuildContext& context) {
                if constexpr (std::is_invocable_v<F, T&, const TPropertyValue&, TBuildContext&>)
                    apply(dynamic_cast<T&>(target), value, context);
                else
                    apply(dynamic_cast<T&>(target), value);
            });
    }
    // Properties the designer writes that have no effect here; any value is accepted.
    TPropertyTable& Ignore(std::initializer_list<const char*> names);
    // Properties that have no effect here but whose value must still be of the right kind:
    // convert (AsBoolean, AsInteger, ...) fails the build on a value of another kind.
    template <class F> TPropertyTable& Check(std::initializer_list<const char*> names, F convert) {
        for (const char* name : names)
            Add(name, [convert](QWidget&, const TPropertyValue& value, TBuildContext&) {
                convert(value);
            });
        return *this;
    }

    // The applier of a property (case ignored), looking in base tables too; nullptr if none.
    const TPropertyApplier* Find(const std::string& name) const;

private:
    const TPropertyTable* Base;
    std::map<std::string, TPropertyApplier> Appliers; // keyed by upper-cased name
};

struct TClassInfo {
    std::string Name;
    std::function<QWidget*()> Create; // a new instance with its built-in defaults
    const TPropertyTable* Properties = nullptr;
    // Only for the root: properties the class lacks are passed over instead of failing, so
    // that descriptions from newer designers still build.
    bool IgnoreUnknownRootProperties = false;
};

class TClassRegistry {
public:
    // Registers (or replaces) a class; names match without regard to case.
    void Register(TClassInfo info);
    template <class T>
    void Register(const std::string& name, const TPropertyTable& properties,
                  bool ignoreUnknownRootProperties = false) {
        Register(TClassInfo{name, [] { return static_cast<QWidget*>(new T()); }, &properties,
                            ignoreUnknownRootProperties});
    }
    const TClassInfo* Find(const std::string& name) const;
    // Names in registration order.
    std::vector<std::string> Names() const;

private:
    std::vector<TClassInfo> Classes;
};

// The registry descriptions are built from. The standard classes and the program's simple
// controls are in it from the start; the configuration window, thumbnail grid and preview
// pane are added by their units.
TClassRegistry& DescribedClasses();
// Registers the standard classes and the simple controls into a registry.
void RegisterStandardClasses(TClassRegistry& registry);

} // namespace ml
