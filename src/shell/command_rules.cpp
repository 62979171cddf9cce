#include "shell/command_rules.h"

#include <algorithm>
#include <iterator>

#include "res/resource_ids.h"
#include "store/libraries.h"

namespace quillet {
namespace {

constexpr int kBarCommands[] = {res::kCmdCreateCategory,      res::kCmdRenameCategory, res::kCmdDeleteCategory,
                                res::kCmdDeleteAllCategories, res::kCmdDeleteAllCards, res::kCmdOrderCategories,
                                res::kCmdOrderCards};
constexpr int kWebCommands[] = {res::kCmdExportFavorites, res::kCmdImportFavorites};
constexpr int kAlwaysCommands[] = {res::kCmdNewCard,       res::kCmdDeleteCard,   res::kCmdRenameCard,
                                   res::kCmdSaveCard,      res::kCmdPreviousCard, res::kCmdNextCard,
                                   res::kCmdSaveCardAsText};
// Carried out above the entry-mode window: reading mode, the tray, the card viewer and the tools.
constexpr int kCarriedOutAbove[] = {
    res::kCmdReadingMode,     res::kCmdHideToTray,          res::kCmdTrayEntryMode,       res::kCmdTrayReadingMode,
    res::kCmdViewCard,        res::kCmdStatistics,          res::kCmdOrderCards,          res::kCmdOrderCategories,
    res::kCmdOrganize,        res::kCmdRecycleBin,          res::kCmdImportBackup,        res::kCmdExportBackup,
    res::kCmdExportFavorites, res::kCmdImportFavorites,     res::kCmdLeaveForEntryMode,   res::kCmdLeaveForTray,
    res::kCmdLeaveAndExit,    res::kCmdReadingStartOptions, res::kCmdReadingPreviousCard, res::kCmdReadingNextCard};

template <std::size_t N>
bool Contains(const int (&ids)[N], int id) {
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

}  // namespace

CommandRule RuleOf(int id) {
    if (Contains(kBarCommands, id)) {
        return CommandRule::Bar;
    }
    if (Contains(kWebCommands, id)) {
        return CommandRule::Web;
    }
    if (Contains(kAlwaysCommands, id)) {
        return CommandRule::Always;
    }
    return CommandRule::Plain;
}

bool IsAvailable(int id, const std::set<int>& provided) {
    return !Contains(kCarriedOutAbove, id) || provided.contains(id);
}

bool IsEnabled(int id, const CommandContext& context) {
    if (!IsAvailable(id, context.provided)) {
        return false;
    }
    switch (RuleOf(id)) {
        case CommandRule::Bar:
            return context.dataBarVisible;
        case CommandRule::Web:
            return context.currentLibrary == kWebLibrary;
        case CommandRule::Plain:
        case CommandRule::Always:
            return true;
    }
    return true;
}

}  // namespace quillet
