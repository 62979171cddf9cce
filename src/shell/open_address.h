#pragma once

#include <QString>
#include <QStringList>

namespace quillet {

// Only web and mail addresses are opened; anything else (a program's path from an imported file, say) is
// refused, so an address can never run a program.
bool IsOpenableAddress(const QString& address);

// The browser's command line for an address: the line is cut before a quoted "%1" (or before a bare %1), then
// a blank and the address are appended. Split into program and arguments, never handed to a shell.
QStringList BrowserCommand(const QString& commandLine, const QString& address);

// Opens the address with the desktop's handler, or else with the browser command line; false when refused
// or when neither could start.
bool OpenAddress(const QString& address, const QString& browserCommandLine);

// The browser command line of this desktop: $BROWSER, else xdg-open.
QString DefaultBrowserCommandLine();

}  // namespace quillet
