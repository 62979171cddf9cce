#include "ui/tip_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "res/string_table.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {
namespace {

const QString kStartUpKey = QStringLiteral("Tip/StartUp");
const QString kFilePosKey = QStringLiteral("Tip/FilePos");
const QString kTimeStampKey = QStringLiteral("Tip/TimeStamp");
constexpr int kBulbSize = 40;

QString ResourceString(int id) {
    const std::string_view text = res::LoadString(id);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Tips are stored in code page 936 like everything else the program reads.
QString FromCodePage(const std::string& bytes) { return QString::fromStdString(ToUtf8(bytes)); }

}  // namespace

TipDialog::TipDialog(const std::filesystem::path& tipsFile, QSettings& profile, QWidget* parent)
    : QDialog(parent), m_profile(profile) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kTipDialog));
    m_showAtStartUp = !(m_profile.value(kStartUpKey, 0).toInt() > 0);
    std::uint64_t position = m_profile.value(kFilePosKey, 0).toULongLong();

    if (!m_file.Open(tipsFile)) {
        m_tipText = ResourceString(res::kStrNoTipsFile);
    } else {
        const QString stamp = QString::fromStdString(FileTimeStamp(tipsFile));
        if (stamp != m_profile.value(kTimeStampKey).toString()) {
            position = 0;
            m_profile.setValue(kTimeStampKey, stamp);
        }
        if (!m_file.Seek(position)) {
            ReportTrouble();
        } else {
            ShowNextTip();
        }
    }

    auto* showAtStartUp = Control<QCheckBox>(*this, res::kTipShowAtStartUp);
    showAtStartUp->setChecked(m_showAtStartUp);
    connect(showAtStartUp, &QCheckBox::toggled, this, [this](bool on) { m_showAtStartUp = on; });
    auto* next = Control<QPushButton>(*this, res::kTipNext);
    next->setEnabled(m_file.IsOpen());
    connect(next, &QPushButton::clicked, this, &TipDialog::ShowNextTip);
    auto* tip = Control<QLabel>(*this, res::kTipText);
    tip->setText(m_tipText);
    tip->setAutoFillBackground(true);
    QPalette white = tip->palette();
    white.setColor(QPalette::Window, Qt::white);
    tip->setPalette(white);
    Control<QPushButton>(*this, res::kIdOk)->setFocus();
}

TipDialog::~TipDialog() {
    if (m_file.IsOpen()) {
        m_profile.setValue(kFilePosKey, static_cast<qulonglong>(m_file.Position()));
    }
}

void TipDialog::ShowNextTip() {
    const std::optional<std::string> tip = m_file.NextTip();
    m_tipText = tip ? FromCodePage(*tip) : QStringLiteral("提示文件中没有可以显示的提示。");
    if (auto* label = Control<QLabel>(*this, res::kTipText)) {
        label->setText(m_tipText);
    }
}

void TipDialog::ReportTrouble() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quillet"), ResourceString(res::kStrTipsFileTrouble),
                    QMessageBox::Ok, this);
    box.exec();
}

void TipDialog::accept() {
    m_profile.setValue(kStartUpKey, m_showAtStartUp ? 0 : 1);
    QDialog::accept();
}

void TipDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    const QRect panel = FindControl(*this, res::kTipPanel)->geometry();
    painter.fillRect(panel, Qt::white);
    QSvgRenderer bulb(QStringLiteral(":/images/tip.svg"));
    const QRect bulbRect(panel.topLeft() + QPoint(6, 6), QSize(kBulbSize, kBulbSize));
    bulb.render(&painter, bulbRect);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    painter.setFont(bold);
    const QRect band(bulbRect.right() + 10, bulbRect.top(), panel.right() - bulbRect.right() - 10, kBulbSize);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, ResourceString(res::kStrDidYouKnow));
}

}  // namespace quillet
