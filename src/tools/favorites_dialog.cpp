#include "tools/favorites_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "shell/data_bar.h"
#include "shell/main_frame.h"
#include "store/card_store.h"
#include "store/libraries.h"
#include "ui/dialog_builder.h"

namespace quillet {
namespace {

const QString kChooserTitle = QStringLiteral("青榆资料夹－站点导出（请选择IE收藏夹导出位置）");

QString Shown(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

FavoritesDialog::FavoritesDialog(Mode mode, std::filesystem::path dataFolder, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_dataFolder(std::move(dataFolder)) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kFavoritesDialog));
    m_folder = Control<QLineEdit>(*this, res::kFavoritesFolder);
    m_log = Control<QListWidget>(*this, res::kFavoritesLog);
    auto* overwrite = Control<QCheckBox>(*this, res::kFavoritesOverwrite);
    auto* start = Control<QPushButton>(*this, res::kIdOk);
    overwrite->setVisible(mode == Mode::Import);
    if (mode == Mode::Import) {
        setWindowTitle(QStringLiteral("网络资源－站点导入："));
        SetButtonCaption(*start, QStringLiteral("导入"));
    }
    m_folder->setText(Shown(DefaultFavoritesFolder(mode == Mode::Export)));
    m_folder->setToolTip(QStringLiteral("收藏夹文件夹，或者浏览器的书签文件（.html）"));

    m_choose = [this](bool bookmarksFile) {
        const QString current = m_folder->text();
        if (!bookmarksFile) {
            return QFileDialog::getExistingDirectory(this, kChooserTitle, current);
        }
        const QString filter = QStringLiteral("书签文件 (*.html *.htm)");
        if (m_mode == Mode::Import) {
            return QFileDialog::getOpenFileName(this, kChooserTitle, current, filter);
        }
        QString chosen = QFileDialog::getSaveFileName(this, kChooserTitle, current, filter);
        if (!chosen.isEmpty() && !IsBookmarksFile(chosen.toStdString())) {
            chosen += QStringLiteral(".html");
        }
        return chosen;
    };
    // One button, two kinds of place: Linux browsers keep bookmarks files, not shortcut folders.
    auto* change = Control<QPushButton>(*this, res::kFavoritesChange);
    auto* places = new QMenu(change);
    connect(places->addAction(QStringLiteral("选择收藏夹文件夹(&F)...")), &QAction::triggered, this,
            [this] { Change(false); });
    connect(places->addAction(QStringLiteral("选择书签文件(&B)...")), &QAction::triggered, this,
            [this] { Change(true); });
    change->setMenu(places);
    connect(Control<QPushButton>(*this, res::kFavoritesDefault), &QPushButton::clicked, this,
            &FavoritesDialog::UseDefault);
    disconnect(start, nullptr, this, nullptr);
    connect(start, &QPushButton::clicked, this, &FavoritesDialog::Run);
    connect(Control<QPushButton>(*this, res::kFavoritesExit), &QPushButton::clicked, this, &QDialog::accept);
}

void FavoritesDialog::Change(bool bookmarksFile) {
    const QString chosen = m_choose(bookmarksFile);
    if (!chosen.isEmpty()) {
        m_folder->setText(chosen);
    }
}

void FavoritesDialog::UseDefault() {
    const std::filesystem::path folder = DefaultFavoritesFolder(m_mode == Mode::Export);
    std::error_code ignored;
    std::filesystem::create_directory(folder, ignored);
    m_folder->setText(Shown(folder));
}

void FavoritesDialog::Run() {
    if (m_ran) {
        return;
    }
    auto* start = Control<QPushButton>(*this, res::kIdOk);
    auto* exit = Control<QPushButton>(*this, res::kFavoritesExit);
    const std::filesystem::path path = ExpandedFavoritesPath(m_folder->text().trimmed().toStdString());
    const auto log = [this](const std::string& line) { m_log->addItem(QString::fromStdString(line)); };
    if (path.empty()) {
        log("“" + m_folder->text().toStdString() + "”不是完整的路径，请以 / 或 ~/ 开头");
        return;  // nothing ran: the path can be mended
    }
    m_ran = true;
    start->setEnabled(false);
    exit->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_outcome = m_mode == Mode::Export
                    ? ExportFavorites(m_dataFolder, path, log)
                    : ImportFavorites(m_dataFolder, path,
                                      Control<QCheckBox>(*this, res::kFavoritesOverwrite)->isChecked(), log);
    QApplication::restoreOverrideCursor();
    m_log->scrollToBottom();
    exit->setEnabled(true);
    exit->setDefault(true);
    exit->setFocus();
}

void InstallFavoritesCommands(CMainFrame& frame, CardStore& store) {
    const auto run = [&frame, &store](FavoritesDialog::Mode mode) {
        if (store.currentLibrary != kWebLibrary || !frame.Operations().SaveQuestionBeforeModeSwitch()) {
            return;
        }
        FavoritesDialog dialog(mode, store.CategoryFolder(), &frame);
        const bool exited = dialog.exec() == QDialog::Accepted;
        if ((exited && dialog.Ran()) || dialog.Outcome().filesWritten > 0) {
            frame.Bar().ReloadFromDisk();
            frame.UpdateCommands();
        }
    };
    frame.Provide(res::kCmdExportFavorites, [run] { run(FavoritesDialog::Mode::Export); });
    frame.Provide(res::kCmdImportFavorites, [run] { run(FavoritesDialog::Mode::Import); });
}

}  // namespace quillet
