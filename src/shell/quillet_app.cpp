#include "shell/quillet_app.h"

#include <malloc.h>

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

#include "res/resource_ids.h"
#include "shell/about_dialog.h"
#include "shell/splash_window.h"
#include "shell/start_options_dialog.h"
#include "store/recycle_bin.h"
#include "ui/screen_fit.h"
#include "ui/tip_dialog.h"
#include "ui/tip_file.h"

namespace quillet {

CQuilletApp::CQuilletApp(std::filesystem::path programFolder, Prompter& prompter, QSettings& profile)
    : m_store(std::move(programFolder)), m_prompter(prompter), m_profile(profile) {}

CQuilletApp::~CQuilletApp() = default;

std::filesystem::path CQuilletApp::SettingsFile() const { return m_store.ProgramFolder() / kSettingsFileName; }

void CQuilletApp::KeepFreedMemory() {
    // A category's table is freed when another is chosen; kept by the process, its memory serves the next one
    // without being handed back and faulted in again, which is most of what opening a big category costs.
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

void CQuilletApp::PreferX11() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        qEnvironmentVariableIsEmpty("DISPLAY")) {
        return;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
}

bool CQuilletApp::IsQuietStart(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        const QString option = argument.mid(1);
        if ((argument.startsWith(QLatin1Char('-')) || argument.startsWith(QLatin1Char('/'))) &&
            (option.compare(QStringLiteral("Embedding"), Qt::CaseInsensitive) == 0 ||
             option.compare(QStringLiteral("Automation"), Qt::CaseInsensitive) == 0)) {
            return true;
        }
    }
    return false;
}

bool CQuilletApp::InitInstance(const QStringList& arguments) {
    KeepFreedMemory();
    // The program ends by its exit commands, never because its last visible window closed: with the frame
    // hidden in the tray, closing the card viewer must not end it.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (!m_lock.TryAcquire()) {
        m_prompter.Notice("青榆资料夹已经正在运行!");
        return false;
    }
    if (LoadSettingsFile(SettingsFile(), m_settings, m_store)) {
        m_store.EnsureDataFolder();
    }
    TakeDataFolder();
    const bool withPictures = !IsQuietStart(arguments);
    // Entry mode always starts on a real library: the search results are a tab of reading mode only, which
    // gets them back when the program starts in it.
    const bool startInReadingMode = m_settings.startMode == 1;
    const bool searchTabRemembered = m_store.currentLibrary == kSearchResultsLibrary;
    if (searchTabRemembered) {
        m_store.currentLibrary = 0;
    }

    m_frame = std::make_unique<CMainFrame>(m_store, m_prompter, m_settings);
    QObject::connect(m_frame.get(), &CMainFrame::tipOfTheDayRequested, [this] { ShowTipOfTheDay(); });
    QObject::connect(m_frame.get(), &CMainFrame::aboutRequested, [this] { ShowAbout(); });
    QObject::connect(m_frame.get(), &CMainFrame::startOptionsRequested, [this] { ShowStartOptions(); });
    if (withPictures) {
        auto* splash = new SplashWindow(m_frame.get());
        splash->show();
    }
    // Centred at a size that shows the four tabs, a useful tree and the editor.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        m_frame->setGeometry(DefaultFrameRect(screen->availableGeometry()));
    }
    if (searchTabRemembered && startInReadingMode) {
        m_store.currentLibrary = kSearchResultsLibrary;
    }
    // Starting in reading mode, the window is first shown when the user leaves that mode for entry mode.
    if (!startInReadingMode) {
        m_frame->ShowForEntryMode();
    }
    if (withPictures && !startInReadingMode) {
        TipDialog tip(m_store.ProgramFolder() / kTipsFileName, m_profile, m_frame.get());
        if (tip.ShowAtStartUp()) {
            tip.exec();
        }
    }
    return true;
}

void CQuilletApp::TakeDataFolder() {
    if (!std::filesystem::is_directory(m_store.CategoryFolder())) {
        return;  // taken when the first category is created
    }
    // A tool that is writing a card is given a moment to finish; another running program keeps the folder.
    if (StoreError error =
            m_store.AcquireDataLock("青榆资料夹", DataFolderLock::Hold::WholeRun, std::chrono::milliseconds(3000))) {
        m_prompter.Notice(error.Message() + "\n\n本次运行可以阅读资料，但不能修改。");
        return;
    }
    // Only now, holding the folder, may an interrupted renumbering be finished.
    if (StoreError error = m_store.RecoverInterruptedWork()) {
        m_prompter.Notice(error.Message());
    }
    // Old deletions go at the start, never in the middle of an operation.
    RecycleBin(m_store.CategoryFolder()).Expire();
    OfferSetAsideFiles();
}

void CQuilletApp::OfferSetAsideFiles() {
    const std::vector<std::filesystem::path> files = SetAsideFiles(m_store.CategoryFolder());
    if (files.empty()) {
        return;
    }
    std::string names;
    for (const std::filesystem::path& file : files) {
        names += "\n  " + file.filename().string();
    }
    if (!m_prompter.Confirm("资料文件夹中有排序时移开、没有放回的类别文件：" + names +
                            "\n\n它们现在不在任何类别列表中。要把它们恢复为类别吗？")) {
        return;
    }
    std::string failures;
    for (const std::filesystem::path& file : files) {
        std::filesystem::path restored;
        if (StoreError error = RestoreSetAsideFile(file, restored)) {
            failures += error.Message() + "\n";
        }
    }
    if (!failures.empty()) {
        m_prompter.Notice(failures);
        return;
    }
    // Whatever journal is left described these files, which are back in their lists.
    std::error_code ignored;
    std::filesystem::remove(m_store.CategoryFolder() / kRenumberJournalName, ignored);
}

void CQuilletApp::ExitInstance() {
    // A settings file that cannot be written costs only the window state of this run.
    SaveSettingsFile(SettingsFile(), m_settings, m_store);
    m_store.openTable.Clear();
    m_store.searchResults.Clear();
    m_frame.reset();
}

void CQuilletApp::ShowAbout() {
    AboutDialog dialog(m_frame.get());
    dialog.exec();
}

void CQuilletApp::ShowTipOfTheDay() {
    TipDialog dialog(m_store.ProgramFolder() / kTipsFileName, m_profile, m_frame.get());
    dialog.exec();
}

void CQuilletApp::ShowStartOptions() {
    // A start mode is offered once the program carries out the command that enters it.
    const auto carriedOut = [this](int id) {
        const QAction* command = m_frame->Command(id);
        return command && command->isEnabled();
    };
    StartOptionsDialog dialog(m_settings, m_frame.get(),
                              {true, carriedOut(res::kCmdReadingMode), carriedOut(res::kCmdHideToTray)});
    dialog.exec();
}

}  // namespace quillet
