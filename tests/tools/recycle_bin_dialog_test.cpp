#include "tools/recycle_bin_dialog.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "../shell/entry_world.h"
#include "store/codec.h"

namespace quillet {

class RecycleBinDialogTest final : public QObject {
    Q_OBJECT

private:
    struct BinWorld : World {
        BinWorld() {
            Seed("Qulan.001", ToStoredText("笔记"), {{ToStoredText("第一"), ToStoredText("正文"), ""}, {"b", "2", ""}});
            Open(0, ToStoredText("笔记"));
            InstallRecycleBin(*frame, store, prompter);
        }
        void Run(const std::function<void(RecycleBinDialog&)>& drive) {
            QTimer::singleShot(0, [drive] {
                auto* dialog = qobject_cast<RecycleBinDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                drive(*dialog);
                if (QTest::currentTestFailed()) {
                    dialog->done(QDialog::Rejected);
                }
            });
            frame->Command(res::kCmdRecycleBin)->trigger();
        }
    };

private slots:
    void aDeletedCard_isListedWithItsText_andRestoredFromTheWindow() {
        BinWorld world;
        const std::string before = test::ReadBytes(world.store.CategoryFolder() / "Qulan.001");
        world.prompter.confirmAnswer = true;
        world.frame->Bar().SelectCardItem(0);
        world.frame->Command(res::kCmdDeleteCard)->trigger();
        QCOMPARE(world.CardCount(), 1);
        world.Run([](RecycleBinDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("回收站"));
            QCOMPARE(dialog.ItemCount(), 1);
            auto* items = Control<QTreeView>(dialog, res::kRecycleBinItems);
            QCOMPARE(items->model()->index(0, 2).data().toString(), QStringLiteral("笔记"));
            QCOMPARE(items->model()->index(0, 3).data().toString(), QStringLiteral("第一"));
            QVERIFY(Control<QPlainTextEdit>(dialog, res::kRecycleBinPreview)
                        ->toPlainText()
                        .contains(QStringLiteral("正文")));
            items->selectionModel()->select(items->model()->index(0, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
            QTest::mouseClick(Control<QPushButton>(dialog, res::kRecycleBinRestore), Qt::LeftButton);
            QCOMPARE(dialog.ItemCount(), 0);
            dialog.reject();
        });
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"), before);
        QCOMPARE(world.CardCount(), 2);
    }

    void emptying_asksFirst() {
        BinWorld world;
        world.prompter.confirmAnswer = true;
        world.frame->Bar().SelectCardItem(1);
        world.frame->Command(res::kCmdDeleteCard)->trigger();
        world.Run([&world](RecycleBinDialog& dialog) {
            world.prompter.confirmAnswer = false;
            QTest::mouseClick(Control<QPushButton>(dialog, res::kRecycleBinEmpty), Qt::LeftButton);
            QCOMPARE(dialog.ItemCount(), 1);
            world.prompter.confirmAnswer = true;
            QTest::mouseClick(Control<QPushButton>(dialog, res::kRecycleBinEmpty), Qt::LeftButton);
            QCOMPARE(dialog.ItemCount(), 0);
            QVERIFY(!Control<QPushButton>(dialog, res::kRecycleBinRestore)->isEnabled());
            dialog.reject();
        });
        QVERIFY(world.prompter.shown.back().starts_with("confirm:回收站中的卡片和类别将被永久删除"));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::RecycleBinDialogTest)
#include "recycle_bin_dialog_test.moc"
