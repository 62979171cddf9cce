#include "tools/backup_commands.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "../shell/entry_world.h"
#include "store/backup_file.h"
#include "store/codec.h"
#include "tools/import_dialog.h"

namespace quillet {

class BackupCommandsTest final : public QObject {
    Q_OBJECT

private:
    struct BackupWorld : World {
        BackupWorld() {
            Seed("Qulan.001", ToStoredText("算法"), {{"one", "1", ""}});
            Open(0, ToStoredText("算法"));
            commands = InstallBackupCommands(*frame, store, prompter);
        }
        // A backup of another store, holding one new category and the existing one with a new card.
        std::filesystem::path OtherBackup(bool damaged = false) {
            const std::filesystem::path other = home / "other";
            std::filesystem::create_directories(other);
            test::WriteBytes(other / "Qulan.001", test::CategoryBytes(ToStoredText("算法"), {{"two", "2", ""}}));
            test::WriteBytes(other / "Qulan.002", test::CategoryBytes(ToStoredText("新类"), {{"x", "", ""}}));
            test::WriteBytes(other / "Quuse.001", test::CategoryBytes("later", {{"y", std::string(200, 'y'), ""}}));
            const std::filesystem::path file = home / "other.quo";
            [[maybe_unused]] const bool failed = static_cast<bool>(ExportBackup(other, file).error);
            if (damaged) {
                std::filesystem::resize_file(file, std::filesystem::file_size(file) - 100);
            }
            return file;
        }
        // Runs the import command; `drive` works the dialog while it is open.
        void RunImport(const std::function<void(ImportDialog&)>& drive) {
            commands->SetImportDialogHook(
                [drive](ImportDialog& dialog) { QTimer::singleShot(0, &dialog, [&dialog, drive] { drive(dialog); }); });
            frame->Command(res::kCmdImportBackup)->trigger();
        }
        static void Start(ImportDialog& dialog, const std::filesystem::path& file) {
            Control<QLineEdit>(dialog, res::kImportFile)->setText(QString::fromStdString(file.string()));
            QTest::mouseClick(Control<QPushButton>(dialog, res::kImportStart), Qt::LeftButton);
        }
        QStringList CategoryNames() {
            QStringList names;
            for (int i = 0; i < Categories().count(); ++i) {
                names << Categories().itemText(i);
            }
            return names;
        }
        BackupCommands* commands = nullptr;
    };

private slots:
    void import_growsToShowItsLog_endsWithExit_andLeavesTheHint() {
        BackupWorld world;
        const std::filesystem::path backup = world.OtherBackup();
        // A changed card is asked about first.
        world.frame->Bar().SelectCardItem(0);
        world.frame->View().SetText("edited");
        world.frame->View().SetModified(true);
        world.prompter.saveAnswer = SaveAnswer::Yes;
        bool checked = false;
        world.RunImport([&](ImportDialog& dialog) {
            QListWidget* log = Control<QListWidget>(dialog, res::kImportLog);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("资料导入："));
            QVERIFY2(log->geometry().top() >= dialog.height(), "the log is below the small dialog");
            QVERIFY(Control<QPushButton>(dialog, res::kImportExit)->isHidden());
            QVERIFY(!Control<QCheckBox>(dialog, res::kImportOverwrite)->isChecked());
            BackupWorld::Start(dialog, backup);
            QVERIFY(log->geometry().bottom() < dialog.height());
            for (const int id : {res::kImportBrowse, res::kImportStart, res::kImportOverwrite, res::kImportFile}) {
                QVERIFY(!FindControl(dialog, id)->isEnabled());
            }
            QCOMPARE(dialog.windowTitle(), QStringLiteral("导入工作结束"));
            QVERIFY(!Control<QPushButton>(dialog, res::kImportExit)->isHidden());
            QVERIFY(Control<QPushButton>(dialog, res::kIdCancel)->isHidden());
            QStringList lines;
            for (int i = 0; i < log->count(); ++i) {
                lines << log->item(i)->text();
            }
            QCOMPARE(lines.mid(0, 7),
                     (QStringList{QString(), QStringLiteral("【编程资料】:"), QStringLiteral(" ++ 算法"),
                                  QStringLiteral(" 原卡片:[1],待加卡片:[1],新加:[1],覆盖:[0] "),
                                  QStringLiteral(" +++++++++++++++++++++++++++++++++++++++++++++++++"),
                                  QStringLiteral(" ++ 新类 "),
                                  QStringLiteral(" ++++++++++++++++++++++++++++++ 加入新卡片:[1]")}));
            QTest::mouseClick(Control<QPushButton>(dialog, res::kImportExit), Qt::LeftButton);
            checked = true;
        });
        QVERIFY(checked);
        QCOMPARE(world.prompter.shown.front().rfind("save:", 0), std::size_t{0});
        QCOMPARE(world.CategoryNames(), (QStringList{QStringLiteral("算法"), QStringLiteral("新类")}));
        QCOMPARE(world.CardCount(), 2);
        QVERIFY(world.frame->View().Text().starts_with(ToStoredText("++ 导入工作已经完成！\r\n")));
        QVERIFY(!world.frame->View().Modified());
        QVERIFY2(world.frame->View().isReadOnly(), "the hint is no card to type into");
    }

    void import_ofADamagedBackup_saysSo_showsNoHint_andStillReloads() {
        BackupWorld world;
        const std::filesystem::path backup = world.OtherBackup(true);
        world.frame->Bar().SelectCardItem(0);
        world.RunImport([&](ImportDialog& dialog) {
            BackupWorld::Start(dialog, backup);
            QVERIFY(Control<QPushButton>(dialog, res::kImportExit)->isHidden());
            QCOMPARE(dialog.windowTitle(), QStringLiteral("资料导入："));
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QVERIFY(world.prompter.notices[0].find("other.quo") != std::string::npos);
        QVERIFY2(world.CategoryNames().contains(QStringLiteral("新类")), "what was written is shown");
        QCOMPARE(world.frame->View().Text(), "1");

        // Back out of the dialog without importing: nothing is reloaded, nothing said.
        world.RunImport([](ImportDialog& dialog) { dialog.reject(); });
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
    }

    void export_cancelledLeavesTheOldFile_andAChosenNameGetsItsExtension() {
        BackupWorld world;
        test::WriteBytes(world.home / "old.quo", "older");
        world.commands->SetExportFileChooser([] { return QString(); });
        world.frame->Command(res::kCmdExportBackup)->trigger();
        QCOMPARE(test::ReadBytes(world.home / "old.quo"), "older");

        test::WriteBytes(world.store.CategoryFolder() / "Qulan.txt", "not a category\n");
        const QString chosen = QString::fromStdString((world.home / "mine").string());
        world.commands->SetExportFileChooser([chosen] { return chosen; });
        world.frame->Command(res::kCmdExportBackup)->trigger();
        QVERIFY(std::filesystem::exists(world.home / "mine.quo"));
        QCOMPARE(world.prompter.notices.size(), std::size_t{1});
        QVERIFY(world.prompter.notices[0].find("Qulan.txt") != std::string::npos);
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::BackupCommandsTest)
#include "backup_commands_test.moc"
