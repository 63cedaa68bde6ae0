#include "studio/BuildReport.h"

#include "studio/ProjectPage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace ml::studio {

namespace {

QIcon SeverityIcon(const QStyle* style, authoring::TSeverity severity) {
    switch (severity) {
    case authoring::TSeverity::Error:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case authoring::TSeverity::Warning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case authoring::TSeverity::Note:
        break;
    }
    return style->standardIcon(QStyle::SP_MessageBoxInformation);
}

QString FindingText(const authoring::TFinding& finding) {
    QString place = QString::fromStdString(finding.File);
    if (!finding.Where.empty())
        place += (place.isEmpty() ? "" : ": ") + QString::fromStdString(finding.Where);
    QString text = QString::fromStdString(finding.Problem);
    if (!place.isEmpty())
        text = place + ": " + text;
    if (!finding.Fix.empty())
        text += "\n→ " + QString::fromStdString(finding.Fix);
    return text;
}

} // namespace

TBuildReport::TBuildReport(const TBuildOutcome& outcome, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Build saver"));
    resize(640, 420);
    setMinimumWidth(480);
    auto* layout = new QVBoxLayout(this);
    const bool errors = authoring::HasErrors(outcome.Findings);
    QString headline;
    if (outcome.Built)
        headline = tr("<b>The saver is built.</b><br>%1<br>Run it with /S to see the show, "
                      "or /C for its window.")
                       .arg(outcome.Saver.toHtmlEscaped());
    else if (errors)
        headline = tr("<b>No saver was built.</b> Fix these problems and build again:");
    else
        headline =
            tr("<b>pack did not build the saver.</b><br>%1").arg(outcome.Problem.toHtmlEscaped());
    auto* text = new QLabel(headline);
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text);

    if (outcome.Built && !outcome.Output.isEmpty()) {
        auto* said = new QLabel(outcome.Output.toHtmlEscaped());
        said->setObjectName("muted");
        said->setWordWrap(true);
        layout->addWidget(said);
    }
    if (!outcome.Findings.empty()) {
        auto* list = new QListWidget;
        list->setObjectName("findings");
        list->setWordWrap(true);
        list->setAlternatingRowColors(true);
        for (const authoring::TFinding& finding : outcome.Findings)
            new QListWidgetItem(SeverityIcon(style(), finding.Severity), FindingText(finding),
                                list);
        layout->addWidget(list, 1);
    } else {
        layout->addWidget(new QLabel(tr("pack's checks found nothing to fix.")));
        resize(560, 0);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (outcome.Built) {
        // The saver's show ends at the first key or mouse move, as a screensaver does.
        QPushButton* run = buttons->addButton(tr("Run the show"), QDialogButtonBox::ActionRole);
        run->setObjectName("primary");
        const QString saver = outcome.Saver;
        connect(run, &QPushButton::clicked, this,
                [saver] { QProcess::startDetached(saver, {"/S"}); });
    }
    layout->addWidget(buttons);
}

} // namespace ml::studio
