#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "../store/test_folder.h"
#include "res/resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/dynamic_bar.h"
#include "ui/dynamic_dialog.h"

namespace quillet {

// The name dialog's template with the layout a resizable version of it would use.
class ResizableNameDialog final : public DynamicDialog {
public:
    ResizableNameDialog() : DynamicDialog(res::kNameInputDialog) {
        Engine().AddSzControl(FindControl(*this, res::kNameGroup), SizeMode::Resize, SizeMode::Resize, false);
        Engine().AddSzControl(FindControl(*this, res::kNameEdit), 0, 0, 100, 0, false);
        Engine().AddSzControl(FindControl(*this, res::kIdOk), SizeMode::Move, SizeMode::Move, false);
        Engine().AddSzControl(FindControl(*this, res::kIdCancel), SizeMode::Relative, SizeMode::Move, false);
        InitializeLayout();
    }
};

class DynamicLayoutTest final : public QObject {
    Q_OBJECT

private:
    test::TestFolder m_folder;

private slots:
    void resizedDialog_putsEveryControlWhereItsPercentagesSay() {
        ResizableNameDialog dialog;
        const QSize start = dialog.size();
        const QRect group = FindControl(dialog, res::kNameGroup)->geometry();
        const QRect edit = FindControl(dialog, res::kNameEdit)->geometry();
        const QRect ok = FindControl(dialog, res::kIdOk)->geometry();
        const QRect cancel = FindControl(dialog, res::kIdCancel)->geometry();
        dialog.show();
        dialog.resize(start + QSize(71, 20));

        QCOMPARE(FindControl(dialog, res::kNameGroup)->geometry(), group.adjusted(0, 0, 71, 20));
        QCOMPARE(FindControl(dialog, res::kNameEdit)->geometry(), edit.adjusted(0, 0, 71, 0));
        QCOMPARE(FindControl(dialog, res::kIdOk)->geometry(), ok.translated(71, 20));
        QCOMPARE(FindControl(dialog, res::kIdCancel)->geometry(), cancel.translated(35, 20));
        QCOMPARE(dialog.Engine().Snapshot().dx, 71);

        dialog.resize(start - QSize(50, 10));
        QCOMPARE(dialog.size(), start);
        QCOMPARE(dialog.minimumSize(), start);
    }

    void destroyedChild_leavesTheEngine() {
        ResizableNameDialog dialog;
        QCOMPARE(dialog.Engine().ChildCount(), 4);
        delete FindControl(dialog, res::kIdCancel);
        QCOMPARE(dialog.Engine().ChildCount(), 3);
        QVERIFY(!dialog.Engine().AddSzControl(nullptr, SizeMode::None, SizeMode::None));
    }

    void storedPosition_roundTripsAndDefaultsToCentredAndLarger() {
        QSettings profile(QString::fromStdString((m_folder / "positions.ini").string()), QSettings::IniFormat);
        QWidget parent;
        parent.setGeometry(100, 100, 1000, 800);
        {
            ResizableNameDialog dialog;
            dialog.setParent(&parent, dialog.windowFlags());
            const QSize size = dialog.size();
            dialog.Engine().SetProfile(&profile);
            dialog.Engine().SetPositionName(QStringLiteral("ID=0x00000087"));
            QVERIFY(!dialog.Engine().RestorePosition());
            const int grownWidth = size.width() + size.width() * 10 / 100;
            QCOMPARE(dialog.width(), grownWidth);
            QCOMPARE(dialog.geometry().center().x() / 10, QRect(100, 100, 1000, 800).center().x() / 10);

            dialog.setGeometry(40, 50, 600, 200);
            dialog.Engine().StorePosition();
        }
        QCOMPARE(profile.value(QStringLiteral("WindowPositions/ID=0x00000087/(valid)")).toInt(), 1);
        QCOMPARE(profile.value(QStringLiteral("WindowPositions/ID=0x00000087/Right")).toInt(), 640);
        QCOMPARE(profile.value(QStringLiteral("WindowPositions/ID=0x00000087/State")).toInt(), -1);

        ResizableNameDialog again;
        again.Engine().SetProfile(&profile);
        again.Engine().SetPositionName(QStringLiteral("ID=0x00000087"));
        QVERIFY(again.Engine().RestorePosition());
        QCOMPARE(again.geometry(), QRect(40, 50, 600, 200));
    }

    void withoutProfile_nothingIsStored() {
        ResizableNameDialog dialog;
        dialog.Engine().SetPositionName(QStringLiteral("ID=0x00000087"));
        const QRect before = dialog.geometry();
        QVERIFY(!dialog.Engine().RestorePosition());
        QCOMPARE(dialog.geometry(), before);
        dialog.Engine().StorePosition();
        QVERIFY2(dialog.Engine().PositionName().size() > 0, "named, but nowhere to keep it");
    }

    void sizingBar_remembersOneSizePerOrientationAndNeverGoesBelowItsMinimum() {
        QMainWindow frame;
        frame.setCentralWidget(new QWidget);
        frame.resize(800, 600);
        auto* dialog = new DynamicBarDialog(res::kNameInputDialog, nullptr);
        auto* bar = new DynamicBar(QStringLiteral("资料收集"), frame, QSize(200, 180), true, 59424, dialog);
        bar->DockAt(Qt::LeftDockWidgetArea);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(bar->CurrentOrientation(), CSizingBar::Orientation::Vertical);
        QCOMPARE(bar->width(), 200);
        QCOMPARE(bar->widget(), dialog);
        QCOMPARE(dialog->parentWidget(), bar);
        QVERIFY(bar->minimumWidth() >= 33 && bar->minimumHeight() >= 32);

        frame.resizeDocks({bar}, {150}, Qt::Horizontal);
        QTRY_COMPARE(bar->RememberedSize(CSizingBar::Orientation::Vertical).width(), 150);
        bar->DockAt(Qt::TopDockWidgetArea);
        QTRY_COMPARE(bar->height(), 180);
        QCOMPARE(bar->CurrentOrientation(), CSizingBar::Orientation::Horizontal);
        bar->DockAt(Qt::RightDockWidgetArea);
        QTRY_COMPARE(bar->width(), 150);
        frame.resizeDocks({bar}, {1}, Qt::Horizontal);
        QTRY_VERIFY(bar->width() >= 33);
    }

    void gripperClick_asksForTheTipAndKeepsTheBar() {
        QMainWindow frame;
        frame.setCentralWidget(new QWidget);
        auto* bar = new DynamicBar(QStringLiteral("资料收集"), frame, QSize(200, 180), true, 59424,
                                   new DynamicBarDialog(res::kNameInputDialog, nullptr));
        bar->DockAt(Qt::LeftDockWidgetArea);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QSignalSpy tip(bar, &CSizingBar::tipOfTheDayRequested);
        auto* strip = qobject_cast<GripperStrip*>(bar->titleBarWidget());
        QVERIFY(strip);
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->ButtonRect().center());
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(5, strip->height() / 2));
        QCOMPARE(tip.count(), 2);
        QVERIFY(bar->isVisible());
    }
};

}  // namespace quillet

QTEST_MAIN(quillet::DynamicLayoutTest)
#include "dynamic_layout_test.moc"
