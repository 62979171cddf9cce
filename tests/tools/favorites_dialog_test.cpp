#include "tools/favorites_dialog.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "../shell/entry_world.h"
#include "store/codec.h"
#include "tools/shortcut_file.h"

namespace quillet {

class FavoritesDialogTest final : public QObject {
    Q_OBJECT

private:
    struct FavoritesWorld : World {
        FavoritesWorld() {
            Seed("Quweb.001", ToStoredText("常用网站"), {{"Qt", ToStoredText("框架"), "https://qt.io/"}});
            Open(3, ToStoredText("常用网站"));
            InstallFavoritesCommands(*frame, store);
        }
        void Run(int id, const std::function<void(FavoritesDialog&)>& drive) {
            QTimer::singleShot(0, [drive] {
                auto* dialog = qobject_cast<FavoritesDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                drive(*dialog);
                if (QTest::currentTestFailed()) {
                    dialog->done(QDialog::Rejected);
                }
            });
            frame->Command(id)->trigger();
        }
        static QStringList Log(QDialog& dialog) {
            QStringList lines;
            auto* log = Control<QListWidget>(dialog, res::kFavoritesLog);
            for (int i = 0; i < log->count(); ++i) {
                lines << log->item(i)->text();
            }
            return lines;
        }
    };

private slots:
    void export_runsOnce_andWritesTheShortcutFolder() {
        FavoritesWorld world;
        const std::filesystem::path target = world.home / "导出";
        world.Run(res::kCmdExportFavorites, [&target](FavoritesDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("网络资源－站点导出："));
            QVERIFY(Control<QLineEdit>(dialog, res::kFavoritesFolder)
                        ->text()
                        .endsWith(QStringLiteral("/Favorites/青榆资料夹－导出站点")));
            QVERIFY(Control<QCheckBox>(dialog, res::kFavoritesOverwrite)->isHidden());
            Control<QLineEdit>(dialog, res::kFavoritesFolder)->setText(QStringLiteral("relative"));
            QTest::mouseClick(Control<QPushButton>(dialog, res::kIdOk), Qt::LeftButton);
            QVERIFY(!dialog.Ran());  // a path that can be mended
            Control<QLineEdit>(dialog, res::kFavoritesFolder)->setText(QString::fromStdString(target.string()));
            QTest::mouseClick(Control<QPushButton>(dialog, res::kIdOk), Qt::LeftButton);
            QVERIFY(dialog.Ran());
            QVERIFY(!Control<QPushButton>(dialog, res::kIdOk)->isEnabled());
            QCOMPARE(FavoritesWorld::Log(dialog).back(), QStringLiteral("导出工作结束,共导出站点[1]个"));
            QTest::mouseClick(Control<QPushButton>(dialog, res::kFavoritesExit), Qt::LeftButton);
        });
        QCOMPARE(test::ReadBytes(target / "常用网站" / "Qt.url"), ShortcutFileBytes("https://qt.io/"));
        QVERIFY(world.prompter.notices.empty());
    }

    void import_thenEscape_stillReloadsTheBarFromDisk() {
        FavoritesWorld world;
        const std::filesystem::path favorites = world.home / "收藏夹";
        std::filesystem::create_directories(favorites / "常用网站");
        test::WriteBytes(favorites / "常用网站" / "新站.url", ShortcutFileBytes("http://new/"));
        test::WriteBytes(favorites / "常用网站" / "Qt.url", ShortcutFileBytes("https://qt.io/6"));
        world.Run(res::kCmdImportFavorites, [&favorites](FavoritesDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("网络资源－站点导入："));
            QCOMPARE(Control<QPushButton>(dialog, res::kIdOk)->text().left(2), QStringLiteral("导入"));
            QVERIFY(!Control<QCheckBox>(dialog, res::kFavoritesOverwrite)->isHidden());
            Control<QLineEdit>(dialog, res::kFavoritesFolder)->setText(QString::fromStdString(favorites.string()));
            QTest::mouseClick(Control<QPushButton>(dialog, res::kIdOk), Qt::LeftButton);
            QVERIFY(FavoritesWorld::Log(dialog).contains(QStringLiteral("Qt [未覆盖]")));
            QCOMPARE(FavoritesWorld::Log(dialog).back(), QStringLiteral("新加站点[1],未覆盖站点[1],覆盖站点[0]"));
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QCOMPARE(world.CardCount(), 2);
        QCOMPARE(world.Card(1).data().toString(), QStringLiteral("新站"));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::FavoritesDialogTest)
#include "favorites_dialog_test.moc"
