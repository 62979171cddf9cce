#include "tools/backup_commands.h"

#include <QFileDialog>

#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/backup_file.h"
#include "store/card_store.h"
#include "store/codec.h"
#include "tools/import_dialog.h"

namespace quillet {
namespace {

const std::string kImportDone =
    "++ 导入工作已经完成！\r\n++ "
    "如果需要进行资料之间的调整（将不同标签类别中的卡片互换等操作），请选择菜单“资料”－>“资料整理”";

}  // namespace

BackupCommands::BackupCommands(CMainFrame& frame, CardStore& store, Prompter& prompter)
    : QObject(&frame), m_frame(frame), m_store(store), m_prompter(prompter) {
    m_chooseExportFile = [this] {
        QFileDialog dialog(&m_frame);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(BackupFileFilter());
        dialog.setDefaultSuffix(QStringLiteral("quo"));
        dialog.selectFile(QStringLiteral("Quillet"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                       : QString();
    };
}

void BackupCommands::Export() {
    // The card being edited goes into the backup as the user sees it, or not at all: asked first.
    if (!m_frame.Operations().SaveQuestionBeforeModeSwitch()) {
        return;
    }
    const QString chosen = m_chooseExportFile();
    if (chosen.isEmpty()) {
        return;
    }
    const ExportOutcome outcome = ExportBackup(m_store.CategoryFolder(), WithBackupExtension(chosen.toStdString()));
    if (outcome.error) {
        m_prompter.Notice(outcome.error.Message() + "\n没有备份；同名的旧备份文件没有改变。");
        return;
    }
    if (!outcome.leftOut.empty()) {
        std::string text = "备份已经写好，但下面的文件没有备份进去：";
        for (const std::string& message : outcome.leftOut) {
            text += "\n" + message;
        }
        m_prompter.Notice(text);
    }
}

void BackupCommands::Import() {
    if (!m_frame.Operations().SaveQuestionBeforeModeSwitch()) {
        return;
    }
    ImportDialog dialog(m_store.CategoryFolder(), m_prompter, &m_frame);
    if (m_importHook) {
        m_importHook(dialog);
    }
    const bool exited = dialog.exec() == QDialog::Accepted;
    const ImportOutcome& outcome = dialog.Outcome();
    if (outcome.filesWritten == 0 && !(exited && outcome.end == ImportEnd::Finished)) {
        return;
    }
    // The files changed behind the open table: read again before anything could be saved over them.
    DataBar& bar = m_frame.Bar();
    bar.ReloadLibrary();
    if (exited && outcome.end == ImportEnd::Finished) {
        // The hint stands where no card is selected, so nothing typed into it can be saved into a card.
        bar.SelectCategoryNode();
        bar.SetEditorText(ToStoredText(kImportDone));
        bar.SetEditorModified(false);
        m_store.flags.cardModified = false;
    }
    m_frame.UpdateCommands();
}

BackupCommands* InstallBackupCommands(CMainFrame& frame, CardStore& store, Prompter& prompter) {
    auto* commands = new BackupCommands(frame, store, prompter);
    frame.Provide(res::kCmdExportBackup, [commands] { commands->Export(); });
    frame.Provide(res::kCmdImportBackup, [commands] { commands->Import(); });
    return commands;
}

}  // namespace quillet
