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
    switch (m_outcome.end) {
        case ImportEnd::CannotOpen:
            m_prompter.Notice("导入文件不能打开！");
            return;
        case ImportEnd::BadHeader:
            m_prompter.Notice("导入文件文件格式非法！不能读出！");
            break;
        case ImportEnd::Failed:
            m_prompter.Notice(m_outcome.error.Message() + "\n导入在这里停止了；此前写入的类别都是完整的。");
            return;
        case ImportEnd::Finished:
            break;
    }
    setWindowTitle(QStringLiteral("导入工作结束"));
    FindControl(*this, res::kImportExit)->show();
    FindControl(*this, res::kIdCancel)->hide();
    Control<QPushButton>(*this, res::kImportExit)->setDefault(true);
}

}  // namespace quillet
