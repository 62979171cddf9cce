#pragma once

#include <QDialog>
#include <QTimer>
#include <filesystem>
#include <string>

#include "reading/search_worker.h"
#include "store/prompter.h"

class QKeyEvent;

namespace quillet {

// The search dialog: what to search for and where, and the progress of the search while the worker runs.
// Every opening starts with "by name" and all four libraries. However it ends, the worker has been stopped
// and joined before exec() returns, and Outcome() holds what it found.
class SearchDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchDialog)

public:
    static constexpr int kProgressInterval = 500;  // ms

    // `text` is the stored text to find; `prompter` names files that could not be searched.
    SearchDialog(std::filesystem::path dataFolder, std::string text, Prompter& prompter, QWidget* parent = nullptr);
    ~SearchDialog() override;

    // Whether a search was started; only then does Outcome() replace the results.
    bool Searched() const { return m_started; }
    const SearchOutcome& Outcome() const { return m_outcome; }
    // What the start button hands to the worker.
    SearchRequest Request() const;

    void done(int result) override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnStartButton();
    void ShowProgress();
    void Collect(bool stop);

    std::filesystem::path m_dataFolder;
    std::string m_text;
    Prompter& m_prompter;
    SearchWorker m_worker;
    QTimer m_progressTimer;
    bool m_started = false;
    bool m_collected = false;
    SearchOutcome m_outcome;
};

}  // namespace quillet
