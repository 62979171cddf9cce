#include "ui/library_tabs.h"

#include <QTabBar>

#include "store/libraries.h"

namespace quillet {

void AddLibraryTabs(QTabBar& tabs) {
    for (const LibraryInfo& library : kLibraries) {
        tabs.addTab(QString::fromUtf8(library.name.data(), static_cast<qsizetype>(library.name.size())));
    }
    tabs.setExpanding(false);
    tabs.setElideMode(Qt::ElideNone);
    tabs.setUsesScrollButtons(true);
    QFont font = tabs.font();
    font.setPixelSize(11);
    tabs.setFont(font);
}

}  // namespace quillet
