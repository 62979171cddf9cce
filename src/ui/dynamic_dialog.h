#pragma once

#include <QDialog>

#include "ui/dynamic_wnd.h"

namespace quillet {

// A dialog built from its template that keeps its controls in place as it is resized. Plain dynamic dialogs
// do not keep their position.
class DynamicDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DynamicDialog)

public:
    DynamicDialog(int templateId, QWidget* parent = nullptr, int freedom = DynamicWnd::kBothDirections,
                  int flags = DynamicWnd::kSuppressFlicker);

    int TemplateId() const { return m_templateId; }
    DynamicWnd& Engine() { return m_engine; }

protected:
    // Registers the controls; call once they are in their template places.
    void InitializeLayout() { m_engine.Initialize(); }

private:
    int m_templateId;
    DynamicWnd m_engine;
};

// The same for a dialog that lives inside another window.
class DynamicChildDialog : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DynamicChildDialog)

public:
    DynamicChildDialog(int templateId, QWidget* parent, int freedom = DynamicWnd::kBothDirections,
                       int flags = DynamicWnd::kSuppressFlicker);

    DynamicWnd& Engine() { return m_engine; }

protected:
    void InitializeLayout() { m_engine.Initialize(); }

private:
    DynamicWnd m_engine;
};

// A modeless dynamic dialog: the data bar inside its docking bar, and the capture windows. Closing it is its
// Cancel.
class DynamicBarDialog : public DynamicDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DynamicBarDialog)

public:
    DynamicBarDialog(int templateId, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace quillet
