#include "reading/search_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "../shell/test_prompter.h"
#include "../store/test_folder.h"
#include "res/resource_ids.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {

class SearchDialogTest final : public QObject {
    Q_OBJECT

private:
    // A dialog over a folder of its own, shown as the reading window would show it.
    struct Opened {
        explicit Opened(const test::TestFolder& folder, const std::string& text = "same")
            : dialog(folder.Path(), text, prompter) {
            dialog.show();
        }
        QPushButton& Button(int id) { return *Control<QPushButton>(dialog, id); }
        QString Caption(int id) { return Button(id).text().section(QLatin1Char('('), 0, 0); }
        QString Label(int id) { return Control<QLabel>(dialog, id)->text(); }
        QString GroupTitle() { return Control<QGroupBox>(dialog, res::kSearchProgressGroup)->title(); }
        void Start() { QTest::mouseClick(&Button(res::kIdCancel), Qt::LeftButton); }
        bool Finished() { return GroupTitle() == QStringLiteral("已经查找完毕"); }

        test::TestPrompter prompter;
        SearchDialog dialog;
    };

    static void Seed(const test::TestFolder& folder, const char* file, const std::string& category,
                     const std::vector<CardRecord>& cards) {
        test::WriteBytes(folder / file, test::CategoryBytes(ToStoredText(category), cards));
    }

    static constexpr int kLibraryBoxes[] = {res::kSearchLibrary0, res::kSearchLibrary1, res::kSearchLibrary2,
                                            res::kSearchLibrary3};

private slots:
    void everyOpening_startsByNameInAllLibraries_andEscapeSearchesNothing() {
        test::TestFolder folder;
        Seed(folder, "Qulan.001", "甲", {{"same", "", ""}});
        {
            Opened first(folder);
            Control<QRadioButton>(first.dialog, res::kSearchByBoth)->setChecked(true);
            Control<QCheckBox>(first.dialog, res::kSearchLibrary2)->setChecked(false);
            first.Start();
            QTRY_VERIFY(first.Finished());
            QTest::mouseClick(&first.Button(res::kIdCancel), Qt::LeftButton);
            QCOMPARE(first.dialog.result(), int(QDialog::Rejected));
            QVERIFY(first.dialog.Searched());
        }
        Opened again(folder);
        QVERIFY(Control<QRadioButton>(again.dialog, res::kSearchByName)->isChecked());
        for (const int id : kLibraryBoxes) {
            QVERIFY(Control<QCheckBox>(again.dialog, id)->isChecked());
        }
        // A new dialog is ready, whatever the last one showed, and stays so until started.
        QTest::qWait(SearchDialog::kProgressInterval + 100);
        QCOMPARE(again.GroupTitle(), QStringLiteral("按开始按钮进行搜索"));
        QCOMPARE(again.Label(res::kSearchStatus), QStringLiteral("准备查找"));
        QCOMPARE(again.Label(res::kSearchFoundCount), QStringLiteral("0"));
        QVERIFY(again.Button(res::kSearchCancel).isVisible());

        QTest::keyClick(&again.dialog, Qt::Key_Escape);
        QVERIFY(!again.dialog.isVisible());
        QCOMPARE(again.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!again.dialog.Searched());
        QVERIFY(again.dialog.Outcome().hits.empty());
    }

    void startToFinish_showsTheStatesAndTexts() {
        test::TestFolder folder;
        Seed(folder, "Qulan.001", "甲", {{"same", "", ""}, {"other", "", ""}});
        Seed(folder, "Quuse.001", "乙", {{"same", "", ""}, {"same too", "", ""}});
        Opened opened(folder);
        QCOMPARE(opened.Caption(res::kIdCancel), QStringLiteral("开始"));
        QCOMPARE(opened.Caption(res::kSearchCancel), QStringLiteral("取消"));

        opened.Start();
        QVERIFY(!opened.Button(res::kSearchCancel).isVisible());
        QCOMPARE(opened.Caption(res::kIdCancel), QStringLiteral("退出"));
        QTRY_VERIFY(opened.Finished());
        QVERIFY(opened.Button(res::kIdCancel).isEnabled());
        QCOMPARE(opened.Label(res::kSearchFoundCount), QStringLiteral("3"));
        QCOMPARE(opened.Label(res::kSearchStatus), QStringLiteral("当前类型：乙\n已经找出：2 个资料卡片"));

        QTest::mouseClick(&opened.Button(res::kIdCancel), Qt::LeftButton);
        QVERIFY(!opened.dialog.isVisible());
        const SearchOutcome& outcome = opened.dialog.Outcome();
        QCOMPARE(outcome.hits.size(), std::size_t(3));
        QCOMPARE(outcome.hits[2].card.name, std::string("same too"));
        QVERIFY(!outcome.stopped);
        QVERIFY(opened.prompter.notices.empty());
    }

    void noLibraryTicked_findsNothingAndFinishes() {
        test::TestFolder folder;
        Seed(folder, "Qulan.001", "甲", {{"same", "", ""}});
        Opened opened(folder);
        for (const int id : kLibraryBoxes) {
            Control<QCheckBox>(opened.dialog, id)->setChecked(false);
        }
        opened.Start();
        QTRY_VERIFY(opened.Finished());
        QCOMPARE(opened.Label(res::kSearchFoundCount), QStringLiteral("0"));
        QVERIFY(opened.dialog.Outcome().hits.empty());
    }

    void enterWhileSearching_stopsAndJoinsWithTheResultsSoFar() {
        test::TestFolder folder;
        // Enough files that the search is still at its beginning when Enter comes.
        const std::vector<CardRecord> cards(50, CardRecord{"same", "", ""});
        for (int n = 1; n <= 400; ++n) {
            char file[16];
            std::snprintf(file, sizeof file, "Qulan.%03d", n);
            Seed(folder, file, "类", cards);
        }
        Opened opened(folder);
        opened.Start();
        QTest::keyClick(&opened.dialog, Qt::Key_Return);
        QVERIFY(!opened.dialog.isVisible());
        QCOMPARE(opened.dialog.result(), int(QDialog::Accepted));
        const SearchOutcome& outcome = opened.dialog.Outcome();
        QVERIFY(outcome.stopped);
        QVERIFY(outcome.hits.size() < 400u * 50u);
        for (const SearchHit& hit : outcome.hits) {
            QCOMPARE(hit.card.name, std::string("same"));
        }
    }

    void damagedFile_isNamedWhenTheSearchEnds() {
        test::TestFolder folder;
        Seed(folder, "Qulan.001", "甲", {{"same", "", ""}});
        std::string cut = test::CategoryBytes("cut", {{"same", "", ""}});
        cut.pop_back();
        test::WriteBytes(folder / "Qulan.002", cut);
        Opened opened(folder);
        opened.Start();
        QTRY_VERIFY(opened.Finished());
        QCOMPARE(opened.Label(res::kSearchFoundCount), QStringLiteral("1"));
        QCOMPARE(opened.prompter.notices.size(), std::size_t(1));
        QVERIFY(opened.prompter.notices[0].find("Qulan.002") != std::string::npos);
    }

    void closedWhileSearching_leavesNoThreadBehind() {
        test::TestFolder folder;
        Seed(folder, "Qulan.001", "甲", {{"same", "", ""}});
        auto opened = std::make_unique<Opened>(folder);
        opened->Start();
        opened.reset();  // the destructor stops and joins; a thread left running would be a crash or a race
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::SearchDialogTest)
#include "search_dialog_test.moc"
