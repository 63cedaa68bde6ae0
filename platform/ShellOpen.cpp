#include "platform/ShellOpen.h"

#include "platform/Strings.h"

#include <QDesktopServices>
#include <QUrl>

namespace ml {

namespace {

TShellOpener& InstalledOpener() {
    static TShellOpener opener;
    return opener;
}

bool DesktopOpen(const std::string& target) {
    // Addresses typed into descriptions often carry a line end or blanks around them.
    const QString text = QString::fromStdString(Trim(target));
    return QDesktopServices::openUrl(QUrl::fromUserInput(text));
}

} // namespace

bool ShellOpen(const std::string& target) {
    const TShellOpener& opener = InstalledOpener();
    return opener ? opener(target) : DesktopOpen(target);
}

void SetShellOpener(TShellOpener opener) {
    InstalledOpener() = std::move(opener);
}

} // namespace ml
