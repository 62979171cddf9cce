#include "tools/statistics_dialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "../shell/entry_world.h"
#include "store/codec.h"

namespace quillet {

class StatisticsDialogTest final : public QObject {
    Q_OBJECT

private slots:
    void command_listsTheStoredCounts_notWhileTheSearchResultsAreCurrent() {
        World world;
        world.Seed("Qulan.001", ToStoredText("算法"), {{"one", "1", ""}, {"two", "2", ""}});
        world.Open(0, ToStoredText("算法"));
        InstallStatistics(*world.frame, world.store, world.prompter);
        QVERIFY(world.frame->Command(res::kCmdStatistics)->isEnabled());
        QStringList lines;
        bool orderOffered = true;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("资料统计："));
            auto* list = Control<QListWidget>(*dialog, res::kStatisticsList);
            for (int i = 0; i < list->count(); ++i) {
                lines << list->item(i)->text();
            }
            orderOffered = Control<QPushButton>(*dialog, res::kStatisticsOrderCards)->isEnabled();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        world.frame->Command(res::kCmdStatistics)->trigger();
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines[2], QStringLiteral(" 1） 算法 [卡片:2]"));
        QVERIFY2(!orderOffered, "the order dialog is not there yet");

        world.store.currentLibrary = kSearchResultsLibrary;
        world.frame->Command(res::kCmdStatistics)->trigger();  // would block here if it opened
        QVERIFY(!QApplication::activeModalWidget());
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::StatisticsDialogTest)
#include "statistics_dialog_test.moc"
