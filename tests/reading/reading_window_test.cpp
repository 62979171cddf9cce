#include "reading/reading_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QtTest>

#include "../shell/entry_world.h"
#include "reading/card_viewer_control.h"
#include "reading/reading_mode.h"
#include "reading/search_dialog.h"
#include "shell/quillet_app.h"
#include "store/card_text.h"
#include "store/codec.h"
#include "store/search_results.h"
#include "tray/hidden_mode.h"
#include "ui/text_drag_edit.h"

namespace quillet {
namespace {

struct ShownArea final : StatusArea {
    bool Available() const override { return true; }
    bool Add(const TrayIconData&) override { return shown = true; }
    bool Delete(const TrayIconData&) override {
        shown = false;
        return true;
    }
    bool Modify(const TrayIconData&) override { return true; }
    bool shown = false;
};

}  // namespace

class ReadingWindowTest final : public QObject {
    Q_OBJECT

private:
    // Entry mode with the tray, the viewer and reading mode installed, over two text categories and a web one.
    struct ReadingWorld : World {
        ReadingWorld() {
            Seed("Qulan.001", ToStoredText("算法"),
                 {{"one", ToStoredText("第一张"), ""}, {"two", ToStoredText("第二张"), ""}, {"three", "3", ""}});
            Seed("Qulan.002", ToStoredText("网络"), {});
            Seed("Quweb.001", ToStoredText("站点"),
                 {{"deb", ToStoredText("发行版"), "https://www.debian.org/"}, {"odd", "", "gopher://x.example/"}});
        }
        ~ReadingWorld() {
            delete reading;
            delete tray;
        }
        void Install(int library, const std::string& category) {
            Open(library, category);
            viewer = InstallCardViewer(*frame, store, settings);
            tray = new HiddenMode(*frame, prompter, area);
            tray->Start(0);
            reading = InstallReadingMode(*frame, store, prompter, *viewer, *tray);
        }
        void Run(int id) { frame->Command(id)->trigger(); }
        ReadingWindow& Window() { return *reading->Window(); }
        QTreeView& ReadingTree() { return Window().Tree(); }
        QTabBar& Tabs() { return *Control<QTabBar>(Window().Body(), res::kReadingTabs); }
        QComboBox& ReadingCategories() { return *Control<QComboBox>(Window().Body(), res::kReadingCategories); }
        QLineEdit& SearchText() { return *Control<QLineEdit>(Window().Body(), res::kReadingSearchText); }
        QModelIndex ReadingRoot() { return ReadingTree().model()->index(0, 0); }
        QModelIndex ReadingCard(int row) { return ReadingTree().model()->index(row, 0, ReadingRoot()); }
        QString SelectedText() { return ReadingTree().currentIndex().data().toString(); }
        QString ViewerText() { return viewer->Viewer()->TextBox().Text(); }
        std::filesystem::path ResultsFile() { return store.CategoryFolder() / kSearchResultsFileName; }
        void SaveResults(const std::string& text, const std::vector<CardRecord>& hits) {
            CardTable results;
            for (const CardRecord& hit : hits) {
                results.Append(hit);
            }
            QVERIFY(!SaveSearchResults(ResultsFile(), text, results));
        }

        ShownArea area;
        CardViewerControl* viewer = nullptr;
        HiddenMode* tray = nullptr;
        ReadingMode* reading = nullptr;
    };

    static QString Shown(const std::string& stored) {
        return QString::fromStdString(ToUtf8(stored)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }

private slots:
    void switchFromEntryMode_asksAboutAChangedCard_thenHidesTheFrame() {
        const struct {
            const char* what;
            int library;
            bool selectCard;
            SaveAnswer answer;
            bool asked;
            const char* storedSecond;
        } cases[] = {
            {"card, Yes", 0, true, SaveAnswer::Yes, true, "改过的"},
            {"card, No", 0, true, SaveAnswer::No, true, "第二张"},
            {"category node", 0, false, SaveAnswer::Yes, false, "第二张"},
        };
        for (const auto& c : cases) {
            ReadingWorld world;
            world.Install(c.library, ToStoredText("算法"));
            if (c.selectCard) {
                world.frame->Bar().SelectCardItem(1);
            } else {
                world.frame->Bar().SelectCategoryNode();
            }
            world.frame->View().SetText(ToStoredText("改过的"));
            world.frame->View().SetModified(true);
            world.prompter.saveAnswer = c.answer;
            world.Run(res::kCmdReadingMode);

            QCOMPARE(!world.prompter.shown.empty(), c.asked);
            CardStore check(world.home.Path());
            check.currentLibrary = 0;
            QVERIFY(!check.OpenCategoryFile(check.CategoryFolder() / "Qulan.001", HeaderCheck::Check));
            QVERIFY2(check.openTable.At(1).content == ToStoredText(c.storedSecond), c.what);
            QVERIFY2(world.reading->Window() && world.Window().isVisible(), c.what);
            QVERIFY2(!world.frame->isVisible(), c.what);
            QVERIFY2(world.tray->Mode() == ProgramMode::Reading, c.what);
            QVERIFY2(!world.frame->View().Modified(), "nothing unsaved is left behind for the reload");
            QVERIFY(world.Window().IsTucked());
            QVERIFY(world.Window().windowFlags() & Qt::WindowStaysOnTopHint);
            QVERIFY(world.Window().windowTitle().startsWith(QStringLiteral("青榆资料夹－阅读模式")));
        }
    }

    void opening_showsTheRememberedCard_andEntryModeFindsWhatWasChosenHere() {
        ReadingWorld world;
        world.Install(0, ToStoredText("算法"));
        world.store.libraryStates[0].cardName = "two";
        world.Run(res::kCmdReadingMode);
        QCOMPARE(world.Tabs().count(), 5);
        QCOMPARE(world.Tabs().tabText(4), QStringLiteral("资料搜索"));
        QCOMPARE(world.Tabs().currentIndex(), 0);
        QCOMPARE(world.ReadingCategories().currentText(), QStringLiteral("算法"));
        QCOMPARE(world.SelectedText(), QStringLiteral("two"));
        QVERIFY(world.SearchText().isHidden());

        // Another category and card here; entry mode comes back to them.
        world.ReadingCategories().setCurrentIndex(1);
        emit world.ReadingCategories().activated(1);
        QCOMPARE(world.ReadingTree().model()->rowCount(world.ReadingRoot()), 0);
        world.ReadingCategories().setCurrentIndex(0);
        emit world.ReadingCategories().activated(0);
        world.ReadingTree().setCurrentIndex(world.ReadingCard(2));
        world.Run(res::kCmdLeaveForEntryMode);
        QVERIFY(world.frame->isVisible());
        QVERIFY(world.store.flags.reloadOnPaint);
        QVERIFY(world.tray->Mode() == ProgramMode::Entry);
        QTRY_VERIFY(!world.store.flags.reloadOnPaint);
        QCOMPARE(world.Categories().currentText(), QStringLiteral("算法"));
        QCOMPARE(world.Tree().currentIndex().data().toString(), QStringLiteral("three"));
        QCOMPARE(world.frame->View().Text(), "3");
    }

    void previousAndNext_moveAmongSiblingsOnly() {
        ReadingWorld world;
        world.Install(0, ToStoredText("算法"));
        world.Run(res::kCmdReadingMode);
        const struct {
            int from;  // -1: the category node
            int command;
            QString after;
        } cases[] = {
            {-1, res::kCmdReadingNextCard, QStringLiteral("算法")},
            {0, res::kCmdReadingPreviousCard, QStringLiteral("one")},
            {0, res::kCmdReadingNextCard, QStringLiteral("two")},
            {2, res::kCmdReadingNextCard, QStringLiteral("three")},
            {2, res::kCmdReadingPreviousCard, QStringLiteral("two")},
        };
        for (const auto& c : cases) {
            world.ReadingTree().setCurrentIndex(c.from < 0 ? world.ReadingRoot() : world.ReadingCard(c.from));
            world.Run(c.command);
            QCOMPARE(world.SelectedText(), c.after);
        }
    }

    void theViewer_followsCardsSummariesAndSites() {
        ReadingWorld world;
        world.Install(0, ToStoredText("算法"));
        world.Run(res::kCmdReadingMode);
        // A site selected with the viewer closed is the one a visit opens (this address is refused, by name).
        world.Tabs().setCurrentIndex(3);
        world.ReadingCategories().setCurrentIndex(0);
        emit world.ReadingCategories().activated(0);
        world.ReadingTree().setCurrentIndex(world.ReadingCard(1));
        world.Run(res::kCmdVisitSite);
        QCOMPARE(world.prompter.notices.back(), "只能打开网页或电子邮件地址，不能打开：gopher://x.example/");
        world.Tabs().setCurrentIndex(0);
        world.ReadingTree().setCurrentIndex(world.ReadingCard(0));
        // Where a small viewer fits beside the panel on the test screen.
        world.settings.cardViewer = {254, 0, 300, 300};
        world.Run(res::kCmdViewCard);
        QVERIFY(world.viewer->IsOpen());
        QVERIFY(world.frame->Command(res::kCmdViewCard)->isChecked());
        QCOMPARE(world.ViewerText(), QStringLiteral("第一张"));
        QVERIFY2(!world.viewer->Viewer()->frameGeometry().intersects(world.Window().DockedGeometry()),
                 "the viewer opens beside the panel");

        world.ReadingTree().setCurrentIndex(world.ReadingCard(1));
        QCOMPARE(world.ViewerText(), QStringLiteral("第二张"));
        world.ReadingTree().setCurrentIndex(world.ReadingRoot());
        QCOMPARE(world.ViewerText(), Shown(CategorySummary(0, ToStoredText("算法"), 3)));

        // The web library: the viewer turns to sites without reopening, and the site's address can be visited.
        world.Tabs().setCurrentIndex(3);
        QCOMPARE(world.viewer->Viewer()->ViewerMode(), int(CCardViewer::kSite));
        world.ReadingCategories().setCurrentIndex(0);
        emit world.ReadingCategories().activated(0);
        world.ReadingTree().setCurrentIndex(world.ReadingCard(0));
        QCOMPARE(world.ViewerText(), QStringLiteral("deb  [ https://www.debian.org/ ]\n\n发行版"));
        QCOMPARE(world.store.currentCard.address, "https://www.debian.org/");

        // A double click on a card while the viewer is open closes it.
        emit world.ReadingTree().doubleClicked(world.ReadingCard(0));
        QVERIFY(!world.viewer->IsOpen());
    }

    void searchTab_showsTheSavedResults_searchesAndSavesThemAgain() {
        ReadingWorld world;
        world.SaveResults(ToStoredText("第"), {{"hit", ToStoredText("命中"), "addr"}, {"hit", "other", "b"}});
        world.store.libraryStates[kSearchResultsLibrary] = {};
        world.Install(0, ToStoredText("算法"));
        world.store.currentLibrary = kSearchResultsLibrary;
        world.Run(res::kCmdReadingMode);
        QCOMPARE(world.Tabs().currentIndex(), 4);
        QCOMPARE(world.SearchText().text(), QStringLiteral("第"));
        QVERIFY(!world.SearchText().isHidden());
        QVERIFY(world.ReadingCategories().isHidden());
        QCOMPARE(world.ReadingTree().model()->rowCount(), 2);
        QCOMPARE(world.ReadingTree().model()->index(0, 0).data().toString(), QStringLiteral("hit"));

        // Two hits of one name: each is shown in the viewer and saved as text as itself.
        const std::filesystem::path exported = world.home / "hit.txt";
        world.frame->SetSaveFileChooser([&exported] {
            return CMainFrame::TextFileChoice{QString::fromStdString(exported.string()), true};
        });
        world.ReadingTree().setCurrentIndex(world.ReadingTree().model()->index(0, 0));
        world.Run(res::kCmdViewCard);
        QCOMPARE(world.ViewerText(), QStringLiteral("hit   addr \n\n命中"));
        world.Run(res::kCmdSaveCardAsText);
        QCOMPARE(test::ReadBytes(exported), SearchHitText({"hit", ToStoredText("命中"), "addr"}));
        world.ReadingTree().setCurrentIndex(world.ReadingTree().model()->index(1, 0));
        QCOMPARE(world.ViewerText(), QStringLiteral("hit   b \n\nother"));
        world.Run(res::kCmdSaveCardAsText);
        QCOMPARE(test::ReadBytes(exported), SearchHitText({"hit", "other", "b"}));

        // An empty text is refused; a real one runs the search dialog and lists what it found.
        world.SearchText().clear();
        QTest::mouseClick(Control<QPushButton>(world.Window().Body(), res::kReadingSearchButton), Qt::LeftButton);
        QCOMPARE(world.prompter.notices.back(), "搜索字串不能为空！");
        world.SearchText().setText(QStringLiteral("t"));
        bool searched = false;
        QTimer::singleShot(0, [&searched] {
            auto* dialog = qobject_cast<SearchDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* start = Control<QPushButton>(*dialog, res::kIdCancel);
            QTest::mouseClick(start, Qt::LeftButton);
            QTRY_COMPARE(Control<QGroupBox>(*dialog, res::kSearchProgressGroup)->title(),
                         QStringLiteral("已经查找完毕"));
            QTest::mouseClick(start, Qt::LeftButton);
            searched = true;
        });
        QTest::mouseClick(Control<QPushButton>(world.Window().Body(), res::kReadingSearchButton), Qt::LeftButton);
        QVERIFY(searched);
        QStringList names;
        for (int row = 0; row < world.ReadingTree().model()->rowCount(); ++row) {
            names << world.ReadingTree().model()->index(row, 0).data().toString();
        }
        QCOMPARE(names, (QStringList{QStringLiteral("two"), QStringLiteral("three")}));

        // Leaving from the search tab: library 0 in entry mode, and the results kept for the next time.
        world.Run(res::kCmdLeaveForEntryMode);
        QCOMPARE(world.store.currentLibrary, 0);
        QVERIFY(!world.viewer->IsOpen());
        std::string text;
        CardTable saved;
        QVERIFY(!LoadSearchResults(world.ResultsFile(), text, saved));
        QCOMPARE(text, "t");
        QCOMPARE(saved.Size(), std::size_t{2});
        QTRY_COMPARE(world.frame->Bar().findChild<QTabBar*>()->currentIndex(), 0);
    }

    void theWaysOut_toTheTrayAndOutOfTheProgram() {
        {
            ReadingWorld world;
            world.Install(1, {});
            world.Run(res::kCmdReadingMode);
            world.Run(res::kCmdViewCard);
            world.Window().DockAt(Edge::Left, 40, QGuiApplication::primaryScreen()->availableGeometry(), false);
            world.Run(res::kCmdLeaveForTray);
            QVERIFY(!world.reading->Window());
            QVERIFY(world.tray->Mode() == ProgramMode::Hidden);
            QVERIFY(world.area.shown);
            QVERIFY(!world.frame->isVisible());
            QVERIFY2(world.viewer->IsOpen(), "hiding to the tray leaves the viewer open");
            // And back in from the tray's menu, where the panel was left.
            world.Run(res::kCmdTrayReadingMode);
            QVERIFY(world.reading->Window());
            QVERIFY(!world.area.shown);
            QVERIFY(world.Window().CurrentEdge() == Edge::Left);
            QCOMPARE(world.Window().CurrentDock().along, 40);
        }
        {
            ReadingWorld world;
            world.Install(1, {});
            world.Run(res::kCmdReadingMode);
            world.Run(res::kCmdViewCard);
            world.Tabs().setCurrentIndex(kSearchResultsLibrary);
            world.Run(res::kCmdLeaveAndExit);
            QVERIFY(!world.viewer->IsOpen());
            QVERIFY(world.frame->ExitRequested());
            QCOMPARE(world.store.currentLibrary, kSearchResultsLibrary);  // for the next start in reading mode
        }
    }

    void rightClick_opensTheReadingPopupOfTheLibrary() {
        const struct {
            int library;
            std::string category;
            int firstCommand;  // 0: no menu, on the category node
            bool onRoot;
        } cases[] = {
            {0, ToStoredText("算法"), res::kCmdViewCard, false},
            {3, ToStoredText("站点"), res::kCmdVisitSite, false},
            {0, ToStoredText("算法"), 0, true},
        };
        for (const auto& c : cases) {
            ReadingWorld world;
            world.Install(c.library, c.category);
            world.Run(res::kCmdReadingMode);
            world.Window().DockAt(Edge::Top, 0, QRect(0, 0, 1280, 800), false);
            const QModelIndex item = c.onRoot ? world.ReadingRoot() : world.ReadingCard(0);
            emit world.ReadingTree().customContextMenuRequested(world.ReadingTree().visualRect(item).center());
            if (c.firstCommand == 0) {
                QTest::qWait(50);
                QVERIFY(!QApplication::activePopupWidget());
                continue;
            }
            QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QCOMPARE(menu->actions().front()->data().toInt(), c.firstCommand);
            menu->close();
        }
    }

    void startingInReadingMode_neverShowsTheFrameBeforeTheUserLeaves() {
        test::TestFolder home;
        test::TestPrompter prompter;
        QSettings profile(QString::fromStdString((home / "profile.ini").string()), QSettings::IniFormat);
        {
            // Entry mode never starts on the search results.
            CQuilletApp entry(home.Path(), prompter, profile);
            entry.Store().currentLibrary = kSearchResultsLibrary;
            QVERIFY(entry.InitInstance({QStringLiteral("quillet"), QStringLiteral("-Embedding")}));
            QCOMPARE(entry.Store().currentLibrary, 0);
            QCOMPARE(entry.Frame()->Bar().findChild<QTabBar*>()->currentIndex(), 0);
            entry.Frame()->close();
            entry.ExitInstance();
        }
        std::filesystem::remove(home / "Quillet.tmp");
        CQuilletApp app(home.Path(), prompter, profile);
        app.Settings().startMode = 1;
        app.Store().currentLibrary = kSearchResultsLibrary;
        QVERIFY(app.InitInstance({QStringLiteral("quillet"), QStringLiteral("-Embedding")}));
        QVERIFY(!app.Frame()->isVisible());
        ShownArea area;
        auto* tray = new HiddenMode(*app.Frame(), prompter, area);
        CardViewerControl* viewer = InstallCardViewer(*app.Frame(), app.Store(), app.Settings());
        ReadingMode* reading = InstallReadingMode(*app.Frame(), app.Store(), prompter, *viewer, *tray);
        tray->Start(1);
        reading->Enter();
        QVERIFY(!app.Frame()->isVisible());
        QVERIFY(reading->Window()->isVisible());
        QCOMPARE(Control<QTabBar>(reading->Window()->Body(), res::kReadingTabs)->currentIndex(), kSearchResultsLibrary);
        // Both modes can be chosen as start modes now that the program carries them out.
        bool offered = false;
        QTimer::singleShot(0, [&offered] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            offered = Control<QRadioButton>(*dialog, res::kOptionReadingMode)->isEnabled() &&
                      Control<QRadioButton>(*dialog, res::kOptionHiddenMode)->isEnabled();
            QMetaObject::invokeMethod(dialog, "reject");
        });
        app.Frame()->Command(res::kCmdReadingStartOptions)->trigger();
        QVERIFY(offered);
        app.Frame()->Command(res::kCmdLeaveForEntryMode)->trigger();
        QVERIFY(app.Frame()->isVisible());
        app.Frame()->close();
        delete reading;
        delete tray;
        app.ExitInstance();
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::ReadingWindowTest)
#include "reading_window_test.moc"
