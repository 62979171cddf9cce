#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <memory>

#include "shell/dialog_name_input.h"
#include "shell/editor_only_pane.h"
#include "shell/quillet_doc.h"
#include "shell/quillet_view.h"
#include "store/card_operations.h"

class QAction;

namespace quillet {

// The entry-mode window: the card editor with the document's commands and printing.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    CMainFrame(CardStore& store, Prompter& prompter, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CQuilletView& View() { return *m_view; }
    CQuilletDoc& Doc() { return m_doc; }
    // The action of a command id, or nullptr.
    QAction* Command(int id) const;

    void Print();
    void PrintPreview();
    void PrintSetup();

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
    EditorOnlyPane m_pane;
    DialogNameInput m_input;
    NoCaptureWindows m_capture;
    CardOperations m_operations;
    CQuilletDoc m_doc;
    QPrinter m_printer;
};

}  // namespace quillet
