#pragma once
// The steps of a picture's undo history. Each holds the state before and after it, so undo and
// redo put back exactly what was there: a mask step the area numbers of the rectangle it
// touched, a settings step the settings as a whole (they are a few kilobytes).

#include "studio/PictureSettings.h"

#include <QImage>
#include <QUndoCommand>

namespace ml::studio {

class TPictureDocument;

class TMaskStep : public QUndoCommand {
public:
    TMaskStep(TPictureDocument& document, QPoint at, QImage before, QImage after,
              const QString& text);
    void undo() override;
    void redo() override;

private:
    TPictureDocument& Document;
    QPoint At;
    QImage Before;
    QImage After;
};

class TSettingsStep : public QUndoCommand {
public:
    TSettingsStep(TPictureDocument& document, TPictureSettings before, TPictureSettings after,
                  const QString& text, QString mergeKey);
    void undo() override;
    void redo() override;
    // Qt merges steps of equal id; every settings step shares one, and mergeWith decides.
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    TPictureDocument& Document;
    TPictureSettings Before;
    TPictureSettings After;
    QString MergeKey;
};

} // namespace ml::studio
