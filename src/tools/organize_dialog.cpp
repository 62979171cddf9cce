#include "tools/organize_dialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeView>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "shell/data_bar.h"
#include "shell/main_frame.h"
#include "store/codec.h"
#include "store/libraries.h"
#include "ui/checked_name_model.h"
#include "ui/dialog_builder.h"
#include "ui/library_tabs.h"

namespace quillet {
namespace {

constexpr const char* kUnpastedCutQuestion = "剪切板中还有尚未粘贴的卡片，是否放回原来的类别？";
constexpr const char* kRecoveredCutQuestion =
    "上次整理资料时剪切的卡片还没有粘贴，程序就结束了。\n是否把这些卡片放回原来的类别？\n"
    "（选“否”则卡片留在青榆剪切板中，可以粘贴到别的类别）";

void PrepareTree(QTreeView& tree, CheckedNameModel& model) {
    tree.setModel(&model);
    tree.setRootIsDecorated(false);
    tree.setUniformRowHeights(true);
    tree.setDragEnabled(false);
}

}  // namespace

OrganizeDialog::OrganizeDialog(CardStore& store, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      m_session(store),
      m_prompter(prompter),
      m_source(new CheckedNameModel(this)),
      m_clipboard(new CheckedNameModel(this)) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kOrganizeDialog));
    m_tabs = Control<QTabBar>(*this, res::kOrganizeTabs);
    m_categories = Control<QComboBox>(*this, res::kOrganizeCategories);
    m_sourceTree = Control<QTreeView>(*this, res::kOrganizeSource);
    m_clipboardTree = Control<QTreeView>(*this, res::kOrganizeClipboard);
    m_overwrite = Control<QRadioButton>(*this, res::kOrganizeOverwrite);
    Control<QRadioButton>(*this, res::kOrganizeSkip)->setChecked(true);
    PrepareTree(*m_sourceTree, *m_source);
    PrepareTree(*m_clipboardTree, *m_clipboard);
    AddLibraryTabs(*m_tabs);

    const std::pair<int, void (OrganizeDialog::*)()> buttons[] = {{res::kOrganizeCopy, &OrganizeDialog::Copy},
                                                                  {res::kOrganizeCut, &OrganizeDialog::Cut},
                                                                  {res::kOrganizePaste, &OrganizeDialog::Paste},
                                                                  {res::kOrganizeClear, &OrganizeDialog::Clear}};
    for (const auto& [id, handler] : buttons) {
        connect(Control<QPushButton>(*this, id), &QPushButton::clicked, this, handler);
    }
    const std::pair<int, std::pair<CheckedNameModel*, void (CheckedNameModel::*)()>> ticks[] = {
        {res::kOrganizeSourceAll, {m_source, &CheckedNameModel::TickAll}},
        {res::kOrganizeSourceInvert, {m_source, &CheckedNameModel::InvertTicks}},
        {res::kOrganizeClipboardAll, {m_clipboard, &CheckedNameModel::TickAll}},
        {res::kOrganizeClipboardInvert, {m_clipboard, &CheckedNameModel::InvertTicks}}};
    for (const auto& [id, action] : ticks) {
        connect(Control<QPushButton>(*this, id), &QPushButton::clicked, action.first, action.second);
    }

    const int library = IsLibrary(store.currentLibrary) ? store.currentLibrary : 0;
    ShowLibrary(library);
    connect(m_tabs, &QTabBar::currentChanged, this, &OrganizeDialog::ShowLibrary);
    connect(m_categories, &QComboBox::activated, this, &OrganizeDialog::OnCategoryChosen);

    bool recovered = false;
    Report(m_session.TakeOverRecovery(recovered));
    if (recovered) {
        FillClipboard();
        if (m_prompter.Confirm(kRecoveredCutQuestion)) {
            Report(m_session.PutBack());
            ShowLibrary(m_session.Library());
            FillClipboard();
        }
    }
}

ExistingCard OrganizeDialog::Rule() const {
    return m_overwrite->isChecked() ? ExistingCard::Overwrite : ExistingCard::Skip;
}

void OrganizeDialog::Report(const StoreError& error) {
    if (error) {
        m_prompter.Notice(error.Message());
    }
}

void OrganizeDialog::ReportNotices() {
    std::string text;
    for (const std::string& notice : m_session.TakeNotices()) {
        text += (text.empty() ? "" : "\n") + notice;
    }
    if (!text.empty()) {
        m_prompter.Notice(text);
    }
}

void OrganizeDialog::ShowLibrary(int library) {
    const StoreError error = m_session.ChooseLibrary(library);
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(m_session.Library());
    }
    m_categories->clear();
    for (const OrganizeCategory& category : m_session.Categories()) {
        m_categories->addItem(QString::fromStdString(ToUtf8(category.name)));
    }
    m_categories->setCurrentIndex(m_session.Chosen());
    FillSource();
    ReportNotices();
    Report(error);
}

void OrganizeDialog::OnCategoryChosen(int index) {
    const StoreError error = m_session.ChooseCategory(index);
    FillSource();
    Report(error);
}

void OrganizeDialog::FillSource() {
    const CardTable& cards = m_session.Cards();
    m_source->Reset([&cards](std::size_t i) { return cards.NameAt(i); }, cards.Size());
}

void OrganizeDialog::FillClipboard() {
    const OrganizeClipboard& clipboard = m_session.Clipboard();
    m_clipboard->Reset([&clipboard](std::size_t i) { return std::string_view(clipboard.At(i).card.name); },
                       clipboard.Size(), true);
}

void OrganizeDialog::Copy() {
    if (m_source->Empty()) {
        return;
    }
    Report(m_session.Copy(m_source->Ticked(), Rule()));
    FillClipboard();
}

void OrganizeDialog::Cut() {
    if (m_source->Empty()) {
        return;
    }
    Report(m_session.Cut(m_source->Ticked(), Rule()));
    FillSource();
    FillClipboard();
}

void OrganizeDialog::Paste() {
    if (m_session.Clipboard().Empty() || m_clipboard->Empty()) {
        return;
    }
    Report(m_session.Paste(m_clipboard->Ticked(), Rule()));
    FillSource();
}

bool OrganizeDialog::SettleCutCards() {
    if (!m_session.Clipboard().HasUnpastedCut()) {
        return true;
    }
    switch (m_prompter.AskSave(kUnpastedCutQuestion)) {
        case SaveAnswer::Yes:
            if (StoreError error = m_session.PutBack()) {
                Report(error);
                ShowLibrary(m_session.Library());
                return false;  // what could not go back stays in the clipboard, and in the recovery file
            }
            ShowLibrary(m_session.Library());
            return true;
        case SaveAnswer::No:
            Report(m_session.GiveUpCutCards());
            return true;
        case SaveAnswer::Cancel:
            return false;
    }
    return false;
}

void OrganizeDialog::Clear() {
    if (!SettleCutCards()) {
        FillClipboard();
        return;
    }
    m_session.Clear();
    FillClipboard();
}

void OrganizeDialog::accept() {
    if (SettleCutCards()) {
        QDialog::accept();
    }
}

void OrganizeDialog::reject() {
    if (SettleCutCards()) {
        QDialog::reject();
    }
}

void InstallOrganizeTool(CMainFrame& frame, CardStore& store, Prompter& prompter) {
    frame.Provide(res::kCmdOrganize, [&frame, &store, &prompter] {
        if (!frame.Operations().SaveQuestionBeforeModeSwitch()) {
            return;
        }
        {
            OrganizeDialog dialog(store, prompter, &frame);
            dialog.exec();
        }
        // The tool wrote category files and changed the open one: the bar reads everything again.
        frame.Bar().ReloadFromDisk();
        frame.UpdateCommands();
    });
}

}  // namespace quillet
