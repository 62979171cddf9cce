#include "tools/statistics_dialog.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/card_store.h"
#include "store/codec.h"
#include "store/statistics.h"
#include "ui/dialog_builder.h"

namespace quillet {

StatisticsDialog::StatisticsDialog(CMainFrame& frame, const std::filesystem::path& dataFolder, Prompter& prompter)
    : QDialog(&frame) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kStatisticsDialog));
    const Statistics statistics = StoreStatistics(dataFolder);
    auto* list = Control<QListWidget>(*this, res::kStatisticsList);
    for (const std::string& line : statistics.lines) {
        list->addItem(QString::fromStdString(ToUtf8(line)));
    }
    if (!statistics.unreadable.empty()) {
        std::string text;
        for (const std::string& message : statistics.unreadable) {
            text += (text.empty() ? "" : "\n") + message;
        }
        prompter.Notice(text);
    }
    // The order dialog is the frame's command: offered here exactly when the program offers it.
    auto* order = Control<QPushButton>(*this, res::kStatisticsOrderCards);
    QAction* orderCards = frame.Command(res::kCmdOrderCards);
    frame.UpdateCommands();
    order->setEnabled(orderCards && orderCards->isEnabled());
    if (!order->isEnabled()) {
        order->setToolTip(QStringLiteral("这个版本还没有提供卡片顺序整理"));
    }
    connect(order, &QPushButton::clicked, this, [orderCards] {
        if (orderCards && orderCards->isEnabled()) {
            orderCards->trigger();
        }
    });
}

void InstallStatistics(CMainFrame& frame, CardStore& store, Prompter& prompter) {
    frame.Provide(res::kCmdStatistics, [&frame, &store, &prompter] {
        if (!IsLibrary(store.currentLibrary)) {
            return;
        }
        StatisticsDialog dialog(frame, store.CategoryFolder(), prompter);
        dialog.exec();
    });
}

}  // namespace quillet
