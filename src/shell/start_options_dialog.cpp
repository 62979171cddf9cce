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

StartOptionsDialog::StartOptionsDialog(AppSettings& settings, QWidget* parent, AvailableModes available)
    : QDialog(parent), m_settings(settings) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kStartOptionsDialog));
    const int position = settings.dataBarPosition >= 0 && settings.dataBarPosition <= 3 ? settings.dataBarPosition : 1;
    Control<QRadioButton>(*this, kPositionButtons[position])->setChecked(true);
    for (std::size_t i = 0; i < available.size(); ++i) {
        if (!available[i]) {
            // Offered, so the user sees what is coming, but not as a choice that would be silently ignored.
            auto* button = Control<QRadioButton>(*this, kModeButtons[i]);
            button->setEnabled(false);
            button->setText(button->text() + QStringLiteral("（暂不可用）"));
            button->setToolTip(QStringLiteral("这个版本还没有提供这种模式，程序总是以录入模式启动"));
        }
    }
    int mode = settings.startMode >= 0 && settings.startMode <= 2 ? settings.startMode : 0;
    if (!available[static_cast<std::size_t>(mode)]) {
        mode = 0;
    }
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
