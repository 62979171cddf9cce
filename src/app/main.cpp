#include <QApplication>
#include <QSettings>

#include "shell/message_box_prompter.h"
#include "shell/quillet_app.h"
#include "shell/translations.h"
#include "store/program_folder.h"
#include "tray/capture_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    // The program ends by its exit commands, never because its last visible window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    quillet::InstallChineseTranslations(app);
    QSettings profile(QSettings::IniFormat, QSettings::UserScope,
                      QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Quillet"));
    quillet::MessageBoxPrompter prompter;
    quillet::CQuilletApp quillet(quillet::DefaultProgramFolder(), prompter, profile);
    if (!quillet.InitInstance(QApplication::arguments())) {
        return 0;
    }
    quillet::InstallCaptureWindows(*quillet.Frame(), quillet.Store(), quillet.Settings(), prompter);
    const int result = QApplication::exec();
    quillet.ExitInstance();
    return result;
}
