#include "shell/open_address.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace quillet {

bool IsOpenableAddress(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("mailto")) {
        return !url.path().isEmpty();
    }
    return (scheme == QStringLiteral("http") || scheme == QStringLiteral("https") || scheme == QStringLiteral("ftp")) &&
           !url.host().isEmpty();
}

QStringList BrowserCommand(const QString& commandLine, const QString& address) {
    QString line = commandLine;
    qsizetype cut = line.indexOf(QStringLiteral("\"%1\""));
    if (cut < 0) {
        cut = line.indexOf(QStringLiteral("%1"));
    }
    if (cut >= 0) {
        line.truncate(cut);
    }
    QStringList command = QProcess::splitCommand(line);
    // The address stays one argument, whatever it holds.
    command.append(address);
    return command;
}

QString DefaultBrowserCommandLine() {
    const QString browser = qEnvironmentVariable("BROWSER");
    return browser.isEmpty() ? QStringLiteral("xdg-open \"%1\"") : browser + QStringLiteral(" \"%1\"");
}

bool OpenAddress(const QString& address, const QString& browserCommandLine) {
    if (!IsOpenableAddress(address)) {
        return false;
    }
    if (QDesktopServices::openUrl(QUrl(address.trimmed(), QUrl::StrictMode))) {
        return true;
    }
    const QStringList command = BrowserCommand(browserCommandLine, address.trimmed());
    return command.size() > 1 && QProcess::startDetached(command.first(), command.mid(1));
}

}  // namespace quillet
