#pragma once

#include <QDialog>
#include <filesystem>

#include "store/prompter.h"

namespace quillet {

class CMainFrame;
class CardStore;

// The statistics: every library's categories with their numbers of cards, as the files store them. Its button
// opens the card order dialog for the open category, when the program offers that dialog.
class StatisticsDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatisticsDialog)

public:
    StatisticsDialog(CMainFrame& frame, const std::filesystem::path& dataFolder, Prompter& prompter);
};

// Command 32802, from the menu, the toolbars and the tray menu; nothing while the search results are current.
void InstallStatistics(CMainFrame& frame, CardStore& store, Prompter& prompter);

}  // namespace quillet
