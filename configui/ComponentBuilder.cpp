#include "configui/ComponentBuilder.h"

#include "configui/Control.h"
#include "configui/ExtControls.h"
#include "configui/StdControls.h"
#include "platform/Strings.h"

namespace ml {

namespace {

const TClassInfo& FindClass(const TClassRegistry& registry, const std::string& name) {
    const TClassInfo* info = registry.Find(name);
    if (!info)
        throw EClassNotFound("Class " + name + " not found");
    return *info;
}

void ApplyProperties(QWidget& target, const TClassInfo& info, const TObjectNode& node, bool isRoot,
                     TBuildContext& context) {
    for (const auto& line : node.Properties) {
        const TPropertyApplier* applier =
            info.Properties ? info.Properties->Find(line.Name) : nullptr;
        if (!applier) {
            if (isRoot && info.IgnoreUnknownRootProperties)
                continue;
            throw EPropertyError("Property " + line.Name + " does not exist");
        }
        (*applier)(target, line.Value, context);
    }
}

QWidget* Create(const TClassInfo& info, const TObjectNode& node, TBuildContext& context) {
    QWidget* widget = info.Create();
    widget->setObjectName(QString::fromStdString(node.Name));
    if (TControl* control = AsControl(widget))
        control->ClassName = info.Name;
    context.Created.push_back(widget);
    return widget;
}

// Places a new control in the control of its enclosing block: tab sheets become pages of
// their page control, everything else a child widget.
void InsertControl(QWidget& parent, QWidget& child) {
    auto* pages = dynamic_cast<TPageControl*>(&parent);
    auto* sheet = dynamic_cast<TTabSheet*>(&child);
    if (pages && sheet)
        pages->AddPage(sheet);
    else
        child.setParent(&parent);
}

void BuildChildren(const TObjectNode& node, QWidget& parent, const TClassRegistry& registry,
                   TBuildContext& context) {
    for (const auto& childNode : node.Children) {
        const TClassInfo& info = FindClass(registry, childNode->ClassName);
        std::unique_ptr<QWidget> made(Create(info, *childNode, context));
        QWidget& child = *made;
        InsertControl(parent, child);
        made.release(); // owned by its parent from here on
        if (auto* form = dynamic_cast<TForm*>(context.Root))
            form->AddComponent(&child);
        ApplyProperties(child, info, *childNode, false, context);
        BuildChildren(*childNode, child, registry, context);
    }
}

} // namespace

QWidget* TBuildContext::FindComponent(const std::string& name) const {
    for (QWidget* widget : Created)
        if (widget != Root && SameText(widget->objectName().toStdString(), name))
            return widget;
    return nullptr;
}

std::unique_ptr<QWidget> BuildFromText(const std::string& text, const TClassRegistry& registry) {
    const std::unique_ptr<TObjectNode> tree = ParseComponentText(text);
    TBuildContext context;
    const TClassInfo& info = FindClass(registry, tree->ClassName);
    std::unique_ptr<QWidget> root(Create(info, *tree, context));
    context.Root = root.get();
    ApplyProperties(*root, info, *tree, true, context);
    BuildChildren(*tree, *root, registry, context);

    for (const auto& fixup : context.Fixups)
        fixup();
    for (QWidget* widget : context.Created)
        if (TControl* control = AsControl(widget))
            control->Loaded();
    AlignTree(*root);
    KeepDocked(*root);
    ArrangeTabOrder(*root);
    return root;
}

} // namespace ml
