#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "../store/test_folder.h"
#include "entry_world.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/codec.h"
#include "test_prompter.h"
#include "ui/dialog_builder.h"

namespace quillet {

class DataBarTest final : public QObject {
    Q_OBJECT

private slots:
    void libraryWithoutCategories_showsAnEmptyListAndTree() {
        World world;
        world.Seed("Quuse.001", "elsewhere", {});
        world.Open(0);
        QCOMPARE(world.Categories().count(), 0);
        QCOMPARE(world.Tree().model()->rowCount(), 0);
        QCOMPARE(world.frame->View().Text(), std::string());
    }

    void categoryWithoutCards_isClosedAndCountsZero() {
        World world;
        world.Seed("Qulan.001", "empty", {});
        world.Open(0, "empty");
        QVERIFY(world.Root().isValid());
        QVERIFY(!world.Tree().isExpanded(world.Root()));
        QCOMPARE(world.CardCount(), 0);
        QCOMPARE(world.frame->View().Text(), ToStoredText("当前类别为：empty \r\n资料卡片数：0 "));
    }

    // A category made or renamed here can be chosen again from the list, and opens its own file.
    void createdAndRenamedCategories_openAgainFromTheList() {
        World world;
        world.Seed("Qulan.001", "first", {{"a", "1", ""}});
        world.Open(0, "first");
        world.prompter.confirmAnswer = true;
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                dialog->findChild<QLineEdit*>()->setText(QStringLiteral("second"));
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        world.frame->Operations().CreateCategory();
        QCOMPARE(world.Categories().count(), 2);
        world.Categories().setCurrentIndex(0);
        emit world.Categories().activated(0);
        QCOMPARE(world.store.Open().storedName, std::string("first"));
        world.Categories().setCurrentIndex(1);
        emit world.Categories().activated(1);
        QVERIFY(world.prompter.notices.empty());
        QCOMPARE(world.store.Open().file, world.store.CategoryFolder() / "Qulan.002");
    }

    void rememberedCard_isShownAndStaysRemembered() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "1", ""}, {"b", "2", ""}});
        world.store.libraryStates[0].cardName = "b";
        world.Open(0, "c");
        QCOMPARE(world.Tree().currentIndex(), world.Card(1));
        QCOMPARE(world.frame->View().Text(), std::string("2"));
        QCOMPARE(world.store.libraryStates[0].cardName, std::string("b"));
    }

    void twoCardsOfOneName_bothShowTheFirst() {
        World world;
        world.Seed("Qulan.001", "c", {{"same", "first", ""}, {"same", "second", ""}});
        world.Open(0, "c");
        world.Click(world.Card(1));
        QCOMPARE(world.frame->View().Text(), std::string("first"));
        world.Click(world.Card(0));
        QCOMPARE(world.frame->View().Text(), std::string("first"));
    }

    void noToTheSaveQuestion_keepsTheFlagAndShowsTheNewCard_keyboardAsksToo() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "text a", ""}, {"b", "text b", ""}, {"c", "text c", ""}});
        world.Open(0, "c");
        world.Click(world.Card(0));
        QTest::keyClicks(&world.frame->View(), QStringLiteral("x"));
        world.Click(world.Card(1));
        QCOMPARE(world.prompter.shown, std::vector<std::string>{"save:资料卡片内容已经改变，是否存盘？"});
        QVERIFY(world.store.flags.cardModified);
        QCOMPARE(world.frame->View().Text(), std::string("text b"));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", "text a", ""}, {"b", "text b", ""}, {"c", "text c", ""}}));

        world.prompter.shown.clear();
        QTest::keyClicks(&world.frame->View(), QStringLiteral("y"));
        world.Tree().setFocus();
        world.prompter.saveAnswer = SaveAnswer::Yes;
        QTest::keyClick(&world.Tree(), Qt::Key_Down);
        QCOMPARE(world.prompter.shown, std::vector<std::string>{"save:资料卡片内容已经改变，是否存盘？"});
        QCOMPARE(world.frame->View().Text(), std::string("text c"));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", "text a", ""}, {"b", "ytext b", ""}, {"c", "text c", ""}}));
    }

    // Yes with a folder that cannot be written: the notice, and the user stays on the card with the text.
    void failedSaveOnAnyMove_keepsTheUserOnTheCardWithTheText() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "text a", ""}, {"b", "text b", ""}});
        world.Seed("Qulan.002", "d", {});
        world.Open(0, "c");
        world.Click(world.Card(0));
        QTest::keyClicks(&world.frame->View(), QStringLiteral("typed "));
        ::chmod((world.store.CategoryFolder() / "Qulan.001").c_str(), 0444);
        world.prompter.saveAnswer = SaveAnswer::Yes;
        const std::string typed = "typed text a";
        auto staysWithText = [&](const char* move) {
            QVERIFY2(world.Tree().currentIndex() == world.Card(0), move);
            QCOMPARE(world.frame->View().Text(), typed);
            QVERIFY(world.frame->View().Modified());
            QCOMPARE(world.store.currentLibrary, 0);
            QCOMPARE(world.Categories().currentIndex(), 0);
        };
        world.Click(world.Card(1));
        staysWithText("click");
        world.Tree().setFocus();
        QTest::keyClick(&world.Tree(), Qt::Key_Down);
        staysWithText("arrow key");
        Control<QTabBar>(world.frame->Bar(), res::kDataBarTabs)->setCurrentIndex(1);
        staysWithText("library tab");
        world.Categories().setCurrentIndex(1);
        emit world.Categories().activated(1);
        staysWithText("category list");
        QCOMPARE(world.prompter.notices.size(), std::size_t{4});
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", "text a", ""}, {"b", "text b", ""}}));

        ::chmod((world.store.CategoryFolder() / "Qulan.001").c_str(), 0644);
        world.Click(world.Card(1));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", typed, ""}, {"b", "text b", ""}}));
    }

    // A damaged category leaves nothing open: no card is filed anywhere, the editor shows the empty summary
    // and takes no typing, and the notice comes once however often the list is read.
    void damagedCategory_opensNothingAndIsReportedOnce() {
        World world;
        world.Seed("Qulan.001", "healthy", {{"a", "1", ""}});
        const std::string whole = test::CategoryBytes("cut", {{"a", "1", ""}, {"b", "2", ""}});
        test::WriteBytes(world.store.CategoryFolder() / "Qulan.002", whole.substr(0, whole.size() - 2));
        world.Open(0, "healthy");
        world.Categories().setCurrentIndex(1);
        emit world.Categories().activated(1);
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QVERIFY(!world.store.Open().IsOpen());
        QCOMPARE(world.store.libraryStates[0].categoryPath, std::string());
        QVERIFY(world.frame->View().isReadOnly());
        QCOMPARE(world.frame->View().Text(), ToStoredText("当前类别为： \r\n资料卡片数：0 "));
        world.frame->Bar().ReloadLibrary();
        emit world.Categories().activated(1);
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("healthy", {{"a", "1", ""}}));
    }

    void escapeInTheBar_closesNothing() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "1", ""}});
        world.Open(0, "c");
        for (QWidget* target : {static_cast<QWidget*>(&world.Tree()), static_cast<QWidget*>(&world.Categories()),
                                static_cast<QWidget*>(&world.frame->Bar())}) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Escape);
        }
        QVERIFY(world.frame->Bar().isVisible());
        QVERIFY(world.Tree().isVisible());
    }

    void webLibrary_showsSitesReadOnly() {
        World world;
        world.Seed("Quweb.001", "sites", {{"site", "about", "http://a"}});
        world.Open(3, "sites");
        world.Click(world.Card(0));
        QVERIFY(world.frame->View().isReadOnly());
        QVERIFY(!world.frame->View().toolTip().isEmpty());
    }

    // Rename by double click is the menu's rename: its name check, and only the card that was clicked.
    void doubleClickRename_checksTheNameAndRenamesOneCard() {
        World world;
        world.Seed("Qulan.001", "c", {{"same", "first", ""}, {"same", "second", ""}, {"other", "3", ""}});
        world.Open(0, "c");
        bool answered = false;
        world.AnswerNextName(QStringLiteral("other"), answered);
        world.Click(world.Card(1));
        emit world.Tree().doubleClicked(world.Card(1));
        QVERIFY(answered);
        QCOMPARE(world.prompter.notices, std::vector<std::string>{"这个知识卡片已经存在，卡片名称修改失败！"});
        answered = false;
        world.AnswerNextName(QStringLiteral("renamed"), answered);
        world.Click(world.Card(1));
        emit world.Tree().doubleClicked(world.Card(1));
        QVERIFY(answered);
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"same", "first", ""}, {"renamed", "second", ""}, {"other", "3", ""}}));
        QCOMPARE(world.Card(0).data().toString(), QStringLiteral("same"));
        QCOMPARE(world.Card(1).data().toString(), QStringLiteral("renamed"));
    }

    void yesToTheSaveQuestion_writesTheCardLeft() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "text a", ""}, {"b", "text b", ""}});
        world.Open(0, "c");
        world.Click(world.Card(0));
        world.frame->View().selectAll();
        QTest::keyClicks(&world.frame->View(), QStringLiteral("new"));
        world.prompter.saveAnswer = SaveAnswer::Yes;
        world.Click(world.Card(1));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", "new", ""}, {"b", "text b", ""}}));
    }

    void deleteKeyOnTheLastCategory_leavesListAndTreeEmpty() {
        World world;
        world.Seed("Qulan.001", "only", {{"a", "1", ""}});
        world.Open(0, "only");
        world.Tree().setCurrentIndex(world.Root());
        QTest::keyClick(&world.Tree(), Qt::Key_Delete);
        QCOMPARE(world.prompter.shown,
                 std::vector<std::string>{"confirm:即将删除本类型和其中的所有卡片资料，继续吗？"});
        QVERIFY(!std::filesystem::exists(world.store.CategoryFolder() / "Qulan.001"));
        QCOMPARE(world.Categories().count(), 0);
        QCOMPARE(world.Tree().model()->rowCount(), 0);
    }

    void deleteKeyOnACard_selectsTheCardAbove() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}});
        world.Open(0, "c");
        world.Tree().setCurrentIndex(world.Card(2));
        QTest::keyClick(&world.Tree(), Qt::Key_Delete);
        QCOMPARE(world.CardCount(), 2);
        QCOMPARE(world.Tree().currentIndex(), world.Card(1));
        QCOMPARE(world.frame->View().Text(), std::string("2"));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                 test::CategoryBytes("c", {{"a", "1", ""}, {"b", "2", ""}}));
    }

    // A slip of the Delete key is taken back with Ctrl+Z where it happened: the card, then the category, come
    // back as they were and are shown again.
    void ctrlZInTheBar_undoesTheLastDeletion() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}});
        const std::string before = test::ReadBytes(world.store.CategoryFolder() / "Qulan.001");
        world.Open(0, "c");
        QVERIFY(QTest::qWaitForWindowActive(world.frame.get()));
        QVERIFY(!world.frame->Command(res::kCmdUndoDelete)->isEnabled());
        world.Tree().setFocus();
        world.Tree().setCurrentIndex(world.Card(1));
        QTest::keyClick(&world.Tree(), Qt::Key_Delete);
        QCOMPARE(world.CardCount(), 2);
        world.frame->UpdateCommands();
        QVERIFY(world.frame->Command(res::kCmdUndoDelete)->isEnabled());
        QTest::keyClick(&world.Tree(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"), before);
        QCOMPARE(world.CardCount(), 3);
        QCOMPARE(world.Tree().currentIndex(), world.Card(1));
        QCOMPARE(world.frame->View().Text(), std::string("2"));

        world.Tree().setCurrentIndex(world.Root());
        QTest::keyClick(&world.Tree(), Qt::Key_Delete);
        QCOMPARE(world.Categories().count(), 0);
        QTest::keyClick(&world.Tree(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"), before);
        QCOMPARE(world.Categories().currentText(), QStringLiteral("c"));
        QCOMPARE(world.CardCount(), 3);
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
        QCOMPARE(world.CardCount(), 2);
        QCOMPARE(world.store.libraryStates[0].categoryName, std::string("two"));
        Control<QTabBar>(world.frame->Bar(), res::kDataBarTabs)->setCurrentIndex(3);
        QCOMPARE(world.store.currentLibrary, 3);
        QCOMPARE(world.frame->View().Text(), std::string("site  [ http://a ]\r\n\r\nabout"));
    }

    // A category as big as users' biggest: the last card is selected, renamed and deleted like any other, and
    // the file holds exactly the cards that are left.
    void hundredThousandCards_lastCardIsSelectedRenamedAndDeleted() {
        std::vector<CardRecord> cards;
        for (int i = 0; i < 100000; ++i) {
            cards.push_back({ToStoredText("卡片名称第" + std::to_string(i) + "号"), "text " + std::to_string(i), ""});
        }
        World world;
        world.Seed("Qulan.001", "big", cards);
        world.Open(0, "big");
        QCOMPARE(world.CardCount(), 100000);

        world.Click(world.Card(99999));
        QCOMPARE(world.Tree().currentIndex(), world.Card(99999));
        QCOMPARE(world.frame->View().Text(), std::string("text 99999"));

        bool answered = false;
        world.AnswerNextName(QStringLiteral("最后一张"), answered);
        emit world.Tree().doubleClicked(world.Card(99999));
        QVERIFY(answered);
        cards.back().name = ToStoredText("最后一张");
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"), test::CategoryBytes("big", cards));
        QCOMPARE(world.Card(99999).data().toString(), QStringLiteral("最后一张"));

        QTest::keyClick(&world.Tree(), Qt::Key_Delete);
        cards.pop_back();
        QCOMPARE(world.CardCount(), 99999);
        QCOMPARE(world.Tree().currentIndex(), world.Card(99998));
        QCOMPARE(world.frame->View().Text(), std::string("text 99998"));
        QCOMPARE(test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"), test::CategoryBytes("big", cards));
    }

    void operations_actOnTheRealPane() {
        World world;
        world.Seed("Qulan.001", "c", {{"a", "1", ""}, {"b", "2", ""}});
        world.Open(0, "c");
        world.Tree().setCurrentIndex(world.Card(0));
        world.frame->Operations().DeleteCard();
        QCOMPARE(world.CardCount(), 1);
        QCOMPARE(world.frame->View().Text(), std::string("2"));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::DataBarTest)
#include "data_bar_test.moc"
