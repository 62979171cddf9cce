#pragma once

#include <QPlainTextEdit>
#include <string>

class QPrinter;

namespace quillet {

// The editor on the right of entry mode: the open card's text, a site, or a category's summary. Long lines
// wrap at the window's edge; tab stops every 16 dialog units. Text goes in and out as stored text with CR LF
// line breaks.
class CQuilletView final : public QPlainTextEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuilletView)

public:
    explicit CQuilletView(QWidget* parent = nullptr);

    std::string Text() const;
    // Replacing the text clears the modified mark.
    void SetText(const std::string& stored);
    bool Modified() const;
    void SetModified(bool modified);

    void Print(QPrinter& printer) const;

signals:
    // The program put a text here (a card, a site, a summary), not the user's typing.
    void textShown(const std::string& stored);

public:
    // "宋体" where it is installed, else a Chinese face with distinct Latin letters and digits, 14 pixels high.
    static QFont EditorFont();
};

}  // namespace quillet
