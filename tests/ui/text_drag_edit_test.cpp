#include "ui/text_drag_edit.h"

#include <QMimeData>
#include <QtTest>

#include "ui/text_move.h"

namespace quillet {

class TextDragEditTest final : public QObject {
    Q_OBJECT

private:
    // A multi-line field on screen, open for both directions, holding this text.
    static std::unique_ptr<CTextDragEdit> ShownEdit(const QString& text) {
        auto edit = std::make_unique<CTextDragEdit>(false);
        edit->Register(CTextDragEdit::kDragOut | CTextDragEdit::kDropIn);
        edit->resize(300, 100);
        edit->show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(edit.get());
        edit->SetText(text);
        return edit;
    }

    static void Select(CTextDragEdit& edit, int start, int end) {
        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
    }
    static QPoint PointAt(const CTextDragEdit& edit, int position) {
        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(position);
        return edit.cursorRect(cursor).center() + QPoint(1, 0);
    }
    // Drags data onto the field from elsewhere; returns whether the field took it.
    static bool DropOn(CTextDragEdit& edit, QMimeData& data, QPoint at, Qt::KeyboardModifiers modifiers,
                       Qt::DropAction* action = nullptr) {
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(edit.viewport(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(edit.viewport(), &drop);
        if (action) {
            *action = drop.dropAction();
        }
        return drop.isAccepted();
    }

private slots:
    void selfMovePlan_data() {
        QTest::addColumn<int>("drop");
        QTest::addColumn<QString>("result");
        QTest::newRow("inside the selection") << 2 << QStringLiteral("abcdef");
        QTest::newRow("at its start") << 1 << QStringLiteral("abcdef");
        QTest::newRow("at its end") << 3 << QStringLiteral("abcdef");
        QTest::newRow("forward") << 5 << QStringLiteral("adebcf");
        QTest::newRow("to the end") << 6 << QStringLiteral("adefbc");
        QTest::newRow("backward to the start") << 0 << QStringLiteral("bcadef");
    }
    void selfMovePlan() {
        QFETCH(int, drop);
        QFETCH(QString, result);
        CTextDragEdit edit(false);
        edit.Register(CTextDragEdit::kDragOut | CTextDragEdit::kDropIn);
        edit.SetText(QStringLiteral("abcdef"));
        Select(edit, 1, 3);
        edit.MoveSelectionTo(drop);
        QCOMPARE(edit.Text(), result);
        if (result != QStringLiteral("abcdef")) {
            QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("bc"));
            edit.undo();
            QCOMPARE(edit.Text(), QStringLiteral("abcdef"));
        }
    }

    void backwardMoveWithinTheField() {
        CTextDragEdit edit(false);
        edit.Register(3);
        edit.SetText(QStringLiteral("abcdef"));
        Select(edit, 3, 5);
        edit.MoveSelectionTo(1);
        QCOMPARE(edit.Text(), QStringLiteral("adebcf"));
        const SelfMovePlan plan = PlanSelfMove(3, 5, 1);
        QCOMPARE(plan.insertAt, 1);
    }

    void dropFromElsewhere_landsUnderTheMouseMovingOrCopying() {
        const auto shown = ShownEdit(QStringLiteral("abcdef"));
        CTextDragEdit& edit = *shown;
        QMimeData data;
        data.setText(QStringLiteral("XY"));
        Qt::DropAction action = Qt::IgnoreAction;
        QVERIFY(DropOn(edit, data, PointAt(edit, 2), Qt::NoModifier, &action));
        QCOMPARE(edit.Text(), QStringLiteral("abXYcdef"));
        QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("XY"));
        QCOMPARE(action, Qt::MoveAction);
        QVERIFY(DropOn(edit, data, PointAt(edit, 0), Qt::ControlModifier, &action));
        QCOMPARE(action, Qt::CopyAction);
        QCOMPARE(edit.Text(), QStringLiteral("XYabXYcdef"));
    }

    void dataWithoutText_isRefused() {
        const auto shown = ShownEdit(QStringLiteral("abc"));
        CTextDragEdit& edit = *shown;
        QMimeData picture;
        picture.setData(QStringLiteral("image/png"), QByteArray("\x89PNG"));
        QVERIFY(!DropOn(edit, picture, PointAt(edit, 1), Qt::NoModifier));
        QCOMPARE(edit.Text(), QStringLiteral("abc"));

        CTextDragEdit closed(false);
        closed.Register(CTextDragEdit::kDragOut);
        QMimeData text;
        text.setText(QStringLiteral("x"));
        QVERIFY(!DropOn(closed, text, QPoint(5, 5), Qt::NoModifier));
        QVERIFY2(!closed.Register(3), "registered once");
    }

    void clickInsideTheSelectionWithoutADrag_placesTheCaret() {
        const auto shown = ShownEdit(QStringLiteral("abcdef"));
        CTextDragEdit& edit = *shown;
        Select(edit, 0, 6);
        const QPoint at = PointAt(edit, 3);
        QTest::mousePress(edit.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(edit.viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!edit.textCursor().hasSelection());
        QCOMPARE(edit.textCursor().position(), edit.cursorForPosition(at).position());
        QCOMPARE(edit.Text(), QStringLiteral("abcdef"));
    }

    void singleLine_keepsToOneLineAndLeavesReturn() {
        CTextDragEdit edit(true);
        edit.Register(3);
        edit.SetText(QStringLiteral("a\r\nb"));
        QCOMPARE(edit.Text(), QStringLiteral("a b"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&edit, &enter);
        QVERIFY(!enter.isAccepted());
        QCOMPARE(edit.Text(), QStringLiteral("a b"));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::TextDragEditTest)
#include "text_drag_edit_test.moc"
