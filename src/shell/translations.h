#pragma once

class QCoreApplication;

namespace quillet {

// Qt's own texts (file dialogs, standard buttons, the editor's context menu, print preview) in Chinese, from
// Debian's Qt translations. False when they are not installed; the program then still runs.
bool InstallChineseTranslations(QCoreApplication& application);

}  // namespace quillet
