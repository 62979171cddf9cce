#pragma once

#include <QSettings>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "shell/main_frame.h"
#include "shell/settings_file.h"
#include "store/card_store.h"
#include "store/instance_lock.h"
#include "store/prompter.h"

namespace quillet {

// The program: one running instance, the settings of the last run, the shared card store and the entry-mode
// window. Start-up and end follow one fixed order.
class CQuilletApp final {
public:
    CQuilletApp(std::filesystem::path programFolder, Prompter& prompter, QSettings& profile);
    ~CQuilletApp();
    CQuilletApp(const CQuilletApp&) = delete;
    CQuilletApp& operator=(const CQuilletApp&) = delete;

    // False when the program must end at once: another instance runs.
    bool InitInstance(const QStringList& arguments);
    // Writes the settings file and empties the tables; run after the window has closed.
    void ExitInstance();

    void ShowAbout();
    void ShowTipOfTheDay();
    void ShowStartOptions();

    CardStore& Store() { return m_store; }
    AppSettings& Settings() { return m_settings; }
    CMainFrame* Frame() { return m_frame.get(); }
    std::filesystem::path SettingsFile() const;

    static void KeepFreedMemory();
    // Before the application object exists: on a Wayland session that also offers X11, X11, where a program
    // may place its windows, keep them on top and dock them to an edge. A platform the user chose is kept.
    static void PreferX11();
    // The switches that start the program without its picture and tip: an embedding or automation start.
    static bool IsQuietStart(const QStringList& arguments);

private:
    // The data folder's one-writer lock for the whole run, then the work a crash left unfinished.
    void TakeDataFolder();
    void OfferSetAsideFiles();

    InstanceLock m_lock;
    CardStore m_store;
    AppSettings m_settings;
    Prompter& m_prompter;
    QSettings& m_profile;
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace quillet
