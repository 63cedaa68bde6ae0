#include "studio/HistorySteps.h"

#include "studio/PictureDocument.h"

namespace ml::studio {

TMaskStep::TMaskStep(TPictureDocument& document, QPoint at, QImage before, QImage after,
                     const QString& text)
    : QUndoCommand(text), Document(document), At(at), Before(std::move(before)),
      After(std::move(after)) {}

void TMaskStep::undo() {
    Document.PutMask(At, Before);
}

void TMaskStep::redo() {
    Document.PutMask(At, After);
}

TSettingsStep::TSettingsStep(TPictureDocument& document, TPictureSettings before,
                             TPictureSettings after, const QString& text, QString mergeKey)
    : QUndoCommand(text), Document(document), Before(std::move(before)), After(std::move(after)),
      MergeKey(std::move(mergeKey)) {}

void TSettingsStep::undo() {
    // A change after an undo is a step of its own, even with the same slider.
    Document.CloseMerge();
    Document.PutSettings(Before);
}

void TSettingsStep::redo() {
    Document.PutSettings(After);
}

bool TSettingsStep::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const TSettingsStep*>(other);
    if (MergeKey.isEmpty() || next->MergeKey != MergeKey || !Document.MergeIsOpen())
        return false;
    After = next->After;
    return true;
}

} // namespace ml::studio
