#include "shell/open_address.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace quillet {

namespace {

bool IsHex(QChar c) { return c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')); }

// The characters an address may hold as typed: those of RFC 3986, percent escapes that are whole, and letters
// beyond ASCII (which QUrl encodes). Blanks, quotes, backticks, controls and the like never pass.
bool HasOnlyAddressCharacters(const QString& text) {
    static const QString allowed = QStringLiteral("-._~:/?#[]@!$&'()*+,;=");
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('%')) {
            if (i + 2 >= text.size() || !IsHex(text[i + 1]) || !IsHex(text[i + 2])) {
                return false;
            }
            continue;
        }
        const bool ascii = c.unicode() < 0x80;
        if (ascii ? !(c.isLetterOrNumber() || allowed.contains(c)) : !c.isLetterOrNumber() && !c.isPunct()) {
            return false;
        }
    }
    return true;
}

QUrl ParsedAddress(const QString& address) {
    const QString text = address.trimmed();
    if (!HasOnlyAddressCharacters(text)) {
        return {};
    }
    return QUrl(text, QUrl::StrictMode);
}

// What the browser is given: the address fully encoded, with the two characters a shell would act on as well.
QString EncodedAddress(const QUrl& url) {
    QString encoded = url.toString(QUrl::FullyEncoded);
    encoded.replace(QLatin1Char('$'), QStringLiteral("%24"));
    encoded.replace(QLatin1Char('\''), QStringLiteral("%27"));
    return encoded;
}

}  // namespace

bool IsOpenableAddress(const QString& address) {
    const QUrl url = ParsedAddress(address);
    if (!url.isValid()) {
        return false;
    }
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
    const QUrl url = ParsedAddress(address);
    if (QDesktopServices::openUrl(url)) {
        return true;
    }
    const QStringList command = BrowserCommand(browserCommandLine, EncodedAddress(url));
    return command.size() > 1 && QProcess::startDetached(command.first(), command.mid(1));
}

}  // namespace quillet
