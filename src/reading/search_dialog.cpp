#include "reading/search_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {
namespace {

constexpr int kModeButtons[] = {res::kSearchByName, res::kSearchByContent, res::kSearchByBoth};
constexpr int kLibraryBoxes[] = {res::kSearchLibrary0, res::kSearchLibrary1, res::kSearchLibrary2,
                                 res::kSearchLibrary3};

QString StatusText(const SearchProgress::Snapshot& progress) {
    // Nothing found yet: the text is still empty, as before any category was named.
    if (progress.found == 0) {
        return {};
    }
    return QStringLiteral("当前类型：%1\n已经找出：%2 个资料卡片")
        .arg(QString::fromStdString(ToUtf8(progress.categoryName)))
        .arg(progress.foundInCategory);
}

}  // namespace

SearchDialog::SearchDialog(std::filesystem::path dataFolder, std::string text, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_dataFolder(std::move(dataFolder)), m_text(std::move(text)), m_prompter(prompter) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kSearchDialog));
    auto* start = Control<QPushButton>(*this, res::kIdCancel);
    // Button 2 starts the search here; Escape and the close box come through reject().
    disconnect(start, &QPushButton::clicked, this, nullptr);
    connect(start, &QPushButton::clicked, this, &SearchDialog::OnStartButton);
    start->setText(WithMnemonic(QStringLiteral("开始"), QLatin1Char('S')));
    auto* cancel = Control<QPushButton>(*this, res::kSearchCancel);
    cancel->setText(WithMnemonic(QStringLiteral("取消"), QLatin1Char('C')));
    connect(cancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    start->setFocus();

    Control<QRadioButton>(*this, res::kSearchByName)->setChecked(true);
    for (const int id : kLibraryBoxes) {
        Control<QCheckBox>(*this, id)->setChecked(true);
    }

    m_progressTimer.setInterval(kProgressInterval);
    connect(&m_progressTimer, &QTimer::timeout, this, &SearchDialog::ShowProgress);
    m_progressTimer.start();
}

SearchDialog::~SearchDialog() {
    // Never shown, or destroyed without ending: the thread must not outlive the dialog.
    m_worker.StopAndCollect();
}

SearchRequest SearchDialog::Request() const {
    SearchRequest request;
    request.text = m_text;
    for (std::size_t mode = 0; mode < std::size(kModeButtons); ++mode) {
        if (Control<QRadioButton>(*this, kModeButtons[mode])->isChecked()) {
            request.by = static_cast<SearchBy>(mode);
        }
    }
    for (std::size_t library = 0; library < std::size(kLibraryBoxes); ++library) {
        request.libraries[library] = Control<QCheckBox>(*this, kLibraryBoxes[library])->isChecked();
    }
    return request;
}

void SearchDialog::OnStartButton() {
    if (m_started) {
        done(QDialog::Rejected);  // "退出" once the search has finished
        return;
    }
    Control<QPushButton>(*this, res::kSearchCancel)->hide();
    m_started = m_worker.Start(m_dataFolder, Request());
    auto* start = Control<QPushButton>(*this, res::kIdCancel);
    SetButtonCaption(*start, QStringLiteral("退出"));
    start->setEnabled(false);
}

void SearchDialog::ShowProgress() {
    // Before the start the dialog still says it is ready.
    if (!m_started || m_collected) {
        return;
    }
    const SearchProgress::Snapshot progress = m_worker.Progress();
    Control<QLabel>(*this, res::kSearchFoundCount)->setText(QString::number(progress.found));
    Control<QLabel>(*this, res::kSearchStatus)->setText(StatusText(progress));
    if (progress.running) {
        return;
    }
    Control<QGroupBox>(*this, res::kSearchProgressGroup)->setTitle(QStringLiteral("已经查找完毕"));
    auto* start = Control<QPushButton>(*this, res::kIdCancel);
    start->setEnabled(true);
    start->setFocus();
    Collect(false);
}

void SearchDialog::Collect(bool stop) {
    if (!m_started || m_collected) {
        return;
    }
    m_collected = true;
    m_progressTimer.stop();
    m_outcome = stop ? m_worker.StopAndCollect() : m_worker.Collect();
    if (!m_outcome.unreadable.empty()) {
        std::string text = "下面的文件不能读出或已经损坏，其中的卡片没有查找：";
        for (const std::string& message : m_outcome.unreadable) {
            text += "\n" + message;
        }
        m_prompter.Notice(text);
    }
}

void SearchDialog::done(int result) {
    // Whatever ends the dialog, the worker is stopped and joined before the results are used.
    Collect(true);
    QDialog::done(result);
}

void SearchDialog::reject() {
    // Escape or the close box: before the start nothing is searched; once started the search ends here with
    // what it found so far.
    done(QDialog::Rejected);
}

void SearchDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        done(QDialog::Accepted);
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quillet
