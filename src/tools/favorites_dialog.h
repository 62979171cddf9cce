#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>

#include "store/prompter.h"
#include "tools/favorites_exchange.h"

class QLineEdit;
class QListWidget;

namespace quillet {

class CMainFrame;
class CardStore;

// Exchanges the web library's sites with a browser: a folder of shortcut files or a bookmarks file. It runs
// once; "退出" accepts, Escape and the close box reject.
class FavoritesDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FavoritesDialog)

public:
    enum class Mode { Export, Import };

    FavoritesDialog(Mode mode, std::filesystem::path dataFolder, QWidget* parent = nullptr);

    // What "修改" asks for: a folder, or a bookmarks file; tests answer it themselves. Empty: cancelled.
    using Chooser = std::function<QString(bool bookmarksFile)>;
    void SetChooser(Chooser chooser) { m_choose = std::move(chooser); }

    void Run();
    bool Ran() const { return m_ran; }
    const FavoritesOutcome& Outcome() const { return m_outcome; }

private:
    void Change(bool bookmarksFile);
    void UseDefault();

    Mode m_mode;
    std::filesystem::path m_dataFolder;
    QLineEdit* m_folder;
    QListWidget* m_log;
    Chooser m_choose;
    bool m_ran = false;
    FavoritesOutcome m_outcome;
};

// Commands 32845 (export) and 32846 (import), in the web library only; after an import that wrote a category
// file, or an exit after a run, the data bar reads the library again from disk.
void InstallFavoritesCommands(CMainFrame& frame, CardStore& store);

}  // namespace quillet
