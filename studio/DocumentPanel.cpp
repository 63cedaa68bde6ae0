#include "studio/DocumentPanel.h"

#include "studio/NumberRow.h"
#include "studio/PictureDocument.h"

#include <QFormLayout>

namespace ml::studio {

void TDocumentPanel::SetDocument(TPictureDocument* document) {
    if (Document)
        disconnect(Document, nullptr, this, nullptr);
    Document = document;
    if (Document)
        connect(Document, &TPictureDocument::settingsChanged, this, [this] { ShowValues(); });
    setEnabled(Document != nullptr);
    DocumentChanged();
    if (Document)
        ShowValues();
}

TNumberRow* TDocumentPanel::AddNumberRow(QFormLayout* form, const TNumberField& field,
                                         const authoring::TKeyRule& rule,
                                         std::function<void(const QString& key, int value)> edit) {
    auto* row = new TNumberRow({field.SliderLow, field.SliderHigh, rule.Low, rule.High});
    row->setToolTip(tr(field.Tip));
    row->setObjectName(field.Key);
    const QString key = field.Key;
    connect(row, &TNumberRow::valueEdited, this,
            [edit = std::move(edit), key](int value) { edit(key, value); });
    connect(row, &TNumberRow::editFinished, this, [this] {
        if (Document)
            Document->CloseMerge();
    });
    form->addRow(tr(field.Label), row);
    return row;
}

} // namespace ml::studio
