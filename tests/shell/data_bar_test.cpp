#include <QComboBox>
#include <QTabBar>
#include <QTreeWidget>
#include <QtTest>

#include "../store/test_folder.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/codec.h"
#include "test_prompter.h"
#include "ui/dialog_builder.h"

namespace quillet {

// The real entry-mode window over a data folder made for each test.
class World {
public:
    World() : store(home.Path()) {
        store.EnsureDataFolder();
        store.flags.noSavedState = false;
    }
    void Seed(const char* file, const std::string& name, const std::vector<CardRecord>& cards) {
        test::WriteBytes(store.CategoryFolder() / file, test::CategoryBytes(name, cards));
    }
    void Open(int library, const std::string& category = {}) {
        store.currentLibrary = library;
        store.libraryStates[library].categoryName = category;
        frame = std::make_unique<CMainFrame>(store, prompter, settings);
        frame->show();
    }
    QTreeWidget& Tree() { return *Control<QTreeWidget>(frame->Bar(), res::kDataBarTree); }
    QComboBox& Categories() { return *Control<QComboBox>(frame->Bar(), res::kDataBarCategories); }
    QTreeWidgetItem* Root() { return Tree().topLevelItem(0); }
    void Click(QTreeWidgetItem* item) {
        QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, Tree().visualItemRect(item).center());
    }

    test::TestFolder home;
    CardStore store;
    AppSettings settings;
    test::TestPrompter prompter;
    std::unique_ptr<CMainFrame> frame;
};

class DataBarTest final : public QObject {
    Q_OBJECT

private slots:
    void libraryWithoutCategories_showsAnEmptyListAndTree() {
        World world;
        world.Seed("Quuse.001", "elsewhere", {});
        world.Open(0);
        QCOMPARE(world.Categories().count(), 0);
        QCOMPARE(world.Tree().topLevelItemCount(), 0);
        QCOMPARE(world.frame->View().Text(), std::string());
    }

    void categoryWithoutCards_isClosedAndCountsZero() {
        World world;
        world.Seed("Qulan.001", "empty", {});
        world.Open(0, "empty");
        QVERIFY(world.Root());
        QVERIFY(!world.Root()->isExpanded());
        QCOMPARE(world.Root()->childCount(), 0);
        QCOMPARE(world.frame->View().Text(), ToStoredText("当前类别为：empty \r\n资料卡片数：0 "));
    }

    void twoCardsOfOneName_bothShowTheFirst() {
        World world;
        world.Seed("Qulan.001", "c", {{"same", "first", ""}, {"same", "second", ""}});
        world.Open(0, "c");
        world.Click(world.Root()->child(1));
        QCOMPARE(world.frame->View().Text(), std::string("first"));
        world.Click(world.Root()->child(0));
        QCOMPARE(world.frame->View().Text(), std::string("first"));
    }

    void noToTheSaveQuestion_keepsTheFlagAndShowsTheNewCard_keyboardAsksNothing() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "text a", ""}, {"b", "text b", ""}, {"c", "text c", ""}});
        world.Open(0, "c");
        world.Click(world.Root()->child(0));
        QTest::keyClicks(&world.frame->View(), QStringLiteral("x"));
        world.Click(world.Root()->child(1));
        QCOMPARE(world.prompter.shown, std::vector<std::string>{"save:资料卡片内容已经改变，是否存盘？"});
        QVERIFY(world.store.flags.cardModified);
        QCOMPARE(world.frame->View().Text(), std::string("text b"));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", "text a", ""}, {"b", "text b", ""}, {"c", "text c", ""}}));

        world.prompter.shown.clear();
        QTest::keyClicks(&world.frame->View(), QStringLiteral("y"));
        world.Tree().setFocus();
        QTest::keyClick(&world.Tree(), Qt::Key_Down);
        QVERIFY(world.prompter.shown.empty());
        QCOMPARE(world.frame->View().Text(), std::string("text c"));
    }

    void yesToTheSaveQuestion_writesTheCardLeft() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "text a", ""}, {"b", "text b", ""}});
        world.Open(0, "c");
        world.Click(world.Root()->child(0));
        world.frame->View().selectAll();
        QTest::keyClicks(&world.frame->View(), QStringLiteral("new"));
        world.prompter.saveAnswer = SaveAnswer::Yes;
        world.Click(world.Root()->child(1));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", "new", ""}, {"b", "text b", ""}}));
    }

    void deleteKeyOnTheLastCategory_leavesListAndTreeEmpty() {
        World world;
        world.Seed("Qulan.001", "only", {{"a", "1", ""}});
        world.Open(0, "only");
        world.Tree().setCurrentItem(world.Root());
        QTest::keyClick(&world.Tree(), Qt::Key_Delete);
        QCOMPARE(world.prompter.shown, std::vector<std::string>{"confirm:即将删除本类型中的所有卡片资料，继续吗？"});
        QVERIFY(!std::filesystem::exists(world.store.CategoryFolder() / "Qulan.001"));
        QCOMPARE(world.Categories().count(), 0);
        QCOMPARE(world.Tree().topLevelItemCount(), 0);
    }

    void deleteKeyOnACard_selectsTheCardAbove() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}});
        world.Open(0, "c");
        world.Tree().setCurrentItem(world.Root()->child(2));
        QTest::keyClick(&world.Tree(), Qt::Key_Delete);
        QCOMPARE(world.Root()->childCount(), 2);
        QCOMPARE(world.Tree().currentItem(), world.Root()->child(1));
        QCOMPARE(world.frame->View().Text(), std::string("2"));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", "1", ""}, {"b", "2", ""}}));
    }

    void switchingLibraryAndCategory_loadsFromTheFiles() {
        World world;
        world.Seed("Qulan.001", "one", {{"a", "1", ""}});
        world.Seed("Qulan.002", "two", {{"b", "2", ""}, {"c", "3", ""}});
        world.Seed("Quweb.001", "sites", {{"site", "about", "http://a"}});
        world.store.libraryStates[3].categoryName = "sites";
        world.store.libraryStates[3].cardName = "site";
        world.store.libraryStates[3].categoryPath = (world.store.CategoryFolder() / "Quweb.001").string();
        world.Open(0, "one");
        world.Categories().setCurrentIndex(1);
        emit world.Categories().activated(1);
        QCOMPARE(world.Root()->childCount(), 2);
        QCOMPARE(world.store.libraryStates[0].categoryName, std::string("two"));
        Control<QTabBar>(world.frame->Bar(), res::kDataBarTabs)->setCurrentIndex(3);
        QCOMPARE(world.store.currentLibrary, 3);
        QCOMPARE(world.frame->View().Text(), std::string("site  [ http://a ]\r\n\r\nabout"));
    }

    void operations_actOnTheRealPane() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "1", ""}, {"b", "2", ""}});
        world.Open(0, "c");
        world.Tree().setCurrentItem(world.Root()->child(0));
        world.frame->Operations().DeleteCard();
        QCOMPARE(world.Root()->childCount(), 1);
        QCOMPARE(world.frame->View().Text(), std::string("2"));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::DataBarTest)
#include "data_bar_test.moc"
