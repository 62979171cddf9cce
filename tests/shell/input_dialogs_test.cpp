#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "res/resource_ids.h"
#include "shell/name_input_dialog.h"
#include "shell/site_input_dialog.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {

class InputDialogsTest final : public QObject {
    Q_OBJECT

private:
    // Typing as an input method does: the text is committed at the cursor, Chinese included.
    static void Type(QWidget* edit, const QString& text) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(edit, &commit);
    }

    static void Click(QDialog& dialog, int id) { QTest::mouseClick(Control<QPushButton>(dialog, id), Qt::LeftButton); }

    // Every control lies inside the dialog; edits lie inside the group box drawn around them.
    static void CheckLayout(const QDialog& dialog, int editId, int groupId) {
        const QRect inside(QPoint(0, 0), dialog.size());
        for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY2(inside.contains(child->geometry()), child->metaObject()->className());
        }
        QVERIFY(FindControl(dialog, groupId)->geometry().contains(FindControl(dialog, editId)->geometry()));
        QVERIFY(FindControl(dialog, res::kIdOk)->x() < FindControl(dialog, res::kIdCancel)->x());
    }

private slots:
    void nameDialog_takesTitleTextAndCaption() {
        CardStore store;
        NameInputDialog dialog(store, QStringLiteral("请进行类别名称的修改："), QStringLiteral("旧名"),
                               QStringLiteral("编程资料"));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("请进行类别名称的修改："));
        QCOMPARE(Control<QLineEdit>(dialog, res::kNameEdit)->text(), QStringLiteral("旧名"));
        QCOMPARE(Control<QGroupBox>(dialog, res::kNameGroup)->title(), QStringLiteral("编程资料"));
        CheckLayout(dialog, res::kNameEdit, res::kNameGroup);
        QVERIFY(dialog.width() > dialog.height() * 3);
    }

    void nameDialog_okKeepsItOpenForNoNameOrOneBlank_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("empty") << QString() << false << QByteArray("unchanged");
        QTest::newRow("one blank") << QStringLiteral(" ") << false << QByteArray("unchanged");
        QTest::newRow("two blanks") << QStringLiteral("  ") << true << QByteArray("  ");
        QTest::newRow("blanks kept as typed") << QStringLiteral(" 名 ") << true << QByteArray(" \xC3\xFB ");
    }
    void nameDialog_okKeepsItOpenForNoNameOrOneBlank() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QByteArray, stored);
        CardStore store;
        store.currentCard.name = "unchanged";
        NameInputDialog dialog(store, QStringLiteral("t"), QString(), QStringLiteral("c"));
        dialog.open();
        Type(Control<QLineEdit>(dialog, res::kNameEdit), typed);
        Click(dialog, res::kIdOk);
        QCOMPARE(dialog.isVisible(), !accepted);
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(QByteArray::fromStdString(store.currentCard.name), stored);
    }

    void nameDialog_cancelAndEscapeLeaveTheCardFields() {
        CardStore store;
        store.currentCard = {"name", "content", "address"};
        for (bool escape : {false, true}) {
            NameInputDialog dialog(store, QStringLiteral("t"), QStringLiteral("typed"), QStringLiteral("c"));
            dialog.open();
            if (escape) {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            } else {
                Click(dialog, res::kIdCancel);
            }
            QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
            QVERIFY(store.currentCard == (CardRecord{"name", "content", "address"}));
        }
    }

    void nameDialog_enterPressesOk() {
        CardStore store;
        NameInputDialog dialog(store, QStringLiteral("t"), QString(), QStringLiteral("c"));
        dialog.open();
        Type(Control<QLineEdit>(dialog, res::kNameEdit), QStringLiteral("卡片"));
        QTest::keyClick(Control<QLineEdit>(dialog, res::kNameEdit), Qt::Key_Return);
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(QByteArray::fromStdString(store.currentCard.name), QByteArray("\xBF\xA8\xC6\xAC"));
    }

    void siteDialog_showsTheCardFieldsAndTakesThemBackAsTyped() {
        CardStore store;
        store.currentCard = {ToStoredText("青榆"), ToStoredText("第一行\r\n第二行"), "http://a"};
        SiteInputDialog dialog(store);
        dialog.open();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("请输入站点信息："));
        QCOMPARE(Control<QLineEdit>(dialog, res::kSiteNameEdit)->text(), QStringLiteral("青榆"));
        QCOMPARE(Control<QLineEdit>(dialog, res::kSiteAddressEdit)->text(), QStringLiteral("http://a"));
        CheckLayout(dialog, res::kSiteNameEdit, res::kNameGroup);

        Control<QLineEdit>(dialog, res::kSiteNameEdit)->clear();
        auto* description = Control<QPlainTextEdit>(dialog, res::kSiteDescriptionEdit);
        description->moveCursor(QTextCursor::End);
        QTest::keyClick(description, Qt::Key_Return);
        QVERIFY2(dialog.isVisible(), "Enter in the description makes a new line");
        QTest::keyClicks(description, QStringLiteral("x"));
        Click(dialog, res::kIdOk);
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(store.currentCard.name, std::string());
        QCOMPARE(store.currentCard.address, std::string("http://a"));
        QCOMPARE(ToUtf8(store.currentCard.content), std::string("第一行\n第二行\nx"));
    }

    void siteDialog_cancelLeavesTheCardFields() {
        CardStore store;
        store.currentCard = {"n", "d", "a"};
        SiteInputDialog dialog(store);
        dialog.open();
        QTest::keyClicks(Control<QLineEdit>(dialog, res::kSiteNameEdit), QStringLiteral("changed"));
        Click(dialog, res::kIdCancel);
        QVERIFY(store.currentCard == (CardRecord{"n", "d", "a"}));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::InputDialogsTest)
#include "input_dialogs_test.moc"
