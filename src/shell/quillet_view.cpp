#include "shell/quillet_view.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPrinter>

#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {

CQuilletView::CQuilletView(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFont(EditorFont());
    setTabStopDistance(DialogUnits(QApplication::font()).ToPixels(16, 0).width());
}

QFont CQuilletView::EditorFont() {
    const QStringList families = QFontDatabase::families();
    // "宋体" where the user has it; otherwise a face whose l, 1, I and O, 0 differ, which matters in a
    // programmer's notes.
    const QString candidates[] = {QStringLiteral("宋体"),
                                  QStringLiteral("SimSun"),
                                  QStringLiteral("Noto Sans Mono CJK SC"),
                                  QStringLiteral("Sarasa Mono SC"),
                                  QStringLiteral("WenQuanYi Zen Hei Mono"),
                                  QStringLiteral("WenQuanYi Micro Hei Mono")};
    QFont font;
    for (const QString& family : candidates) {
        if (families.contains(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPixelSize(14);
    return font;
}

std::string CQuilletView::Text() const {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToStoredText(text.toStdString());
}

void CQuilletView::SetText(const std::string& stored) {
    QString text = QString::fromStdString(ToUtf8(stored));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(text);
    SetModified(false);
    emit textShown(stored);
}

bool CQuilletView::Modified() const { return document()->isModified(); }

void CQuilletView::SetModified(bool modified) { document()->setModified(modified); }

void CQuilletView::Print(QPrinter& printer) const { document()->print(&printer); }

}  // namespace quillet
