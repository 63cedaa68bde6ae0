#pragma once
// What "Build saver…" found: pack's checks as a list to work through (each problem with its
// fix), then where the saver is or why there is none.

#include <QDialog>

namespace ml::studio {

struct TBuildOutcome;

class TBuildReport : public QDialog {
    Q_OBJECT
public:
    TBuildReport(const TBuildOutcome& outcome, QWidget* parent = nullptr);
};

} // namespace ml::studio
