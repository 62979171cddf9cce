#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QRect>
#include <QWidget>

#include "res/dialog_template.h"

namespace quillet {

// Dialog units of a font: a quarter of its average character width across, an eighth of its height down.
class DialogUnits final {
public:
    explicit DialogUnits(const QFont& font);
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;

private:
    double m_unitX;
    double m_unitY;
};

// Makes a dialog's controls from its template: every control in its place, its text set and its id kept, so
// that code and tests find it with Control(). Buttons 1 and 2 of a QDialog accept and reject it.
// Builds the controls of a template; every push button gets an Alt mnemonic shown as "(&X)".
void BuildDialog(QWidget& dialog, const res::DialogTemplate& dialogTemplate);
// A button text with its Alt key, for a button whose text changes later.
QString WithMnemonic(const QString& text, QChar letter);
// A new text for a built button; it keeps its Alt key.
void SetButtonCaption(QAbstractButton& button, const QString& text);

QWidget* FindControl(const QWidget& dialog, int id);

template <class T>
T* Control(const QWidget& dialog, int id) {
    return qobject_cast<T*>(FindControl(dialog, id));
}

}  // namespace quillet
