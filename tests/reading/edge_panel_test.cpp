#include "reading/edge_panel.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

namespace quillet {

class EdgePanelTest final : public QObject {
    Q_OBJECT

private:
    struct Panel {
        Panel() {
            panel.Body().resize(200, 300);
            panel.SetTitle(QStringLiteral("青榆资料夹－阅读模式 "));
            area = QGuiApplication::primaryScreen()->availableGeometry();
            panel.DockAt(Edge::Top, 0, area, true);
            panel.show();
        }
        QPoint TabPoint() { return panel.mapToGlobal(panel.TabRect().topLeft() + QPoint(3, 3)); }
        QPoint FarAway() { return area.center() + QPoint(0, area.height() / 3); }

        EdgePanel panel;
        QRect area;
    };

private slots:
    void startsTucked_comesOutAtTheTabAndHidesAgainElsewhere() {
        Panel p;
        const int tab = p.panel.TabRect().width();
        QCOMPARE(p.panel.geometry(), QRect(p.area.left(), p.area.top(), tab, kTabThickness));
        QVERIFY(!p.panel.Body().isVisible());

        p.panel.CheckCursor(p.TabPoint());
        QVERIFY(!p.panel.IsTucked());
        QCOMPARE(p.panel.geometry(), QRect(p.area.left(), p.area.top(), 200, 300 + kTabThickness));
        QVERIFY(p.panel.Body().isVisible());
        // The outline is the body and the tab below it, nothing beside the tab.
        QVERIFY(p.panel.mask().contains(QPoint(199, 299)));
        QVERIFY(p.panel.mask().contains(QPoint(1, 310)));
        QVERIFY(!p.panel.mask().contains(QPoint(199, 310)));

        p.panel.CheckCursor(p.panel.mapToGlobal(QPoint(100, 150)));
        QVERIFY2(!p.panel.IsTucked(), "the mouse over the body keeps it out");
        p.panel.CheckCursor(p.FarAway());
        QVERIFY(p.panel.IsTucked());
    }

    void tabButton_pinsItOpenUntilPressedAgain_andTheButtonAloneChangesNothing() {
        Panel p;
        p.panel.CheckCursor(p.panel.mapToGlobal(p.panel.TabButtonRect().center()));
        QVERIFY2(p.panel.IsTucked(), "the tab's button is left alone, so that it can be pressed");

        p.panel.CheckCursor(p.TabPoint());
        QTest::mouseClick(&p.panel, Qt::LeftButton, {}, p.panel.TabButtonRect().center());
        QVERIFY(p.panel.IsPinned());
        p.panel.CheckCursor(p.FarAway());
        QVERIFY(!p.panel.IsTucked());
        QTest::mouseClick(&p.panel, Qt::LeftButton, {}, p.panel.TabButtonRect().center());
        p.panel.CheckCursor(p.FarAway());
        QVERIFY(p.panel.IsTucked());
    }

    void openDialog_keepsItOut() {
        Panel p;
        p.panel.CheckCursor(p.TabPoint());
        QDialog question(&p.panel);
        question.open();
        p.panel.CheckCursor(p.FarAway());
        QVERIFY(!p.panel.IsTucked());
        question.close();
        p.panel.CheckCursor(p.FarAway());
        QVERIFY(p.panel.IsTucked());
    }

    void drag_movesItToTheLeftEdgeWithTheTabOnItsRight() {
        Panel p;
        p.panel.CheckCursor(p.TabPoint());
        QSignalSpy edges(&p.panel, &EdgePanel::edgeChanged);
        const QPoint start = p.TabPoint();
        p.panel.BeginDrag(start);
        QVERIFY(p.panel.Dragging());
        p.panel.DragTo(QPoint(p.area.left() + 10, p.area.center().y()));
        QCOMPARE(p.panel.CurrentEdge(), Edge::Left);
        QCOMPARE(edges.count(), 1);
        QCOMPARE(p.panel.geometry().left(), p.area.left());
        QCOMPARE(p.panel.geometry().size(), QSize(200 + kTabThickness, 300));
        QCOMPARE(p.panel.TabRect(), QRect(200, 0, kTabThickness, p.panel.TabRect().height()));
        p.panel.CheckCursor(p.FarAway());
        QVERIFY2(!p.panel.IsTucked(), "never hidden in the middle of a drag");
        p.panel.EndDrag();
        p.panel.CheckCursor(p.FarAway());
        QVERIFY(p.panel.IsTucked());
        QCOMPARE(p.panel.geometry(),
                 QRect(p.area.left(), p.panel.DockedGeometry().top(), kTabThickness, p.panel.TabRect().height()));
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::EdgePanelTest)
#include "edge_panel_test.moc"
