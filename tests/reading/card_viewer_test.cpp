#include "reading/card_viewer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QtTest>

#include "../shell/entry_world.h"
#include "reading/card_viewer_control.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "ui/text_drag_edit.h"

namespace quillet {

class CardViewerTest final : public QObject {
    Q_OBJECT

private:
    struct ViewerWorld : World {
        ViewerWorld() {
            Seed("Qulan.001", ToStoredText("算法"),
                 {{ToStoredText("快速排序"), ToStoredText("分而治之\r\n第二行"), ""}, {"two", "second", ""}});
            Seed("Quweb.001", "sites", {{"s", "about", "javascript:alert(1)"}});
        }
        void OpenWithViewer(int library, const std::string& category) {
            Open(library, category);
            control = InstallCardViewer(*frame, store, settings);
        }
        void ViewCard() { frame->Command(res::kCmdViewCard)->trigger(); }
        CCardViewer& Viewer() { return *control->Viewer(); }
        QPushButton& Button(int id) { return *Control<QPushButton>(Viewer(), id); }
        QString Caption(int id) { return Button(id).text().section(QLatin1Char('('), 0, 0); }
        QString ViewerText() { return Viewer().TextBox().Text(); }

        CardViewerControl* control = nullptr;
    };

    // A stored text as the text box shows it.
    static QString Shown(const std::string& stored) {
        return QString::fromStdString(ToUtf8(stored)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    static QRect Rect(const WindowPlace& place) { return {place.left, place.top, place.width, place.height}; }

private slots:
    void firstOpening_showsTheCardAt254_0_AndRefusesTyping() {
        ViewerWorld world;
        world.OpenWithViewer(0, ToStoredText("算法"));
        world.frame->Bar().SelectCardItem(0);
        world.ViewCard();
        QVERIFY(world.control->IsOpen());
        QVERIFY(world.frame->Command(res::kCmdViewCard)->isChecked());
        QCOMPARE(world.Viewer().geometry(), QRect(254, 0, 546, 432));
        QVERIFY(world.Viewer().windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(world.Viewer().windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(world.ViewerText(), QStringLiteral("分而治之\n第二行"));
        QCOMPARE(world.Caption(res::kViewerAction), QStringLiteral("全选"));
        QVERIFY(!world.Button(res::kViewerCopy).isHidden());

        CTextDragEdit& box = world.Viewer().TextBox();
        box.setFocus();
        QTest::keyClicks(&box, QStringLiteral("xyz"));
        QTest::keyClick(&box, Qt::Key_Delete);
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(box.Text(), QStringLiteral("分而治之\n第二行"));
        QTest::keyClick(&world.Viewer(), Qt::Key_Escape);
        QVERIFY2(world.control->IsOpen(), "Escape leaves it open");

        // F3 in the viewer closes it as the command does: its rectangle is not kept.
        world.Viewer().move(300, 300);
        world.Viewer().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&world.Viewer()));
        QTest::keyClick(&world.Viewer(), Qt::Key_F3);
        QVERIFY(!world.control->IsOpen());
        QVERIFY(!world.frame->Command(res::kCmdViewCard)->isChecked());
        QCOMPARE(Rect(world.settings.cardViewer), QRect(254, 0, 546, 432));
    }

    void viewer_followsTheSelection_andTheLibrary() {
        ViewerWorld world;
        world.OpenWithViewer(0, ToStoredText("算法"));
        world.frame->Bar().SelectCategoryNode();
        world.ViewCard();
        QCOMPARE(world.ViewerText(), Shown(CategorySummary(0, ToStoredText("算法"), 2)));
        world.frame->Bar().SelectCardItem(1);
        QCOMPARE(world.ViewerText(), QStringLiteral("second"));

        // Off to the web library: the site's text, and the action button visits it.
        world.store.libraryStates[3].categoryName = "sites";
        world.store.libraryStates[3].cardName = "s";
        Control<QTabBar>(world.frame->Bar(), res::kDataBarTabs)->setCurrentIndex(3);
        QCOMPARE(world.Viewer().ViewerMode(), int{CCardViewer::kSite});
        QCOMPARE(world.Caption(res::kViewerAction), QStringLiteral("访问站点"));
        QVERIFY(world.Button(res::kViewerCopy).isHidden());
        world.frame->Bar().SelectCardItem(0);
        QCOMPARE(world.ViewerText(), Shown(SiteText({"s", "about", "javascript:alert(1)"})));
        world.prompter.notices.clear();
        world.Button(res::kViewerAction).click();
        QVERIFY2(world.prompter.notices.size() == 1 &&
                     world.prompter.notices[0].find("javascript:alert(1)") != std::string::npos,
                 "the site's address went to the program's open-address routine, which refuses it");
    }

    void shrinkTwice_returnsAlongTheTopOfTheScreen() {
        ViewerWorld world;
        world.settings.cardViewer = {40, 60, 300, 200};
        world.OpenWithViewer(0, ToStoredText("算法"));
        world.ViewCard();
        QCOMPARE(world.Viewer().geometry(), QRect(40, 60, 300, 200));
        world.Button(res::kViewerShrink).click();
        QCOMPARE(world.Viewer().geometry(), QRect(40, 60, 200, 100));
        QCOMPARE(world.Caption(res::kViewerShrink), QStringLiteral("窗口还原"));
        world.Button(res::kViewerShrink).click();
        const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
        QCOMPARE(world.Viewer().geometry(), QRect(254, 0, screenWidth - 254, 432));
        QCOMPARE(world.Caption(res::kViewerShrink), QStringLiteral("窗口缩小"));
        QVERIFY(world.Viewer().TextBox().geometry().right() < world.Viewer().width());
    }

    void closeButton_keepsTheRectangleForTheNextOpening() {
        ViewerWorld world;
        world.OpenWithViewer(0, ToStoredText("算法"));
        world.ViewCard();
        world.Viewer().setGeometry(100, 120, 400, 300);
        world.Button(res::kIdOk).click();
        QVERIFY(!world.control->IsOpen());
        QVERIFY(!world.frame->Command(res::kCmdViewCard)->isChecked());
        QCOMPARE(Rect(world.settings.cardViewer), QRect(100, 120, 400, 300));
        world.ViewCard();
        QCOMPARE(world.Viewer().geometry(), QRect(100, 120, 400, 300));
    }

    void rectangleOffEveryScreen_comesBackOnScreen() {
        ViewerWorld world;
        world.settings.cardViewer = {5000, -3000, 546, 432};
        world.OpenWithViewer(0, ToStoredText("算法"));
        world.ViewCard();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(world.Viewer().geometry()));
        QCOMPARE(world.Viewer().size(), QSize(546, 432));
    }

    void textBox_takesNoDrops_andCopiesItsSelection() {
        ViewerWorld world;
        world.OpenWithViewer(0, ToStoredText("算法"));
        world.frame->Bar().SelectCardItem(1);
        world.ViewCard();
        CTextDragEdit& box = world.Viewer().TextBox();
        QMimeData dropped;
        dropped.setText(QStringLiteral("dropped"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(box.viewport(), &enter);
        QVERIFY(!enter.isAccepted());
        world.Button(res::kViewerAction).click();
        QCOMPARE(box.textCursor().selectedText(), QStringLiteral("second"));
        world.Button(res::kViewerCopy).click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("second"));
        QCOMPARE(box.Text(), QStringLiteral("second"));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::CardViewerTest)
#include "card_viewer_test.moc"
