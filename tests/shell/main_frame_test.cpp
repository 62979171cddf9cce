#include "shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

#include "../store/test_folder.h"
#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "shell/command_rules.h"
#include "shell/open_address.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "test_prompter.h"
#include "ui/dialog_builder.h"

namespace quillet {

class MainFrameTest final : public QObject {
    Q_OBJECT

private:
    struct World {
        World() : store(home.Path()) {
            store.EnsureDataFolder();
            store.flags.noSavedState = false;
        }
        void Open(int library, const std::string& category) {
            store.currentLibrary = library;
            store.libraryStates[library].categoryName = category;
            frame = std::make_unique<CMainFrame>(store, prompter, settings);
            frame->show();
        }
        test::TestFolder home;
        CardStore store;
        AppSettings settings;
        test::TestPrompter prompter;
        std::unique_ptr<CMainFrame> frame;
    };

private slots:
    void keyboard_reachesThePanesTheMenuAndTheCards() {
        World world;
        test::WriteBytes(world.store.CategoryFolder() / "Qulan.001",
                         test::CategoryBytes("c", {{"a", "1", ""}, {"b", "2", ""}}));
        world.Open(0, "c");
        QVERIFY(QTest::qWaitForWindowActive(world.frame.get()));
        auto* tree = Control<QTreeView>(world.frame->Bar(), res::kDataBarTree);
        tree->setFocus();
        QTest::keyClick(world.frame.get(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&world.frame->View()));
        QTest::keyClick(world.frame.get(), Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(tree));

        world.frame->Bar().SelectCardItem(0);
        QTest::keyClick(world.frame.get(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(world.frame->View().Text(), std::string("2"));
        QTest::keyClick(world.frame.get(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(world.frame->View().Text(), std::string("1"));

        bool menuShown = false;
        QTimer::singleShot(0, [&menuShown] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                popup->close();
            }
        });
        QTest::keyClick(tree, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(menuShown);

        // Always on top makes a new native window; the focus stays where it was.
        tree->setFocus();
        world.frame->Command(res::kCmdAlwaysOnTop)->trigger();
        QVERIFY(QTest::qWaitForWindowActive(world.frame.get()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(tree));
    }

    void dialogButtons_haveAltKeys() {
        for (const int id : {res::kStartOptionsDialog, res::kCardCaptureDialog, res::kTipDialog}) {
            QDialog dialog;
            BuildDialog(dialog, *res::FindDialogTemplate(id));
            for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                QVERIFY2(QRegularExpression(QStringLiteral("\\(&[A-Z]\\)$")).match(button->text()).hasMatch(),
                         qPrintable(button->text()));
            }
        }
    }

    void hiddenBar_greysTheCategoryCommandsOnly() {
        World world;
        world.Open(0, "");
        const int categoryCommands[] = {res::kCmdCreateCategory, res::kCmdRenameCategory, res::kCmdDeleteCategory,
                                        res::kCmdDeleteAllCategories, res::kCmdDeleteAllCards};
        const int cardCommands[] = {res::kCmdDeleteCard,   res::kCmdRenameCard, res::kCmdSaveCard,
                                    res::kCmdPreviousCard, res::kCmdNextCard,   res::kCmdSaveCardAsText};
        for (int id : categoryCommands) {
            QVERIFY(world.frame->Command(id)->isEnabled());
        }
        world.frame->Command(res::kCmdToggleDataBar)->trigger();
        QVERIFY(!world.store.flags.dataBarVisible);
        QVERIFY(world.frame->Command(res::kCmdToggleDataBar)->isChecked());
        for (int id : categoryCommands) {
            QVERIFY2(!world.frame->Command(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        for (int id : cardCommands) {
            QVERIFY2(world.frame->Command(id)->isEnabled(), qPrintable(QString::number(id)));
        }
    }

    void laterCommands_areVisiblyUnavailable() {
        World world;
        world.Open(3, "");
        for (int id : {res::kCmdReadingMode, res::kCmdHideToTray, res::kCmdStatistics, res::kCmdOrganize,
                       res::kCmdImportBackup, res::kCmdExportBackup, res::kCmdImportFavorites, res::kCmdOrderCards}) {
            QVERIFY2(world.frame->Command(id) && !world.frame->Command(id)->isEnabled(),
                     qPrintable(QString::number(id)));
        }
    }

    void favoritesRule_followsTheWebTabOnceTheCommandsExist() {
        QCOMPARE(RuleOf(res::kCmdImportFavorites), CommandRule::Web);
        QCOMPARE(RuleOf(res::kCmdExportFavorites), CommandRule::Web);
        QCOMPARE(RuleOf(res::kCmdCreateCategory), CommandRule::Bar);
        QVERIFY(IsEnabled(res::kCmdSelectAll, {false, 3, {}}));
        QVERIFY(!IsEnabled(res::kCmdCreateCategory, {false, 0, {}}));
        QVERIFY2(!IsEnabled(res::kCmdImportFavorites, {true, 3, {}}), "not built yet: unavailable on every tab");
        QVERIFY(IsEnabled(res::kCmdImportFavorites, {true, 3, {res::kCmdImportFavorites}}));
        QVERIFY2(!IsEnabled(res::kCmdImportFavorites, {true, 0, {res::kCmdImportFavorites}}),
                 "provided, off the web tab");
    }

    void menus_carryEveryItemAndTheTipFirstInHelp() {
        World world;
        world.Open(0, "");
        const QList<QAction*> menus = world.frame->menuBar()->actions();
        QCOMPARE(menus.size(), 6);
        QCOMPARE(menus[0]->text(), QStringLiteral("资料(&F)"));
        QMenu* help = menus[5]->menu();
        QCOMPARE(menus[5]->text(), QStringLiteral("帮助(&H)"));
        QCOMPARE(help->actions()[0]->data().toInt(), res::kCmdTipOfTheDay);
        QVERIFY(help->actions()[1]->isSeparator());
        QCOMPARE(world.frame->Command(res::kCmdSaveCard)->text(), QStringLiteral("保存当前卡片 (&S)\tCtrl+S"));
        QCOMPARE(world.frame->Command(res::kCmdCreateCategory)->toolTip(), QStringLiteral("创建新类别"));
        QCOMPARE(world.frame->Command(res::kCmdSaveCardAsText)->toolTip(), QStringLiteral("将卡片导出文本文件"));
        int buttons = 0;
        for (QAction* action : world.frame->ToolBar().actions()) {
            buttons += action->isSeparator() ? 0 : 1;
        }
        QCOMPARE(buttons, 21);
    }

    void saveCardAsText_writesTheBytesOfEachLayout() {
        test::TestFolder out;
        struct Case {
            int library;
            const char* file;
            CardRecord card;
            std::string expected;
        };
        const Case cases[] = {
            {0, "Qulan.001", {"\xBF\xA8", "\xD0\xD0 1\r\nline 2", ""}, "行 1\nline 2"},
            {3, "Quweb.001", {"site", "about it", "http://a.example"}, "site  [ http://a.example ]\n\nabout it"},
        };
        for (const bool stored : {false, true}) {
            World world;
            test::WriteBytes(world.store.CategoryFolder() / "Qulan.001",
                             test::CategoryBytes("cat", {{"\xBF\xA8", "\xD0\xD0 1\r\nline 2", ""}}));
            world.Open(0, "cat");
            world.frame->Bar().SelectCardItem(0);
            const QString target = QString::fromStdString((out / "choice.txt").string());
            world.frame->SetSaveFileChooser([target, stored] { return CMainFrame::TextFileChoice{target, stored}; });
            world.frame->Command(res::kCmdSaveCardAsText)->trigger();
            QCOMPARE(test::ReadBytes(target.toStdString()),
                     stored ? std::string("\xD0\xD0 1\r\nline 2") : std::string("行 1\nline 2"));
        }
        for (const Case& c : cases) {
            World world;
            test::WriteBytes(world.store.CategoryFolder() / c.file, test::CategoryBytes("cat", {c.card}));
            world.Open(c.library, "cat");
            world.frame->Bar().SelectCardItem(0);
            const QString target = QString::fromStdString((out / c.file).string() + ".txt");
            world.frame->SetSaveFileChooser([target] { return CMainFrame::TextFileChoice{target}; });
            world.frame->Command(res::kCmdSaveCardAsText)->trigger();
            QCOMPARE(test::ReadBytes(target.toStdString()), c.expected);
        }
        QCOMPARE(ExportText(4, {"hit", "content", "http://h"}), std::string("hit   http://h \r\n\r\ncontent"));

        World world;
        test::WriteBytes(world.store.CategoryFolder() / "Qulan.001", test::CategoryBytes("cat", {{"a", "b", ""}}));
        world.Open(0, "cat");
        world.frame->Bar().SelectCardItem(0);
        world.frame->SetSaveFileChooser([&out] {
            return CMainFrame::TextFileChoice{QString::fromStdString((out / "missing" / "x.txt").string())};
        });
        world.frame->Command(res::kCmdSaveCardAsText)->trigger();
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QVERIFY(world.prompter.notices[0].find("x.txt") != std::string::npos);
    }

    void browserCommandLine_cutsAtThePlaceholder_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("command");
        const QString address = QStringLiteral("http://a.example/x?y=1&z=2");
        QTest::newRow("quoted") << QStringLiteral("\"/usr/bin/browser\" -new \"%1\" -more")
                                << QStringList{QStringLiteral("/usr/bin/browser"), QStringLiteral("-new"), address};
        QTest::newRow("bare") << QStringLiteral("browser --open %1")
                              << QStringList{QStringLiteral("browser"), QStringLiteral("--open"), address};
        QTest::newRow("none") << QStringLiteral("browser -x")
                              << QStringList{QStringLiteral("browser"), QStringLiteral("-x"), address};
    }
    void browserCommandLine_cutsAtThePlaceholder() {
        QFETCH(QString, line);
        QFETCH(QStringList, command);
        QCOMPARE(BrowserCommand(line, QStringLiteral("http://a.example/x?y=1&z=2")), command);
    }

    void onlyWebAndMailAddressesAreOpened() {
        for (const char* address : {"http://a.example", "https://a.example/p", "ftp://f.example", "mailto:a@b.c",
                                    "https://zh.wikipedia.org/wiki/C_(语言)?a=1&b=%E4%B8%AD#x", " http://a.example "}) {
            QVERIFY2(IsOpenableAddress(QString::fromUtf8(address)), address);
        }
        for (const char* address :
             {"", "C:\\Windows\\notepad.exe", "/usr/bin/xterm", "file:///etc/passwd", "javascript:alert(1)", "http://",
              "; rm -rf ~", "http://a.example/x y", "http://a.example/\"q\"", "http://a.example/`id`",
              "http://a.example/\nX", "http://a.example/%zz", "http://a.example/%4", "http://a.example/<b>"}) {
            QVERIFY2(!IsOpenableAddress(QString::fromUtf8(address)), address);
        }
        World world;
        world.Open(0, "");
        world.store.currentCard.address = "/usr/bin/xterm";
        world.frame->VisitSite();
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QVERIFY(world.prompter.notices[0].find("只能打开网页或电子邮件地址") != std::string::npos);
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::MainFrameTest)
#include "main_frame_test.moc"
