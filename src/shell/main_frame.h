#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <memory>

#include "shell/data_bar.h"
#include "shell/dialog_name_input.h"
#include "shell/quillet_doc.h"
#include "shell/quillet_view.h"
#include "store/card_operations.h"

class QAction;

namespace quillet {
class DynamicBar;
}

namespace quillet {

// The entry-mode window: the card editor with the document's commands and printing.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    CMainFrame(CardStore& store, Prompter& prompter, AppSettings& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CQuilletView& View() { return *m_view; }
    CQuilletDoc& Doc() { return m_doc; }
    DataBar& Bar() { return *m_dataBar; }
    DynamicBar& DockingBar() { return *m_dockingBar; }
    CardOperations& Operations() { return m_operations; }
    // The action of a command id, or nullptr.
    QAction* Command(int id) const;

    void Print();
    void PrintPreview();
    void PrintSetup();
    void ApplyAlwaysOnTop();

signals:
    void tipOfTheDayRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class NoCaptureWindows final : public CaptureOpener {
    public:
        bool OpenCaptureWindow(int, int) override { return false; }
    };

    QAction* AddCommand(int id, const QKeySequence& shortcut, void (CMainFrame::*handler)());

    CardStore& m_store;
    CQuilletView* m_view;
    DialogNameInput m_input;
    DataBar* m_dataBar;
    DynamicBar* m_dockingBar;
    NoCaptureWindows m_capture;
    CardOperations m_operations;
    CQuilletDoc m_doc;
    QPrinter m_printer;
};

}  // namespace quillet
