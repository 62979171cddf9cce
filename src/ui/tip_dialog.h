#pragma once

#include <QDialog>
#include <QSettings>
#include <filesystem>

#include "ui/tip_file.h"

namespace quillet {

// "每日一帖": one tip at a time from the tips file, continuing across runs where the last one stopped. The
// reading position, the file's time stamp and the show-at-start-up choice live in the profile's "Tip" section.
class TipDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TipDialog)

public:
    TipDialog(const std::filesystem::path& tipsFile, QSettings& profile, QWidget* parent = nullptr);
    ~TipDialog() override;

    bool ShowAtStartUp() const { return m_showAtStartUp; }
    QString TipText() const { return m_tipText; }

    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowNextTip();
    void ReportTrouble();

    QSettings& m_profile;
    TipFile m_file;
    QString m_tipText;
    bool m_showAtStartUp = true;
};

}  // namespace quillet
