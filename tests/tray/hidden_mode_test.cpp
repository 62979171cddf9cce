#include "tray/hidden_mode.h"

#include <sys/stat.h>

#include <QMenu>
#include <QtTest>

#include "../shell/entry_world.h"
#include "reading/card_viewer_control.h"
#include "res/menus.h"
#include "shell/quillet_app.h"
#include "store/codec.h"

namespace quillet {
namespace {

// A status area that shows whatever it is given.
struct ShownArea final : StatusArea {
    bool Available() const override { return available; }
    bool Add(const TrayIconData& data) override {
        shown = true;
        tip = data.tip;
        return true;
    }
    bool Delete(const TrayIconData&) override {
        shown = false;
        return true;
    }
    bool Modify(const TrayIconData&) override { return true; }
    bool available = true;
    bool shown = false;
    std::string tip;
};

}  // namespace

class HiddenModeTest final : public QObject {
    Q_OBJECT

private:
    struct TrayWorld : World {
        // The tray talks to the area until it goes, and the area is destroyed before the frame.
        ~TrayWorld() { delete tray; }
        void OpenWithTray(int library, const std::string& category) {
            Open(library, category);
            tray = new HiddenMode(*frame, prompter, area);
            tray->Start(0);
        }
        ShownArea area;
        HiddenMode* tray = nullptr;
    };

private slots:
    void hideToTray_asksAndSavesByTheRules() {
        enum class Select { Nothing, Category, Card };
        const struct {
            const char* what;
            int library;
            Select select;
            SaveAnswer answer;
            bool asked;
            const char* storedSecond;  // the second card's content on disk afterwards
            bool markAfter;
        } cases[] = {
            {"web library", 3, Select::Card, SaveAnswer::Yes, false, nullptr, true},
            {"nothing selected", 0, Select::Nothing, SaveAnswer::Yes, false, "第二张", false},
            {"category node", 0, Select::Category, SaveAnswer::Yes, false, "第二张", false},
            {"card, Yes", 0, Select::Card, SaveAnswer::Yes, true, "改过的", false},
            {"card, No", 0, Select::Card, SaveAnswer::No, true, "第二张", true},
        };
        for (const auto& c : cases) {
            TrayWorld world;
            world.Seed(
                "Qulan.001", ToStoredText("甲"),
                {{ToStoredText("一"), ToStoredText("第一张"), ""}, {ToStoredText("二"), ToStoredText("第二张"), ""}});
            world.Seed("Quweb.001", ToStoredText("站"), {{"s", "about", "http://s.example"}});
            world.OpenWithTray(c.library, ToStoredText("甲"));
            if (c.library == 3) {
                world.frame->Bar().SelectCardItem(0);
            } else if (c.select == Select::Card) {
                world.frame->Bar().SelectCardItem(1);
            } else if (c.select == Select::Category) {
                world.frame->Bar().SelectCategoryNode();
            } else {
                world.Tree().setCurrentIndex({});
            }
            world.frame->View().setPlainText(QStringLiteral("改过的"));
            world.frame->View().SetModified(true);
            world.prompter.saveAnswer = c.answer;
            world.prompter.shown.clear();

            world.frame->Command(res::kCmdHideToTray)->trigger();
            QVERIFY2(world.tray->Mode() == ProgramMode::Hidden, c.what);
            QVERIFY2(!world.frame->isVisible(), c.what);
            QVERIFY2(world.area.shown, c.what);
            QCOMPARE(world.prompter.shown.size(), std::size_t{c.asked ? 1u : 0u});
            QCOMPARE(world.frame->View().Modified(), c.markAfter);
            if (c.storedSecond) {
                QCOMPARE(
                    test::ReadBytes(world.store.CategoryFolder() / "Qulan.001"),
                    test::CategoryBytes(ToStoredText("甲"), {{ToStoredText("一"), ToStoredText("第一张"), ""},
                                                             {ToStoredText("二"), ToStoredText(c.storedSecond), ""}}));
            }
        }
    }

    void failedSave_keepsEntryModeAndTheMark() {
        TrayWorld world;
        world.Seed("Qulan.001", "alpha", {{"one", "first", ""}, {"two", "second", ""}});
        world.OpenWithTray(0, "alpha");
        world.frame->Bar().SelectCardItem(1);
        world.frame->View().setPlainText(QStringLiteral("unsaved"));
        world.frame->View().SetModified(true);
        const std::filesystem::path file = world.store.CategoryFolder() / "Qulan.001";
        ::chmod(file.c_str(), 0444);
        world.prompter.saveAnswer = SaveAnswer::Yes;
        world.frame->Command(res::kCmdHideToTray)->trigger();
        ::chmod(file.c_str(), 0644);
        QVERIFY(world.tray->Mode() == ProgramMode::Entry);
        QVERIFY(world.frame->isVisible());
        QVERIFY(!world.area.shown);
        QVERIFY(world.frame->View().Modified());
        QCOMPARE(world.frame->View().Text(), std::string("unsaved"));
        QVERIFY2(world.prompter.notices.size() == 1 && world.prompter.notices[0].find("Qulan.001") != std::string::npos,
                 "the failure is told with the file");
    }

    void trayIcon_doubleClickComesBackAndTheMenuCarriesItsEightPositions() {
        TrayWorld world;
        world.Seed("Qulan.001", "alpha", {{"one", "first", ""}});
        world.OpenWithTray(0, "alpha");
        QVERIFY(!world.area.shown);
        QCOMPARE(world.area.tip, std::string("青榆资料夹－隐藏模式"));
        world.frame->Command(res::kCmdHideToTray)->trigger();
        QVERIFY(world.area.shown);

        world.tray->OnNotification(res::kTrayIconId, CTrayIcon::kRightButtonUp);
        QMenu* menu = world.tray->Menu();
        QTRY_VERIFY(menu->isVisible());
        const QList<QAction*> entries = menu->actions();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(menu->defaultAction(), entries[0]);
        const res::Menu& tray = res::TrayMenu();
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(entries[i]->isSeparator(), tray.items[i].id == 0);
            if (!entries[i]->isSeparator()) {
                QCOMPARE(entries[i]->text().toStdString(), std::string(tray.items[i].text));
            }
        }
        QVERIFY(entries[0]->isEnabled());
        QVERIFY2(!entries[1]->isEnabled() && !entries[4]->isEnabled(), "reading mode and statistics come later");
        QVERIFY(entries[3]->isEnabled() && entries[6]->isEnabled() && entries[7]->isEnabled());
        menu->hide();

        world.tray->OnNotification(res::kTrayIconId, CTrayIcon::kLeftButtonUp);
        QVERIFY2(!world.frame->isVisible(), "a single click does nothing on this status area");
        world.tray->OnNotification(res::kTrayIconId, CTrayIcon::kLeftDoubleClick);
        QVERIFY(world.frame->isVisible());
        QVERIFY(!world.area.shown);
        QVERIFY(world.tray->Mode() == ProgramMode::Entry);

        // Exit from the tray menu while hidden ends the program.
        world.frame->Command(res::kCmdHideToTray)->trigger();
        entries[7]->trigger();
        QVERIFY(world.frame->ExitRequested());
    }

    void startModeHidden_leavesOnlyTheIcon_orMinimizesWithoutAStatusArea() {
        TrayWorld world;
        world.Open(1, "");
        world.tray = new HiddenMode(*world.frame, world.prompter, world.area);
        world.tray->Start(2);
        QVERIFY(!world.frame->isVisible());
        QVERIFY(world.area.shown);

        TrayWorld bare;
        bare.area.available = false;
        bare.Open(1, "");
        bare.tray = new HiddenMode(*bare.frame, bare.prompter, bare.area);
        bare.tray->Start(2);
        QVERIFY(bare.frame->isMinimized());
        QVERIFY(!bare.area.shown);
        QCOMPARE(bare.prompter.notices.size(), std::size_t{1});
        bare.tray->EnterEntryMode();
        bare.frame->Command(res::kCmdHideToTray)->trigger();
        QVERIFY(bare.frame->isMinimized());
        QCOMPARE(bare.prompter.notices.size(), std::size_t{1});
    }

    // The real program object: with the frame in the tray, closing the viewer (its last window) ends nothing.
    void closingTheViewerWithTheFrameHidden_keepsTheProgramRunning() {
        test::TestFolder home;
        test::TestPrompter prompter;
        QSettings profile(QString::fromStdString((home / "profile.ini").string()), QSettings::IniFormat);
        CQuilletApp app(home.Path(), prompter, profile);
        QVERIFY(app.InitInstance({QStringLiteral("quillet"), QStringLiteral("-Embedding")}));
        ShownArea area;
        auto* tray = new HiddenMode(*app.Frame(), prompter, area);
        CardViewerControl* viewer = InstallCardViewer(*app.Frame(), app.Store(), app.Settings());
        app.Frame()->Command(res::kCmdViewCard)->trigger();
        QVERIFY(viewer->IsOpen());
        app.Frame()->Command(res::kCmdHideToTray)->trigger();
        QVERIFY(tray->Mode() == ProgramMode::Hidden);
        QTimer::singleShot(0, [viewer] { viewer->Viewer()->accept(); });
        QTimer::singleShot(300, [] { QCoreApplication::exit(7); });
        QCOMPARE(QCoreApplication::exec(), 7);
        QVERIFY(!viewer->IsOpen());
        app.Frame()->close();
        app.ExitInstance();
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::HiddenModeTest)
#include "hidden_mode_test.moc"
