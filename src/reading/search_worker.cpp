#include "reading/search_worker.h"

#include <utility>

namespace quillet {

SearchWorker::~SearchWorker() { StopAndCollect(); }

bool SearchWorker::Start(const std::filesystem::path& dataFolder, SearchRequest request) {
    if (m_thread.joinable()) {
        return false;
    }
    m_stop.store(false);
    m_outcome = {};
    // Running from the moment it is asked for, so a display never sees a finished state of an earlier search.
    m_progress.Begin();
    m_thread = std::thread([this, dataFolder, request = std::move(request)] {
        m_outcome = SearchCards(dataFolder, request, &m_progress, &m_stop);
    });
    return true;
}

SearchOutcome SearchWorker::StopAndCollect() {
    m_stop.store(true);
    return Collect();
}

SearchOutcome SearchWorker::Collect() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return std::exchange(m_outcome, {});
}

}  // namespace quillet
