#include "tools/order_dialog.h"

#include <QListView>
#include <QPushButton>
#include <QtTest>

#include "../shell/entry_world.h"
#include "store/codec.h"
#include "tools/statistics_dialog.h"

namespace quillet {

class OrderDialogTest final : public QObject {
    Q_OBJECT

private:
    struct OrderWorld : World {
        void Install(int library, const std::string& category) {
            Open(library, category);
            InstallOrderCommands(*frame, store, prompter);
        }
        // Runs a command; `drive` works the dialog while it is open.
        void Run(int id, const std::function<void(QDialog&)>& drive) {
            QTimer::singleShot(0, [drive] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                drive(*dialog);
            });
            frame->Command(id)->trigger();
        }
        static void Click(QDialog& dialog, int id) {
            QTest::mouseClick(Control<QPushButton>(dialog, id), Qt::LeftButton);
        }
        static void Select(QDialog& dialog, int row) {
            auto* list = Control<QListView>(dialog, res::kOrderList);
            list->setCurrentIndex(list->model()->index(row, 0));
        }
    };

private slots:
    void cards_moveWholeRecords_andTheTreeFollowsWithTheSelectionKept() {
        OrderWorld world;
        world.Seed("Qulan.001", "c",
                   {{"a", "1", ""}, {"same", "first", ""}, {"b", "2", ""}, {"same", "second", ""}, {"e", "5", ""}});
        world.Install(0, "c");
        world.frame->Bar().SelectCardItem(2);
        world.Run(res::kCmdOrderCards, [](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("卡片顺序整理："));
            OrderWorld::Select(dialog, 3);
            OrderWorld::Click(dialog, res::kOrderTop);
            OrderWorld::Select(dialog, 1);
            OrderWorld::Click(dialog, res::kOrderBottom);
            OrderWorld::Click(dialog, res::kIdOk);
        });
        QCOMPARE(
            test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
            test::CategoryBytes(
                "c", {{"same", "second", ""}, {"same", "first", ""}, {"b", "2", ""}, {"e", "5", ""}, {"a", "1", ""}}));
        QCOMPARE(world.Tree().currentIndex().data().toString(), QStringLiteral("b"));
        QCOMPARE(world.frame->View().Text(), "2");

        // Cancel writes nothing; OK without a move writes the same cards again.
        const std::string before = test::ReadBytes(world.store.CategoryFolder() / "Qulan.001");
        world.Run(res::kCmdOrderCards, [](QDialog& dialog) {
            OrderWorld::Click(dialog, res::kOrderDown);
            dialog.reject();
        });
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"), before);
        world.Run(res::kCmdOrderCards, [](QDialog& dialog) { OrderWorld::Click(dialog, res::kIdOk); });
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"), before);
    }

    void categories_areRenumberedInTheNewOrder_withoutGaps() {
        OrderWorld world;
        for (int i = 1; i <= 12; ++i) {
            char file[16];
            std::snprintf(file, sizeof file, "Qulan.%03d", i + (i > 6 ? 3 : 0));  // a gap after the sixth
            world.Seed(file, "k" + std::to_string(i), {});
        }
        world.Install(0, "k1");
        world.Run(res::kCmdOrderCategories, [](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("类别顺序整理："));
            QCOMPARE(Control<QListView>(dialog, res::kOrderList)->model()->rowCount(), 12);
            OrderWorld::Select(dialog, 11);
            OrderWorld::Click(dialog, res::kOrderTop);
            OrderWorld::Click(dialog, res::kIdOk);
        });
        std::vector<std::string> expected;
        for (int i = 1; i <= 12; ++i) {
            char file[16];
            std::snprintf(file, sizeof file, "Qulan.%03d", i);
            expected.push_back(file);
        }
        std::vector<std::string> files = test::FileNames(world.store.CategoryFolder());
        std::erase_if(files, [](const std::string& name) { return name.rfind("Qulan.", 0) != 0; });
        QCOMPARE(files, expected);
        QCOMPARE(world.Categories().itemText(0), QStringLiteral("k12"));
        QCOMPARE(world.Categories().itemText(1), QStringLiteral("k1"));
        QCOMPARE(world.Categories().count(), 12);
    }

    void theStatisticsButton_opensTheCardOrder_now() {
        OrderWorld world;
        world.Seed("Qulan.001", "c", {{"a", "1", ""}});
        world.Install(0, "c");
        InstallStatistics(*world.frame, world.store, world.prompter);
        bool opened = false;
        world.Run(res::kCmdStatistics, [&opened](QDialog& statistics) {
            auto* order = Control<QPushButton>(statistics, res::kStatisticsOrderCards);
            QVERIFY(order->isEnabled());
            QTimer::singleShot(0, [&opened] {
                QWidget* dialog = QApplication::activeModalWidget();
                opened = dialog && dialog->windowTitle() == QStringLiteral("卡片顺序整理：");
                QMetaObject::invokeMethod(dialog, "reject");
            });
            QTest::mouseClick(order, Qt::LeftButton);
            statistics.reject();
        });
        QVERIFY(opened);
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::OrderDialogTest)
#include "order_dialog_test.moc"
