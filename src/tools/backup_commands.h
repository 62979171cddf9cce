#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "store/prompter.h"

namespace quillet {

class CMainFrame;
class CardStore;
class ImportDialog;

// The backup commands of entry mode: export of the whole card store into one file (32790) and the merge of
// such a file (32789). Both ask about a changed card first; after an import that wrote anything the data bar
// reads the store again, however the dialog was closed.
class BackupCommands final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackupCommands)

public:
    BackupCommands(CMainFrame& frame, CardStore& store, Prompter& prompter);

    void Export();
    void Import();

    // Where export asks for its file; empty: cancelled. Tests answer it themselves.
    void SetExportFileChooser(std::function<QString()> chooser) { m_chooseExportFile = std::move(chooser); }
    // Called with the import dialog before it runs, so that tests can drive it.
    void SetImportDialogHook(std::function<void(ImportDialog&)> hook) { m_importHook = std::move(hook); }

private:
    CMainFrame& m_frame;
    CardStore& m_store;
    Prompter& m_prompter;
    std::function<QString()> m_chooseExportFile;
    std::function<void(ImportDialog&)> m_importHook;
};

BackupCommands* InstallBackupCommands(CMainFrame& frame, CardStore& store, Prompter& prompter);

}  // namespace quillet
