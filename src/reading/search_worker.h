#pragma once

#include <atomic>
#include <filesystem>
#include <thread>

#include "store/card_search.h"

namespace quillet {

// One search on a thread of its own. It works on a copy of the request and tables of its own, so nothing the
// windows use is touched while it runs; the outcome is handed over only after the thread has been joined.
class SearchWorker final {
public:
    SearchWorker() = default;
    ~SearchWorker();
    SearchWorker(const SearchWorker&) = delete;
    SearchWorker& operator=(const SearchWorker&) = delete;

    // False while a search of this worker is still running or not yet collected.
    bool Start(const std::filesystem::path& dataFolder, SearchRequest request);
    bool Started() const { return m_thread.joinable(); }
    // Safe from any thread while the search runs.
    SearchProgress::Snapshot Progress() const { return m_progress.Get(); }

    // Ends the search after the card at hand, waits for the thread and returns what was found so far (all of
    // it when the search had finished). After it the worker can start again.
    SearchOutcome StopAndCollect();
    // Waits for the search to finish on its own.
    SearchOutcome Collect();

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    SearchProgress m_progress;
    SearchOutcome m_outcome;  // written by the thread, read after the join
};

}  // namespace quillet
