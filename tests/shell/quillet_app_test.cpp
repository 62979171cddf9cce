#include "shell/quillet_app.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QCheckBox>
#include <QPrinter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBrowser>
#include <QtTest>

#include "../store/test_folder.h"
#include "res/resource_ids.h"
#include "shell/about_dialog.h"
#include "shell/splash_window.h"
#include "shell/start_options_dialog.h"
#include "shell/translations.h"
#include "store/codec.h"
#include "store/instance_lock.h"
#include "test_prompter.h"
#include "ui/dialog_builder.h"
#include "ui/screen_fit.h"

namespace quillet {

using RecordingPrompter = test::TestPrompter;

class QuilletAppTest final : public QObject {
    Q_OBJECT

private:
    test::TestFolder m_runtime;
    const QStringList kQuiet{QStringLiteral("quillet"), QStringLiteral("-Embedding")};

    static bool LockHeldElsewhere() {
        const int fd = ::open(InstanceLock::LockFilePath().c_str(), O_RDWR | O_CREAT, 0600);
        const bool held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        if (fd >= 0) {
            ::close(fd);
        }
        return held;
    }

private slots:
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_runtime.Path().string())); }

    void firstStart_usesStartValuesAndWritesThemAtTheEnd() {
        test::TestFolder home;
        QSettings profile(QString::fromStdString((home / "profile.ini").string()), QSettings::IniFormat);
        RecordingPrompter prompter;
        AppSettings expected;
        {
            CQuilletApp app(home.Path(), prompter, profile);
            QVERIFY(app.InitInstance(kQuiet));
            QCOMPARE(app.Store().currentLibrary, 1);
            QVERIFY(app.Store().flags.noSavedState);
            QVERIFY(app.Frame()->isVisible());
            QVERIFY(!app.Frame()->isMaximized());
            QCOMPARE(app.Frame()->windowTitle(), QStringLiteral("青榆资料夹－录入模式"));
            QVERIFY(!std::filesystem::exists(home / "Qu_data"));
            // The data bar keeps its own size in the settings from its first layout on.
            expected.dataBarWidth = app.Frame()->Bar().width();
            expected.dataBarHeight = app.Frame()->Bar().height();
            QCOMPARE(app.Settings().dataBarWidth, expected.dataBarWidth);
            app.Frame()->close();
            app.ExitInstance();
        }
        StringSink startValues;
        WriteSettings(startValues, expected, CardStore{});
        QCOMPARE(test::ReadBytes(home / "Quillet.tmp"), startValues.Bytes());
        QCOMPARE(test::ReadBytes(home / "Quillet.tmp").size(), std::size_t{96});
        QVERIFY(prompter.notices.empty());

        CQuilletApp again(home.Path(), prompter, profile);
        QVERIFY(again.InitInstance(kQuiet));
        QVERIFY(!again.Store().flags.noSavedState);
        QVERIFY2(std::filesystem::exists(home / "Qu_data"), "a run with saved state makes the data folder");
        again.Frame()->close();
        again.ExitInstance();
    }

    // The first instance is the real program in its own process; the second start is this process.
    void secondStart_saysSoOnceAndLeavesTheSettingsAlone() {
        test::TestFolder home;
        std::filesystem::copy_file(QUILLET_PATH, home / "quillet");
        AppSettings saved;
        saved.startMode = 2;
        CardStore savedStore;
        QVERIFY(!SaveSettingsFile(home / "Quillet.tmp", saved, savedStore));
        const std::string before = test::ReadBytes(home / "Quillet.tmp");

        const pid_t first = ::fork();
        QVERIFY(first >= 0);
        if (first == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const std::string exe = (home / "quillet").string();
            ::execl(exe.c_str(), exe.c_str(), "-Embedding", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        QTRY_VERIFY_WITH_TIMEOUT(LockHeldElsewhere(), 10000);

        QSettings profile(QString::fromStdString((home / "profile.ini").string()), QSettings::IniFormat);
        RecordingPrompter prompter;
        {
            CQuilletApp second(home.Path(), prompter, profile);
            QVERIFY(!second.InitInstance(kQuiet));
            QVERIFY(second.Frame() == nullptr);
        }
        QCOMPARE(prompter.notices, std::vector<std::string>{"青榆资料夹已经正在运行!"});
        QCOMPARE(test::ReadBytes(home / "Quillet.tmp"), before);

        ::kill(first, SIGKILL);
        ::waitpid(first, nullptr, 0);
        CQuilletApp afterCrash(home.Path(), prompter, profile);
        QVERIFY2(afterCrash.InitInstance(kQuiet), "the lock of a killed program is taken over");
        QCOMPARE(afterCrash.Settings().startMode, 2);
        afterCrash.Frame()->close();
        afterCrash.ExitInstance();
    }

    // The real program in one environment, the real tool in another: the data folder's lock is all they share.
    void runningProgram_keepsTheToolOfAnotherEnvironmentFromWriting() {
        test::TestFolder home;
        test::TestFolder otherRuntime;
        std::filesystem::copy_file(QUILLET_PATH, home / "quillet");
        QVERIFY(!SaveSettingsFile(home / "Quillet.tmp", AppSettings{}, CardStore{}));
        const pid_t program = ::fork();
        QVERIFY(program >= 0);
        if (program == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const std::string exe = (home / "quillet").string();
            ::execl(exe.c_str(), exe.c_str(), "-Embedding", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const std::string holder = "青榆资料夹（进程 " + std::to_string(program) + "）";
        QTRY_VERIFY_WITH_TIMEOUT(DataFolderLock::DescribeHolder(home / "Qu_data") == holder, 10000);

        const std::string tool = "XDG_RUNTIME_DIR='" + otherRuntime.Path().string() + "' " + QUILLET_CLI_PATH +
                                 " --home '" + home.Path().string() + "' new-category 0 x 2>&1";
        auto runTool = [&tool](std::string& out) {
            FILE* pipe = ::popen(tool.c_str(), "r");
            char buffer[1024];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
                out.append(buffer, n);
            }
            return WEXITSTATUS(::pclose(pipe));
        };
        std::string refused;
        QCOMPARE(runTool(refused), 1);
        QVERIFY2(refused.find(holder) != std::string::npos, refused.c_str());
        QVERIFY(!std::filesystem::exists(home / "Qu_data" / "Qulan.001"));

        ::kill(program, SIGKILL);
        ::waitpid(program, nullptr, 0);
        std::string created;
        QCOMPARE(runTool(created), 0);
        QCOMPARE(created, std::string("Qulan.001\n"));
    }

    // The tool changed the folder while the program was closed; the settings still name the old file, or a
    // file outside the folder. Typing and answering Yes must not write either.
    void rememberedPathsThatTheListDoesNotConfirm_areNeverWritten() {
        test::TestFolder home;
        const std::string tool = std::string(QUILLET_CLI_PATH) + " --home '" + home.Path().string() + "' ";
        QCOMPARE(std::system((tool + "new-category 0 B >/dev/null").c_str()), 0);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(std::system(("echo text | " + tool + "add 0 B card" + std::to_string(i)).c_str()), 0);
        }
        const std::filesystem::path other = home / "Qu_data" / "Qulan.001";
        const std::filesystem::path outside = home / "notes.txt";
        test::WriteBytes(outside, "my notes");
        const std::string otherBytes = test::ReadBytes(other);

        CardStore remembered;
        remembered.currentLibrary = 0;
        remembered.currentCategoryPath = other.string();
        remembered.libraryStates[0] = {"A", "", other.string()};
        remembered.libraryStates[1] = {"N", "", outside.string()};
        QVERIFY(!SaveSettingsFile(home / "Quillet.tmp", AppSettings{}, remembered));

        QSettings profile(QString::fromStdString((home / "profile.ini").string()), QSettings::IniFormat);
        RecordingPrompter prompter;
        prompter.saveAnswer = SaveAnswer::Yes;
        CQuilletApp app(home.Path(), prompter, profile);
        QVERIFY(app.InitInstance(kQuiet));
        QVERIFY(!app.Store().Open().IsOpen());
        auto* tabs = Control<QTabBar>(app.Frame()->Bar(), res::kDataBarTabs);
        for (const int next : {1, 2}) {
            app.Frame()->View().setFocus();
            QTest::keyClicks(&app.Frame()->View(), QStringLiteral("typed"));
            tabs->setCurrentIndex(next);
        }
        QCOMPARE(test::ReadBytes(other), otherBytes);
        QCOMPARE(test::ReadBytes(outside), std::string("my notes"));
        app.Frame()->close();
        app.ExitInstance();
    }

    void setAsideCategories_areOfferedBackAtStart() {
        test::TestFolder home;
        QVERIFY(!SaveSettingsFile(home / "Quillet.tmp", AppSettings{}, CardStore{}));
        std::filesystem::create_directory(home / "Qu_data");
        const std::string hidden = test::CategoryBytes("hidden", {{"a", "b", ""}});
        test::WriteBytes(home / "Qu_data" / "Qulan.001.!!!", hidden);
        test::WriteBytes(home / "Qu_data" / "Quillet.rnm", "damaged");
        QSettings profile(QString::fromStdString((home / "profile.ini").string()), QSettings::IniFormat);
        RecordingPrompter prompter;
        CQuilletApp app(home.Path(), prompter, profile);
        QVERIFY(app.InitInstance(kQuiet));
        QCOMPARE(prompter.shown.size(), std::size_t{2});
        QVERIFY(prompter.shown[1].find("Qulan.001.!!!") != std::string::npos);
        QCOMPARE(test::ReadBytes(home / "Qu_data" / "Qulan.001"), hidden);
        QVERIFY(!std::filesystem::exists(home / "Qu_data" / "Qulan.001.!!!"));
        QVERIFY(!std::filesystem::exists(home / "Qu_data" / "Quillet.rnm"));
        app.Frame()->close();
        app.ExitInstance();
    }

    // Centred at two thirds of the screen, with the data bar as wide as it was left.
    void start_placesTheWindowOnTheScreenAndRestoresTheBarWidth() {
        test::TestFolder home;
        AppSettings saved;
        saved.dataBarWidth = 260;
        QVERIFY(!SaveSettingsFile(home / "Quillet.tmp", saved, CardStore{}));
        QSettings profile(QString::fromStdString((home / "profile.ini").string()), QSettings::IniFormat);
        RecordingPrompter prompter;
        CQuilletApp app(home.Path(), prompter, profile);
        QVERIFY(app.InitInstance(kQuiet));
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(app.Frame()->geometry(), DefaultFrameRect(available));
        QTRY_COMPARE(app.Frame()->Bar().width(), 260);
        QCOMPARE(app.Settings().dataBarWidth, 260);

        test::WriteBytes(home / "Quillet.html", "<html><body><p>帮助</p></body></html>");
        app.Frame()->SetOpenHelpInBrowser(false);
        app.Frame()->Command(res::kCmdHelp)->trigger();
        QVERIFY(app.Frame()->HelpWindow() && app.Frame()->HelpWindow()->isVisible());
        QVERIFY(app.Frame()->HelpWindow()->toPlainText().contains(QStringLiteral("帮助")));
        QVERIFY(prompter.notices.empty());
        app.Frame()->close();
        app.ExitInstance();
    }

    void qtsOwnTexts_areChinese() {
        QVERIFY(InstallChineseTranslations(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Copy"), QStringLiteral("复制(&C)"));
    }

    void documentCommands_ctrlOpensNothingAndNewNeedsACategory() {
        test::TestFolder home;
        QSettings profile(QString::fromStdString((home / "profile.ini").string()), QSettings::IniFormat);
        RecordingPrompter prompter;
        CQuilletApp app(home.Path(), prompter, profile);
        QVERIFY(app.InitInstance(kQuiet));
        app.Frame()->Command(res::kCmdFileOpen)->trigger();
        QVERIFY(prompter.notices.empty());
        app.Frame()->Command(res::kCmdFileNew)->trigger();
        QCOMPARE(prompter.notices, std::vector<std::string>{"没有选择所属类别，创建失败！"});
        QCOMPARE(app.Frame()->Command(res::kCmdFileSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        app.Frame()->close();
        app.ExitInstance();
    }

    void editor_wrapsLongLinesAndKeepsLineBreaks() {
        CQuilletView view;
        view.resize(300, 200);
        view.show();
        const std::string text = ToStoredText(std::string(400, 'x') + "\r\n第二行\r\n");
        view.SetText(text);
        QVERIFY(!view.Modified());
        QCOMPARE(view.Text(), text);
        QCOMPARE(view.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY2(view.document()->documentLayout()->documentSize().height() > 5, "the long line wraps");
        QTest::keyClicks(&view, QStringLiteral("y"));
        QVERIFY(view.Modified());
        view.SetText("again");
        QVERIFY(!view.Modified());
        QVERIFY(view.tabStopDistance() > 0);
    }

    void editor_printsItsText() {
        test::TestFolder folder;
        CQuilletView view;
        view.SetText(ToStoredText("打印这张卡片\r\n第二行"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((folder / "card.pdf").string()));
        view.Print(printer);
        QVERIFY(test::ReadBytes(folder / "card.pdf").starts_with("%PDF"));
    }

    void startOptions_okStoresCancelKeeps() {
        AppSettings settings;
        {
            StartOptionsDialog dialog(settings);
            QVERIFY(Control<QRadioButton>(dialog, res::kOptionBarLeft)->isChecked());
            QVERIFY(Control<QRadioButton>(dialog, res::kOptionEntryMode)->isChecked());
            Control<QRadioButton>(dialog, res::kOptionBarBottom)->click();
            Control<QRadioButton>(dialog, res::kOptionHiddenMode)->click();
            Control<QCheckBox>(dialog, res::kOptionMaximize)->click();
            QVERIFY2(!Control<QRadioButton>(dialog, res::kOptionHiddenMode)->isEnabled() &&
                         Control<QRadioButton>(dialog, res::kOptionEntryMode)->isChecked(),
                     "modes that are not built yet cannot be chosen");
            QVERIFY(Control<QRadioButton>(dialog, res::kOptionHiddenMode)->text().contains(QStringLiteral("暂不可用")));
            dialog.reject();
        }
        QVERIFY(settings == AppSettings{});
        StartOptionsDialog dialog(settings, nullptr, {true, true, true});
        Control<QRadioButton>(dialog, res::kOptionBarTop)->click();
        Control<QRadioButton>(dialog, res::kOptionReadingMode)->click();
        Control<QCheckBox>(dialog, res::kOptionMaximize)->click();
        dialog.accept();
        QCOMPARE(settings.dataBarPosition, 2);
        QCOMPARE(settings.startMode, 1);
        QVERIFY(settings.maximizeAtStart);
    }

    void about_closesOnALeftButtonRelease() {
        AboutDialog about;
        about.open();
        QTest::mouseClick(FindControl(about, res::kAboutVersion), Qt::RightButton);
        QVERIFY(about.isVisible());
        QTest::mouseClick(FindControl(about, res::kAboutVersion), Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    void splash_goesAfterItsTimeOrAtAKey() {
        QPointer<SplashWindow> timed = new SplashWindow;
        timed->show();
        QTRY_VERIFY_WITH_TIMEOUT(timed.isNull(), 3000);

        QPointer<SplashWindow> keyed = new SplashWindow;
        keyed->show();
        QWidget other;
        other.show();
        QTest::keyClick(&other, Qt::Key_A);
        QTRY_VERIFY_WITH_TIMEOUT(keyed.isNull(), 300);
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::QuilletAppTest)
#include "quillet_app_test.moc"
