#include "shell/start_options_dialog.h"

#include <QCheckBox>
#include <QRadioButton>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "ui/dialog_builder.h"

namespace quillet {
namespace {

constexpr int kPositionButtons[] = {res::kOptionBarLeft, res::kOptionBarRight, res::kOptionBarTop,
                                    res::kOptionBarBottom};
constexpr int kModeButtons[] = {res::kOptionEntryMode, res::kOptionReadingMode, res::kOptionHiddenMode};

template <std::size_t N>
int CheckedIndex(const QDialog& dialog, const int (&ids)[N], int fallback) {
    for (std::size_t i = 0; i < N; ++i) {
        if (Control<QRadioButton>(dialog, ids[i])->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return fallback;
}

}  // namespace

StartOptionsDialog::StartOptionsDialog(AppSettings& settings, QWidget* parent) : QDialog(parent), m_settings(settings) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kStartOptionsDialog));
    const int position = settings.dataBarPosition >= 0 && settings.dataBarPosition <= 3 ? settings.dataBarPosition : 1;
    Control<QRadioButton>(*this, kPositionButtons[position])->setChecked(true);
    const int mode = settings.startMode >= 0 && settings.startMode <= 2 ? settings.startMode : 0;
    Control<QRadioButton>(*this, kModeButtons[mode])->setChecked(true);
    Control<QCheckBox>(*this, res::kOptionMaximize)->setChecked(settings.maximizeAtStart);
}

void StartOptionsDialog::accept() {
    m_settings.dataBarPosition = CheckedIndex(*this, kPositionButtons, m_settings.dataBarPosition);
    m_settings.startMode = CheckedIndex(*this, kModeButtons, m_settings.startMode);
    m_settings.maximizeAtStart = Control<QCheckBox>(*this, res::kOptionMaximize)->isChecked();
    QDialog::accept();
}

}  // namespace quillet
