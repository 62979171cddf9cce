#include "ui/dialog_builder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetricsF>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeView>
#include <QVariant>
#include <cmath>

#include "res/resource_ids.h"
#include "ui/text_drag_edit.h"

namespace quillet {
namespace {

constexpr const char* kControlIdProperty = "controlId";

QWidget* CreateControl(QWidget& parent, const res::ControlTemplate& control) {
    const QString text = QString::fromUtf8(control.text.data(), static_cast<qsizetype>(control.text.size()));
    switch (control.kind) {
        case res::ControlKind::Edit:
            return new QLineEdit(text, &parent);
        case res::ControlKind::MultiLineEdit: {
            auto* edit = new QPlainTextEdit(text, &parent);
            edit->setTabChangesFocus(true);
            if (control.style & res::kAutoHScroll) {
                edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            }
            return edit;
        }
        case res::ControlKind::GroupBox:
            return new QGroupBox(text, &parent);
        case res::ControlKind::PushButton:
        case res::ControlKind::DefaultPushButton: {
            auto* button = new QPushButton(text, &parent);
            button->setDefault(control.kind == res::ControlKind::DefaultPushButton);
            button->setAutoDefault(false);
            if (auto* dialog = qobject_cast<QDialog*>(&parent)) {
                if (control.id == 1) {
                    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
                } else if (control.id == 2) {
                    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
                }
            }
            return button;
        }
        case res::ControlKind::Label: {
            auto* label = new QLabel(text, &parent);
            label->setWordWrap(control.style & res::kWordWrap);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case res::ControlKind::CheckBox:
            return new QCheckBox(text, &parent);
        case res::ControlKind::RadioButton:
            return new QRadioButton(text, &parent);
        case res::ControlKind::Frame:
            return new QFrame(&parent);
        case res::ControlKind::TabBar:
            return new QTabBar(&parent);
        case res::ControlKind::DropDownList:
            return new QComboBox(&parent);
        case res::ControlKind::DragEdit:
            return new CTextDragEdit(true, &parent);
        case res::ControlKind::MultiLineDragEdit:
            return new CTextDragEdit(false, &parent);
        case res::ControlKind::ListBox: {
            // One line each: a long list is laid out without measuring every line.
            auto* list = new QListWidget(&parent);
            list->setUniformItemSizes(true);
            return list;
        }
        case res::ControlKind::ListView: {
            auto* list = new QListView(&parent);
            list->setUniformItemSizes(true);
            return list;
        }
        case res::ControlKind::TreeView: {
            auto* tree = new QTreeView(&parent);
            tree->setHeaderHidden(true);
            tree->setRootIsDecorated(true);
            return tree;
        }
    }
    return nullptr;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_unitX = metrics.horizontalAdvance(alphabet) / alphabet.size() / 4.0;
    m_unitY = metrics.height() / 8.0;
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    const int left = static_cast<int>(std::lround(x * m_unitX));
    const int top = static_cast<int>(std::lround(y * m_unitY));
    const int right = static_cast<int>(std::lround((x + width) * m_unitX));
    const int bottom = static_cast<int>(std::lround((y + height) * m_unitY));
    return QRect(left, top, right - left, bottom - top);
}

QSize DialogUnits::ToPixels(int width, int height) const { return ToPixels(0, 0, width, height).size(); }

QString WithMnemonic(const QString& text, QChar letter) {
    return text + QStringLiteral("(&") + letter + QLatin1Char(')');
}

void SetButtonCaption(QAbstractButton& button, const QString& text) {
    const qsizetype amp = button.text().indexOf(QLatin1Char('&'));
    button.setText(amp >= 0 && amp + 1 < button.text().size() ? WithMnemonic(text, button.text().at(amp + 1)) : text);
}

namespace {

// Every push button gets an Alt key: the usual letters for OK and Cancel, the next free letter otherwise.
void AddMnemonics(QWidget& dialog) {
    QString used;
    QList<QPushButton*> rest;
    for (QPushButton* button : dialog.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->text().contains(QLatin1Char('&'))) {
            continue;
        }
        const int id = button->property(kControlIdProperty).toInt();
        const QChar letter = id == res::kIdOk ? QLatin1Char('O') : id == res::kIdCancel ? QLatin1Char('C') : QChar();
        if (letter.isNull()) {
            rest.append(button);
            continue;
        }
        button->setText(WithMnemonic(button->text(), letter));
        used += letter;
    }
    const QString pool = QStringLiteral("NSHRABDEFGIJKLMPQTUVWXYZ");
    for (QPushButton* button : rest) {
        for (const QChar letter : pool) {
            if (!used.contains(letter)) {
                button->setText(WithMnemonic(button->text(), letter));
                used += letter;
                break;
            }
        }
    }
}

}  // namespace

void BuildDialog(QWidget& dialog, const res::DialogTemplate& dialogTemplate) {
    const DialogUnits units(dialog.font());
    dialog.setWindowTitle(
        QString::fromUtf8(dialogTemplate.title.data(), static_cast<qsizetype>(dialogTemplate.title.size())));
    dialog.resize(units.ToPixels(dialogTemplate.width, dialogTemplate.height));
    QButtonGroup* radioGroup = nullptr;
    for (const res::ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = CreateControl(dialog, control);
        // Radio buttons are exclusive within their group only, as the template groups them.
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            if (!radioGroup || (control.style & res::kGroupStart)) {
                radioGroup = new QButtonGroup(&dialog);
            }
            radioGroup->addButton(radio, control.id);
        }
        widget->setGeometry(units.ToPixels(control.x, control.y, control.width, control.height));
        widget->setProperty(kControlIdProperty, control.id);
        // Group boxes frame the controls inside them and must not cover them.
        if (control.kind == res::ControlKind::GroupBox) {
            widget->lower();
        }
    }
    AddMnemonics(dialog);
}

QWidget* FindControl(const QWidget& dialog, int id) {
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->property(kControlIdProperty).toInt() == id && child->property(kControlIdProperty).isValid()) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace quillet
