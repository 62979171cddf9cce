#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <functional>
#include <map>
#include <set>

#include "shell/data_bar.h"
#include "shell/dialog_name_input.h"
#include "shell/quillet_doc.h"
#include "shell/quillet_view.h"
#include "store/card_operations.h"

class QAction;
class QMenu;
class QTextBrowser;
class QToolBar;

namespace quillet {

namespace res {
struct Menu;
}
class DynamicBar;

// The entry-mode window: the menus, the toolbar, the data bar in its docking bar and the card editor. Every
// command has one action, found by its id; its enabled and checked state follows the rules of the command
// table.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    CMainFrame(CardStore& store, Prompter& prompter, AppSettings& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CQuilletView& View() { return *m_view; }
    CQuilletDoc& Doc() { return m_doc; }
    DataBar& Bar() { return *m_dataBar; }
    DynamicBar& DockingBar() { return *m_dockingBar; }
    CardOperations& Operations() { return m_operations; }
    QToolBar& ToolBar() { return *m_toolBar; }

    // The action of a command id, or nullptr.
    QAction* Command(int id) const;
    // Sets enabled and checked states from the current state.
    void UpdateCommands();
    // A window above the entry-mode window (tray, reading mode, tools) carries the command out from now on.
    void Provide(int id, std::function<void()> handler);
    // A pop-up of this menu: its own texts, each entry running the command's action and enabled as it is.
    QMenu* CreatePopupMenu(const res::Menu& menu, QWidget* parent);
    // Pop-up `popupIndex` of the context menus, at that place; its commands are carried out here.
    void ShowContextMenu(int popupIndex, QPoint globalPosition);
    // The pane that lists cards while it is in use (the reading window registers itself for its life); the
    // data bar otherwise.
    void UseCardPane(CardPane* pane) { m_paneInUse = pane; }
    CardPane& PaneInUse() const { return m_paneInUse ? *m_paneInUse : *m_dataBar; }
    // Shows the entry-mode window; the first time maximised if the start options say so, with the data bar at
    // its remembered size.
    void ShowForEntryMode();
    // The exit command was carried out: the program ends, even when that happened before the event loop ran.
    bool ExitRequested() const { return m_exitRequested; }

    // Where "save card as text" asks for the file, and whether to keep the stored bytes instead of UTF-8;
    // tests answer it themselves.
    struct TextFileChoice {
        QString file;  // empty: cancelled
        bool storedBytes = false;
    };
    void SetSaveFileChooser(std::function<TextFileChoice()> chooser) { m_chooseSaveFile = std::move(chooser); }
    // Whether help may go to the desktop's browser first; tests say no to see the program's own window.
    void SetOpenHelpInBrowser(bool allowed) { m_openHelpInBrowser = allowed; }
    QTextBrowser* HelpWindow() const { return m_helpWindow; }
    // The browser command line used when the desktop cannot open an address.
    void SetBrowserCommandLine(const QString& commandLine) { m_browserCommandLine = commandLine; }
    // What opens a capture window for (library, category index); without one nothing opens.
    void SetCaptureOpener(std::function<bool(int, int)> opener) { m_capture.opener = std::move(opener); }

    void Print();
    void PrintPreview();
    void PrintSetup();
    void ApplyAlwaysOnTop();
    void ToggleDataBar();
    void Undo();
    void ToggleAlwaysOnTop();
    void SaveCardAsText();
    void VisitSite();
    void OpenHelp();
    void OpenAddressOrSaySo(const QString& address);
    // F6 and Shift+F6: the library tabs, the category list, the tree and the editor in turn.
    void MoveFocusBetweenPanes(int direction);

signals:
    void tipOfTheDayRequested();
    void aboutRequested();
    void startOptionsRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class CaptureWindows final : public CaptureOpener {
    public:
        bool OpenCaptureWindow(int library, int categoryIndex) override {
            return opener && opener(library, categoryIndex);
        }
        std::function<bool(int, int)> opener;
    };

    QAction* CreateCommand(int id, const QString& text);
    // The data bar at the size it had when the program last ended; once the window is shown.
    void RestoreDataBarSize();
    void BuildMenus();
    void BuildToolBar();
    void ConnectCommands();
    QMenu* MenuOf(int popupIndex);

    CardStore& m_store;
    Prompter& m_prompter;
    AppSettings& m_settings;
    CQuilletView* m_view;
    DialogNameInput m_input;
    DataBar* m_dataBar;
    DynamicBar* m_dockingBar;
    CaptureWindows m_capture;
    CardOperations m_operations;
    CQuilletDoc m_doc;
    QToolBar* m_toolBar = nullptr;
    std::map<int, QAction*> m_commands;
    std::map<int, QMenu*> m_contextMenus;
    QPrinter m_printer;
    std::function<TextFileChoice()> m_chooseSaveFile;
    QString m_browserCommandLine;
    QSize m_savedBarSize;
    std::set<int> m_provided;
    bool m_openHelpInBrowser = true;
    bool m_exitRequested = false;
    bool m_shownOnce = false;
    CardPane* m_paneInUse = nullptr;
    QTextBrowser* m_helpWindow = nullptr;  // from the settings, before the first layout overwrites them
};

}  // namespace quillet
