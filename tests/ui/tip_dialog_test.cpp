#include "ui/tip_dialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

#include "../store/test_folder.h"
#include "res/resource_ids.h"
#include "ui/dialog_builder.h"

namespace quillet {

class TipDialogTest final : public QObject {
    Q_OBJECT

private:
    test::TestFolder m_folder;

    std::filesystem::path TipsFile() const { return m_folder / "Quillet.tip"; }
    QString Profile() const { return QString::fromStdString((m_folder / "profile.ini").string()); }

    // One dialog's life: the tip it showed.
    QString ShowOnce() {
        QSettings profile(Profile(), QSettings::IniFormat);
        TipDialog dialog(TipsFile(), profile);
        return dialog.TipText();
    }

private slots:
    void init() {
        std::filesystem::remove(TipsFile());
        std::filesystem::remove(m_folder / "profile.ini");
    }

    void missingFile_saysSoAndDisablesNext() {
        QSettings profile(Profile(), QSettings::IniFormat);
        {
            TipDialog dialog(TipsFile(), profile);
            QCOMPARE(dialog.TipText(), QStringLiteral("Tips file does not exist in the prescribed directory"));
            QVERIFY(!Control<QPushButton>(dialog, res::kTipNext)->isEnabled());
        }
        QVERIFY(!profile.contains(QStringLiteral("Tip/FilePos")));
    }

    void eachRun_continuesWithTheNextTipAndWraps() {
        test::WriteBytes(TipsFile(), "; tips\n\xB5\xDA\xD2\xBB\ntwo\n");
        QCOMPARE(ShowOnce(), QStringLiteral("第一\n"));
        QCOMPARE(ShowOnce(), QStringLiteral("two\n"));
        QCOMPARE(ShowOnce(), QStringLiteral("第一\n"));
    }

    void newTipsFile_startsFromItsFirstTip() {
        test::WriteBytes(TipsFile(), "one\ntwo\nthree\n");
        QCOMPARE(ShowOnce(), QStringLiteral("one\n"));
        QCOMPARE(ShowOnce(), QStringLiteral("two\n"));
        std::filesystem::last_write_time(TipsFile(),
                                         std::filesystem::last_write_time(TipsFile()) - std::chrono::hours(24));
        QCOMPARE(ShowOnce(), QStringLiteral("one\n"));
    }

    void nextButton_showsTheFollowingTip() {
        test::WriteBytes(TipsFile(), "one\ntwo\n");
        QSettings profile(Profile(), QSettings::IniFormat);
        TipDialog dialog(TipsFile(), profile);
        QTest::mouseClick(Control<QPushButton>(dialog, res::kTipNext), Qt::LeftButton);
        QCOMPARE(dialog.TipText(), QStringLiteral("two\n"));
    }

    void startUpChoice_isWrittenOnlyByTheCloseButton() {
        test::WriteBytes(TipsFile(), "one\n");
        QSettings profile(Profile(), QSettings::IniFormat);
        {
            TipDialog dialog(TipsFile(), profile);
            QVERIFY(dialog.ShowAtStartUp());
            dialog.open();
            Control<QCheckBox>(dialog, res::kTipShowAtStartUp)->click();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        }
        QVERIFY(!profile.contains(QStringLiteral("Tip/StartUp")));
        {
            TipDialog dialog(TipsFile(), profile);
            dialog.open();
            Control<QCheckBox>(dialog, res::kTipShowAtStartUp)->click();
            QTest::mouseClick(Control<QPushButton>(dialog, res::kIdOk), Qt::LeftButton);
        }
        QCOMPARE(profile.value(QStringLiteral("Tip/StartUp")).toInt(), 1);
        TipDialog again(TipsFile(), profile);
        QVERIFY(!again.ShowAtStartUp());
    }

    void fileWithoutTips_showsAClearTextAndDoesNotHang() {
        test::WriteBytes(TipsFile(), ";\n\n  \n");
        QCOMPARE(ShowOnce(), QStringLiteral("提示文件中没有可以显示的提示。"));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::TipDialogTest)
#include "tip_dialog_test.moc"
