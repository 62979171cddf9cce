#include "tray/capture_window.h"

#include <sys/stat.h>

#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTreeView>
#include <QtTest>

#include "../shell/test_prompter.h"
#include "../store/test_folder.h"
#include "res/resource_ids.h"
#include "shell/main_frame.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"
#include "ui/text_drag_edit.h"

namespace quillet {

class CaptureWindowTest final : public QObject {
    Q_OBJECT

private:
    struct World {
        explicit World(int library) : store(home.Path()) {
            store.EnsureDataFolder();
            store.flags.noSavedState = false;
            test::WriteBytes(store.CategoryFolder() / "Qulan.001", test::CategoryBytes("cat", {{"old", "text", ""}}));
            test::WriteBytes(store.CategoryFolder() / "Qulan.002", test::CategoryBytes("other", {}));
            test::WriteBytes(store.CategoryFolder() / "Quweb.001", test::CategoryBytes("sites", {}));
            store.currentLibrary = library;
            store.libraryStates[0].categoryName = "cat";
            store.libraryStates[3].categoryName = "sites";
            settings.cardCapture = {50, 60, 300, 400};
            frame = std::make_unique<CMainFrame>(store, prompter, settings);
            InstallCaptureWindows(*frame, store, settings, prompter);
            frame->show();
            // With the node of a category that has cards selected, the command does nothing.
            if (frame->Bar().CardItemCount() > 0) {
                frame->Bar().SelectCardItem(0);
            }
            frame->Command(res::kCmdNewCard)->trigger();
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* capture = qobject_cast<CaptureWindow*>(top); capture && capture->isVisible()) {
                    window = capture;
                }
            }
        }
        ~World() {
            if (window) {
                window->reject();
            }
        }
        void Type(int id, const QString& text) { Control<CTextDragEdit>(*window, id)->SetText(text); }
        QString Field(int id) { return Control<CTextDragEdit>(*window, id)->Text(); }
        void Add() { QTest::mouseClick(Control<QPushButton>(*window, res::kIdOk), Qt::LeftButton); }
        std::string File(const char* name) { return test::ReadBytes(store.CategoryFolder() / name); }

        test::TestFolder home;
        CardStore store;
        AppSettings settings;
        test::TestPrompter prompter;
        std::unique_ptr<CMainFrame> frame;
        QPointer<CaptureWindow> window;
    };

private slots:
    void addedCard_isWrittenSelectedAndShownWithItsTwoLines() {
        World world(0);
        QVERIFY(world.window);
        QVERIFY(world.store.flags.captureWindowOpen);
        QCOMPARE(world.window->windowTitle(), QStringLiteral("在“cat”中加入新知识卡片："));
        QVERIFY(world.window->windowFlags() & Qt::WindowStaysOnTopHint);
        world.Type(res::kCaptureName, QStringLiteral("  "));
        world.Type(res::kCaptureSecond, QStringLiteral("第一行\n第二行"));
        world.Add();
        const std::string text = ToStoredText("++ cat\r\n++   \r\n\r\n第一行\r\n第二行");
        QCOMPARE(world.File("Qulan.001"), test::CategoryBytes("cat", {{"old", "text", ""}, {"  ", text, ""}}));
        QCOMPARE(world.Field(res::kCaptureName), QString());
        QCOMPARE(world.Field(res::kCaptureSecond), QString());
        QTreeView* tree = Control<QTreeView>(world.frame->Bar(), res::kDataBarTree);
        QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("  "));
        QCOMPARE(world.frame->View().Text(), text);
    }

    void refusals_keepTheFields() {
        World world(0);
        world.Type(res::kCaptureName, QStringLiteral(" "));
        world.Add();
        world.Type(res::kCaptureName, QStringLiteral("old"));
        world.Type(res::kCaptureSecond, QStringLiteral("kept"));
        world.Add();
        QCOMPARE(world.prompter.notices,
                 (std::vector<std::string>{"请输入卡片名！", "卡片名已经存在，不能重复加入！"}));
        QCOMPARE(world.prompter.captions, (std::vector<std::string>{"Quillet", "双击空白处清空："}));
        QCOMPARE(world.Field(res::kCaptureSecond), QStringLiteral("kept"));
        world.Type(res::kCaptureName, QStringLiteral("OLD"));
        world.Add();
        QCOMPARE(world.prompter.notices.size(), std::size_t{2});
        QCOMPARE(world.Field(res::kCaptureName), QString());
    }

    void unreadableOrUnwritableFile_addsNothingAndSaysWhy() {
        World world(0);
        const std::string whole = test::CategoryBytes("cat", {{"old", "text", ""}, {"b", "c", ""}});
        test::WriteBytes(world.store.CategoryFolder() / "Qulan.001", whole.substr(0, whole.size() - 2));
        world.Type(res::kCaptureName, QStringLiteral("new"));
        world.Add();
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QVERIFY(world.prompter.notices[0].find("卡片没有加入") != std::string::npos);
        QCOMPARE(world.Field(res::kCaptureName), QStringLiteral("new"));

        // Nothing is open after the damaged read, so even a repaired file is not written until chosen again.
        test::WriteBytes(world.store.CategoryFolder() / "Qulan.001", whole);
        world.Add();
        QCOMPARE(world.prompter.notices.size(), std::size_t{2});
        QCOMPARE(world.File("Qulan.001"), whole);

        world.frame->Bar().OpenCategoryAt(0);
        ::chmod((world.store.CategoryFolder() / "Qulan.001").c_str(), 0444);
        world.Add();
        QCOMPARE(world.prompter.notices.size(), std::size_t{3});
        QVERIFY(world.prompter.notices[2].find("Qulan.001") != std::string::npos);
        QCOMPARE(world.File("Qulan.001"), whole);
        QTreeView* tree = Control<QTreeView>(world.frame->Bar(), res::kDataBarTree);
        QCOMPARE(tree->model()->rowCount(tree->model()->index(0, 0)), 2);
    }

    // The main window changes under the capture window: it follows, says so, and files nothing elsewhere.
    void mainWindowSwitchingOrDeleting_neverMisfilesACard() {
        World world(0);
        const std::string cat = world.File("Qulan.001");
        QVERIFY(world.window->windowTitle().contains(QStringLiteral("cat")));
        world.frame->Bar().OpenCategoryAt(1);
        QVERIFY(world.window->windowTitle().contains(QStringLiteral("other")));
        Control<QTabBar>(world.frame->Bar(), res::kDataBarTabs)->setCurrentIndex(3);
        QVERIFY(!world.window->windowTitle().contains(QStringLiteral("other")));
        world.Type(res::kCaptureName, QStringLiteral("card"));
        world.Add();
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QCOMPARE(world.File("Quweb.001"), test::CategoryBytes("sites", {}));

        Control<QTabBar>(world.frame->Bar(), res::kDataBarTabs)->setCurrentIndex(0);
        world.frame->Bar().OpenCategoryAt(1);
        world.frame->Bar().SelectCategoryNode();
        world.prompter.confirmAnswer = true;
        world.frame->Operations().DeleteCategory();
        QVERIFY(!std::filesystem::exists(world.store.CategoryFolder() / "Qulan.002"));
        // The main window opened the category that is left; the window says so before anything is typed.
        QVERIFY(world.window->windowTitle().contains(QStringLiteral("cat")));
        QCOMPARE(Control<QComboBox>(*world.window, res::kCaptureCategories)->count(), 1);
        world.Type(res::kCaptureName, QStringLiteral("card"));
        world.Add();
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QVERIFY(world.File("Qulan.001") != cat);
        QCOMPARE(world.store.openTable.At(1).name, std::string("card"));
    }

    void placeOffEveryScreen_isBroughtBackBeforeUseAndBeforeItIsStored() {
        World world(0);
        world.window->reject();
        world.settings.cardCapture = {-4000, 9000, 300, 400};
        world.frame->Bar().SelectCardItem(0);
        world.frame->Command(res::kCmdNewCard)->trigger();
        CaptureWindow* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* capture = qobject_cast<CaptureWindow*>(top); capture && capture->isVisible()) {
                window = capture;
            }
        }
        QVERIFY(window);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(available.contains(window->geometry()));
        window->move(-4000, 9000);
        window->reject();
        QVERIFY(available.contains(QPoint(world.settings.cardCapture.left, world.settings.cardCapture.top)));
        world.window = nullptr;
    }

    void exit_closesTheCaptureWindowAndEndsTheProgram() {
        World world(0);
        QPointer<CaptureWindow> window = world.window;
        QVERIFY(window->isVisible());
        world.frame->Command(res::kCmdExit)->trigger();
        QVERIFY(!world.frame->isVisible());
        QVERIFY(window.isNull() || !window->isVisible());
        QVERIFY(!world.store.flags.captureWindowOpen);
        world.window = nullptr;
    }

    void siteWithEmptyAddressAndDescription_isAdded() {
        World world(kWebLibrary);
        QCOMPARE(world.window->WindowKind(), CaptureWindow::Kind::Sites);
        QCOMPARE(world.window->windowTitle(), QStringLiteral("“sites”中加入新站点："));
        world.Type(res::kCaptureName, QStringLiteral("青榆"));
        world.Add();
        QCOMPARE(world.File("Quweb.001"), test::CategoryBytes("sites", {{ToStoredText("青榆"), "", ""}}));
        QCOMPARE(world.frame->View().Text(), ToStoredText("青榆  [  ]\r\n\r\n"));
        world.Add();
        QCOMPARE(world.prompter.notices, std::vector<std::string>{"卡片名不能为空！"});
    }

    void siteWindow_ignoresCategoryChoicesOfAnotherLibrary() {
        World world(kWebLibrary);
        world.store.currentLibrary = 0;
        const std::string before = world.store.libraryStates[0].categoryName;
        world.window->OnCategoryChosen(0);
        QCOMPARE(world.store.libraryStates[0].categoryName, before);
        QCOMPARE(world.store.libraryStates[3].categoryName, std::string("sites"));
    }

    void shrinkAndRestore_keepTheMainWindowHiddenAndReturnShowsIt() {
        World world(0);
        world.window->move(400, 300);
        QPoint restoredAt;
        int mark = 0;
        CaptureWindow::RestoreWindowRunner() = [&](QDialog& restore) {
            restoredAt = restore.pos();
            mark = restore.property("mark").toInt();
            QVERIFY(!world.window->isVisible());
            QTest::mouseClick(Control<QPushButton>(restore, res::kCaptureRestore), Qt::LeftButton);
        };
        world.window->Shrink();
        CaptureWindow::RestoreWindowRunner() = [](QDialog& dialog) { dialog.exec(); };
        QCOMPARE(restoredAt, QPoint(50, 60));
        QCOMPARE(mark, 1);
        QVERIFY(world.window->isVisible());
        QVERIFY(!world.frame->isVisible());
        QVERIFY(!world.window->MainShown());

        const int left = world.window->frameGeometry().left();
        world.window->close();
        QVERIFY(world.frame->isVisible());
        QVERIFY(!world.store.flags.captureWindowOpen);
        QCOMPARE(world.settings.cardCapture.left, left);
        QTRY_VERIFY(world.window.isNull());
    }

    void doubleClick_clearsTheFields() {
        World world(0);
        world.Type(res::kCaptureName, QStringLiteral("x"));
        QTest::mouseDClick(world.window, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(world.Field(res::kCaptureName), QString());
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::CaptureWindowTest)
#include "capture_window_test.moc"
