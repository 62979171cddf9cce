#include "tools/import_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {

QString BackupFileFilter() {
    // Linux has no "*.*": a name without a dot would be hidden by it.
    return QStringLiteral("\"青榆资料夹\"资料备份文件(*.quo);;所有文件 (*)");
}

ImportDialog::ImportDialog(std::filesystem::path dataFolder, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_dataFolder(std::move(dataFolder)), m_prompter(prompter) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kImportDialog));
    m_log = Control<QListWidget>(*this, res::kImportLog);
    // The file choice alone at first; the log comes into view below it once the import runs.
    const QRect start = FindControl(*this, res::kImportStart)->geometry();
    m_smallHeight = start.bottom() + start.height() / 2 + 1;
    m_largeHeight = m_log->geometry().bottom() + (m_log->x() + 1);
    setFixedSize(width(), m_smallHeight);
    FindControl(*this, res::kImportExit)->hide();
    m_chooseFile = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(), BackupFileFilter(), nullptr,
                                            QFileDialog::ReadOnly);
    };
    connect(Control<QPushButton>(*this, res::kImportBrowse), &QPushButton::clicked, this, &ImportDialog::Browse);
    connect(Control<QPushButton>(*this, res::kImportStart), &QPushButton::clicked, this, &ImportDialog::RunImport);
    connect(Control<QPushButton>(*this, res::kImportExit), &QPushButton::clicked, this, &QDialog::accept);
}

void ImportDialog::Browse() {
    if (const QString file = m_chooseFile(); !file.isEmpty()) {
        Control<QLineEdit>(*this, res::kImportFile)->setText(file);
    }
}

void ImportDialog::RunImport() {
    if (m_ran) {
        return;
    }
    m_ran = true;
    const std::filesystem::path file = Control<QLineEdit>(*this, res::kImportFile)->text().toStdString();
    const bool overwrite = Control<QCheckBox>(*this, res::kImportOverwrite)->isChecked();
    setFixedSize(width(), m_largeHeight);
    for (const int id : {res::kImportBrowse, res::kImportStart, res::kImportOverwrite, res::kImportFile}) {
        FindControl(*this, id)->setEnabled(false);
    }
    // The log is kept in step with the import: each line once its file is written.
    m_outcome = ImportBackup(m_dataFolder, file, {overwrite, false}, [this](const std::string& line) {
        m_log->addItem(QString::fromStdString(ToUtf8(line)));
        m_log->scrollToBottom();
        m_log->repaint();
    });
    if (m_outcome.end != ImportEnd::Finished) {
        m_prompter.Notice(ImportEndMessage(m_outcome));
    }
    // A wrong header still ends the work; a file that could not be opened or a stop on the way does not.
    if (m_outcome.end == ImportEnd::CannotOpen || m_outcome.end == ImportEnd::Failed) {
        return;
    }
    setWindowTitle(QStringLiteral("导入工作结束"));
    FindControl(*this, res::kImportExit)->show();
    FindControl(*this, res::kIdCancel)->hide();
    Control<QPushButton>(*this, res::kImportExit)->setDefault(true);
}

}  // namespace quillet
