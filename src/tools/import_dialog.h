#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>

#include "store/backup_import.h"
#include "store/prompter.h"

class QListWidget;

namespace quillet {

// The import dialog: a backup file to merge into the card store, whether same-named cards are overwritten,
// and, once the import ran, its log. It runs at most one import; "退出" accepts, "返回", Escape and the close
// box reject.
class ImportDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImportDialog)

public:
    ImportDialog(std::filesystem::path dataFolder, Prompter& prompter, QWidget* parent = nullptr);

    // What the "..." button asks; tests answer it themselves. Empty: cancelled.
    void SetFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }

    // The import of button 1030.
    void RunImport();
    bool Ran() const { return m_ran; }
    const ImportOutcome& Outcome() const { return m_outcome; }

    // The two heights: the file choice alone, and with the log below it.
    int SmallHeight() const { return m_smallHeight; }
    int LargeHeight() const { return m_largeHeight; }

private:
    void Browse();

    std::filesystem::path m_dataFolder;
    Prompter& m_prompter;
    QListWidget* m_log;
    std::function<QString()> m_chooseFile;
    int m_smallHeight = 0;
    int m_largeHeight = 0;
    bool m_ran = false;
    ImportOutcome m_outcome;
};

// The file dialogs' filter for backup files, in the form QFileDialog takes.
QString BackupFileFilter();

}  // namespace quillet
