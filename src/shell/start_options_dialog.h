#pragma once

#include <QDialog>
#include <array>

#include "shell/settings_file.h"

namespace quillet {

// The start options: where the data bar docks, which mode starts, and whether the window starts maximised.
// OK stores them in the settings; they take effect at the next start.
class StartOptionsDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StartOptionsDialog)

public:
    // Which start modes (entry, reading, hidden) the program can start in; the others are offered disabled.
    using AvailableModes = std::array<bool, 3>;

    explicit StartOptionsDialog(AppSettings& settings, QWidget* parent = nullptr,
                                AvailableModes available = {true, false, false});

    void accept() override;

private:
    AppSettings& m_settings;
};

}  // namespace quillet
