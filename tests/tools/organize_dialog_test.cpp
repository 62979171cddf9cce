#include "tools/organize_dialog.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QtTest>

#include "../shell/entry_world.h"
#include "shell/quillet_view.h"
#include "store/category_file.h"
#include "ui/checked_name_model.h"

namespace quillet {

class OrganizeDialogTest final : public QObject {
    Q_OBJECT

private:
    struct OrganizeWorld : World {
        void Install(int library, const std::string& category) {
            Open(library, category);
            InstallOrganizeTool(*frame, store, prompter);
        }
        // Runs the tool; `drive` works it while it is open.
        void Run(const std::function<void(OrganizeDialog&)>& drive) {
            QTimer::singleShot(0, [drive] {
                auto* dialog = qobject_cast<OrganizeDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                drive(*dialog);
                if (QTest::currentTestFailed()) {
                    dialog->done(QDialog::Rejected);  // a failed check must not leave the tool open
                }
            });
            frame->Command(res::kCmdOrganize)->trigger();
        }
        std::string Bytes(const char* file) { return test::ReadBytes(store.CategoryFolder() / file); }
    };
    static void Click(QDialog& dialog, int id) { QTest::mouseClick(Control<QPushButton>(dialog, id), Qt::LeftButton); }
    static QTreeView& Tree(QDialog& dialog, int id) { return *Control<QTreeView>(dialog, id); }
    // Ticks a row from the keyboard, as a user does: the row made current, then Space.
    static void Tick(QDialog& dialog, int id, int row) {
        QTreeView& tree = Tree(dialog, id);
        tree.setFocus();
        tree.setCurrentIndex(tree.model()->index(row, 0));
        QTest::keyClick(&tree, Qt::Key_Space);
    }
    static std::vector<bool> Ticks(QDialog& dialog, int id) {
        const QAbstractItemModel& model = *Tree(dialog, id).model();
        std::vector<bool> ticks;
        for (int row = 0; row < model.rowCount(); ++row) {
            ticks.push_back(model.index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked);
        }
        return ticks;
    }

private slots:
    void copyAndTicks_fillTheClipboardAllTicked_andInvertUnticksThem() {
        OrganizeWorld world;
        world.Seed("Qulan.001", "x", {{"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}});
        world.Install(0, "x");
        world.Run([](OrganizeDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("资料整理工具："));
            QVERIFY(Control<QRadioButton>(dialog, res::kOrganizeSkip)->isChecked());
            QCOMPARE(Ticks(dialog, res::kOrganizeSource), (std::vector<bool>{false, false, false}));
            Tick(dialog, res::kOrganizeSource, 2);
            Tick(dialog, res::kOrganizeSource, 0);
            Click(dialog, res::kOrganizeCopy);
            QCOMPARE(Ticks(dialog, res::kOrganizeClipboard), (std::vector<bool>{true, true}));
            QCOMPARE(Tree(dialog, res::kOrganizeClipboard).model()->index(1, 0).data().toString(), QStringLiteral("c"));
            Click(dialog, res::kOrganizeClipboardInvert);
            QCOMPARE(Ticks(dialog, res::kOrganizeClipboard), (std::vector<bool>{false, false}));
            Click(dialog, res::kOrganizeSourceInvert);
            QCOMPARE(Ticks(dialog, res::kOrganizeSource), (std::vector<bool>{false, true, false}));
            // Nothing ticked: the clipboard stays, and its tree is filled again all ticked.
            Click(dialog, res::kOrganizeSourceInvert);
            Click(dialog, res::kOrganizeCopy);
            QCOMPARE(Ticks(dialog, res::kOrganizeClipboard), (std::vector<bool>{true, true}));
            dialog.accept();
        });
        QVERIFY(world.prompter.notices.empty());
    }

    void escapeAfterATabSwitch_keepsTheToolsLibrary_andTheBarSavesOnlyWhatItShows() {
        OrganizeWorld world;
        world.Seed("Qulan.001", "x", {{"a", "1", ""}});
        world.Seed("Quuse.001", "tools", {{"t", "old", ""}});
        world.Install(0, "x");
        world.Run([](OrganizeDialog& dialog) {
            Control<QTabBar>(dialog, res::kOrganizeTabs)->setCurrentIndex(1);
            QCOMPARE(Ticks(dialog, res::kOrganizeSource).size(), 0u);  // nothing remembered in that library yet
            auto* categories = Control<QComboBox>(dialog, res::kOrganizeCategories);
            categories->setCurrentIndex(0);
            emit categories->activated(0);
            QCOMPARE(Ticks(dialog, res::kOrganizeSource).size(), 1u);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QCOMPARE(world.store.currentLibrary, 1);
        QCOMPARE(Control<QTabBar>(world.frame->Bar(), res::kDataBarTabs)->currentIndex(), 1);
        QCOMPARE(world.Categories().currentText(), QStringLiteral("tools"));

        const std::string x = world.Bytes("Qulan.001");
        world.Click(world.Card(0));
        world.frame->View().selectAll();
        QTest::keyClicks(&world.frame->View(), QStringLiteral("new"));
        world.frame->Command(res::kCmdSaveCard)->trigger();
        QCOMPARE(world.Bytes("Quuse.001"), test::CategoryBytes("tools", {{"t", "new", ""}}));
        QCOMPARE(world.Bytes("Qulan.001"), x);
    }

    void closingWithUnpastedCutCards_asks_andYesPutsThemBack() {
        OrganizeWorld world;
        world.Seed("Qulan.001", "x", {{"a", "1", ""}, {"b", "2", ""}});
        world.Install(0, "x");
        world.prompter.saveAnswer = SaveAnswer::Cancel;
        bool stayed = false;
        world.Run([&world, &stayed](OrganizeDialog& dialog) {
            Tick(dialog, res::kOrganizeSource, 0);
            Click(dialog, res::kOrganizeCut);
            QCOMPARE(Ticks(dialog, res::kOrganizeSource).size(), 1u);
            QCOMPARE(world.Bytes("Qulan.001"), test::CategoryBytes("x", {{"b", "2", ""}}));
            Click(dialog, res::kIdOk);
            stayed = dialog.isVisible();
            world.prompter.saveAnswer = SaveAnswer::Yes;
            Click(dialog, res::kIdOk);
        });
        QVERIFY(stayed);
        QCOMPARE(world.prompter.shown.back(), std::string("save:剪切板中还有尚未粘贴的卡片，是否放回原来的类别？"));
        QCOMPARE(world.Bytes("Qulan.001"), test::CategoryBytes("x", {{"b", "2", ""}, {"a", "1", ""}}));
        QCOMPARE(world.CardCount(), 2);
        QVERIFY(!std::filesystem::exists(world.store.CategoryFolder() / "Quillet.cut"));
    }

    void cutCardsLeftByARunThatDidNotEnd_areOfferedBackAtTheNextOpening() {
        OrganizeWorld world;
        world.Seed("Qulan.001", "x", {{"a", "1", ""}, {"b", "2", ""}});
        world.Install(0, "x");
        {
            OrganizeSession crashed(world.store);
            crashed.ChooseLibrary(0);
            QVERIFY(!crashed.Cut({1}, ExistingCard::Skip));
        }
        world.prompter.confirmAnswer = true;
        world.Run([](OrganizeDialog& dialog) {
            QVERIFY(!dialog.Session().Clipboard().HasUnpastedCut());
            QCOMPARE(Ticks(dialog, res::kOrganizeSource).size(), 2u);
            dialog.accept();
        });
        QVERIFY(world.prompter.shown.front().starts_with("confirm:上次整理资料时剪切的卡片还没有粘贴"));
        QCOMPARE(world.Bytes("Qulan.001"), test::CategoryBytes("x", {{"a", "1", ""}, {"b", "2", ""}}));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::OrganizeDialogTest)
#include "organize_dialog_test.moc"
