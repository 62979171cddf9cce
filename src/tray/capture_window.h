#pragma once

#include <QPointer>

#include "shell/data_bar.h"
#include "shell/settings_file.h"
#include "store/card_store.h"
#include "store/prompter.h"
#include "ui/dynamic_dialog.h"

class QComboBox;

namespace quillet {

class CTextDragEdit;

// A small window, always on top, that adds cards (or sites) one after another to a category of the current
// library, keeping the data bar's tree in step. It can hide the main window, shrink to a restore button, and
// return to entry mode.
class CaptureWindow : public DynamicBarDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CaptureWindow)

public:
    enum class Kind { Cards, Sites };

    CaptureWindow(Kind kind, CardStore& store, AppSettings& settings, Prompter& prompter, DataBar& dataBar,
                  QWidget& mainWindow, int initialCategory);

    Kind WindowKind() const { return m_kind; }
    bool MainShown() const { return m_mainShown; }
    // Empties the fields.
    void ClearFields();
    // Hides the main window and this one and runs the restore button until it is pressed.
    void Shrink();
    void ToggleMainWindow();
    void OnCategoryChosen(int index);

    void accept() override;
    void reject() override;

    // Returns what the restore window should do instead of running modally (tests press its button).
    static std::function<void(QDialog&)>& RestoreWindowRunner();

signals:
    void closed();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowPlace& Place();
    void UpdateTitle();
    // The list and title from what the main window has open now.
    void FollowMainWindow();
    // True when the main window still has open the category this window shows; otherwise the window follows
    // it and says so, and nothing is added.
    bool ShowsTheOpenCategory();
    bool IsOurLibrary() const;
    bool AddCard();
    CardRecord TypedRecord() const;

    Kind m_kind;
    CardStore& m_store;
    AppSettings& m_settings;
    Prompter& m_prompter;
    DataBar& m_dataBar;
    QPointer<QWidget> m_mainWindow;
    QComboBox* m_categories;
    CTextDragEdit* m_name;
    CTextDragEdit* m_second;
    CTextDragEdit* m_description = nullptr;
    int m_library = -1;
    std::filesystem::path m_file;  // the category this window files into
    bool m_mainShown = true;
    bool m_closing = false;
};

// Opens the capture window of a library's kind from the main frame's new-card command.
class CMainFrame;
void InstallCaptureWindows(CMainFrame& frame, CardStore& store, AppSettings& settings, Prompter& prompter);

}  // namespace quillet
