#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include "store/card_store.h"
#include "store/instance_lock.h"
#include "store/program_folder.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));

    quillet::InstanceLock lock;
    if (!lock.TryAcquire()) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quillet"), QStringLiteral("青榆资料夹已经正在运行!"),
                        QMessageBox::Ok);
        box.exec();
        return 0;
    }
    quillet::CardStore store(quillet::DefaultProgramFolder());
    if (quillet::StoreError error = quillet::RecoverInterruptedWork(store.CategoryFolder())) {
        QMessageBox::warning(nullptr, QStringLiteral("Quillet"), QString::fromStdString(error.Message()));
    }

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("青榆资料夹－录入模式"));
    frame.resize(800, 600);
    frame.show();
    return app.exec();
}
