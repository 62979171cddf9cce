#pragma once

class QTabBar;

namespace quillet {

// The four libraries as tabs, compact enough to stand side by side in a narrow pane.
void AddLibraryTabs(QTabBar& tabs);

}  // namespace quillet
