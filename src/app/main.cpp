#include <QApplication>
#include <QSettings>

#include "reading/card_viewer_control.h"
#include "reading/reading_mode.h"
#include "shell/message_box_prompter.h"
#include "shell/quillet_app.h"
#include "shell/translations.h"
#include "store/program_folder.h"
#include "tools/backup_commands.h"
#include "tools/favorites_dialog.h"
#include "tools/order_dialog.h"
#include "tools/organize_dialog.h"
#include "tools/recycle_bin_dialog.h"
#include "tools/statistics_dialog.h"
#include "tray/capture_window.h"
#include "tray/hidden_mode.h"

int main(int argc, char* argv[]) {
    quillet::CQuilletApp::PreferX11();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    quillet::InstallChineseTranslations(app);
    QSettings profile(QSettings::IniFormat, QSettings::UserScope,
                      QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Quillet"));
    quillet::MessageBoxPrompter prompter;
    quillet::CQuilletApp quillet(quillet::DefaultProgramFolder(), prompter, profile);
    if (!quillet.InitInstance(QApplication::arguments())) {
        return 0;
    }
    quillet::CMainFrame& frame = *quillet.Frame();
    quillet::InstallCaptureWindows(frame, quillet.Store(), quillet.Settings(), prompter);
    quillet::InstallBackupCommands(frame, quillet.Store(), prompter);
    quillet::InstallStatistics(frame, quillet.Store(), prompter);
    quillet::InstallOrderCommands(frame, quillet.Store(), prompter);
    quillet::InstallOrganizeTool(frame, quillet.Store(), prompter);
    quillet::InstallFavoritesCommands(frame, quillet.Store());
    quillet::InstallRecycleBin(frame, quillet.Store(), prompter);
    quillet::CardViewerControl* viewer = quillet::InstallCardViewer(frame, quillet.Store(), quillet.Settings());
    quillet::HiddenMode* tray = quillet::InstallTray(frame, prompter);
    quillet::ReadingMode* reading = quillet::InstallReadingMode(frame, quillet.Store(), prompter, *viewer, *tray);
    tray->Start(quillet.Settings().startMode);
    if (quillet.Settings().startMode == 1) {
        reading->Enter();
    }
    // An exit chosen while start-up still ran (from the tip of the day, say) is not lost.
    const int result = frame.ExitRequested() ? 0 : QApplication::exec();
    quillet.ExitInstance();
    return result;
}
