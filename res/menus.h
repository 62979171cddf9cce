#pragma once

#include <span>
#include <string_view>

namespace quillet::res {

// One menu item: its command, and its text with the shortcut shown after a tab. Id 0 is a separator.
struct MenuItem {
    int id;
    std::string_view text;
};

struct Menu {
    std::string_view title;
    std::span<const MenuItem> items;
};

inline constexpr std::string_view kHelpMenuTitle = "帮助(&H)";
inline constexpr MenuItem kTipOfTheDayItem{105, "每日一帖 (&T)..."};

// Menu 128: the main menu, in order.
std::span<const Menu> MainMenu();
// Menu 138: the context menus of the data bar and the reading window, by pop-up index 0 to 5.
std::span<const Menu> ContextMenus();
// Menu 143: the tray icon's one pop-up; position 0 is its default item.
const Menu& TrayMenu();
// Toolbar 128: its commands in order; 0 is a separator.
std::span<const int> ToolbarCommands();
// Reading mode's toolbar (resource 150), in the same form.
std::span<const int> ReadingToolbarCommands();

}  // namespace quillet::res
