#include "card_search.h"

#include <cstring>
#include <iterator>

#include "byte_source.h"
#include "category_file.h"
#include "data_folder.h"
#include "field_reader.h"
#include "text_search.h"

namespace quillet {

void SearchProgress::Begin() {
    const std::lock_guard lock(m_mutex);
    m_state = Snapshot{true, 0, {}, 0};
}

void SearchProgress::Found(const std::string& categoryName, int inCategory, int total) {
    const std::lock_guard lock(m_mutex);
    m_state.found = total;
    m_state.categoryName = categoryName;
    m_state.foundInCategory = inCategory;
}

void SearchProgress::Finish() {
    const std::lock_guard lock(m_mutex);
    m_state.running = false;
}

SearchProgress::Snapshot SearchProgress::Get() const {
    const std::lock_guard lock(m_mutex);
    return m_state;
}

namespace {

// Files up to this size are read whole into the search's one buffer; a larger one (no real category is) is
// read through a small buffer instead, so memory never follows a file's size beyond it.
constexpr std::uint64_t kWholeReadLimit = 256u << 20;

// The rest of the file into the buffer, which only grows, so one allocation serves every file of the search.
StoreError ReadWhole(FileSource& source, const std::filesystem::path& file, std::string& buffer, std::size_t& size) {
    size = static_cast<std::size_t>(source.Remaining());
    if (buffer.size() < size) {
        buffer.resize(size);
    }
    if (!source.Read(buffer.data(), size)) {
        return source.ReadErrno() != 0 ? StoreError::FromErrno(StoreErrorKind::CannotRead, file, source.ReadErrno())
                                       : StoreError{StoreErrorKind::CannotRead, file, "文件在读出时变短了"};
    }
    return {};
}

// Where the text occurs in a file's bytes, found with one pass over them: a field needs the full test only
// when the next occurrence lies inside it, which makes a search cost about one scan of the file.
class Occurrences final {
public:
    void Start(std::string_view bytes, std::string_view text) {
        m_bytes = bytes;
        m_text = text;
        m_next = bytes.data();
        m_searched = false;
    }

    // Whether the field lies in the file's bytes; a field converted elsewhere is tested on its own.
    bool Covers(std::string_view field) const {
        return !m_bytes.empty() && field.data() >= m_bytes.data() &&
               field.data() + field.size() <= m_bytes.data() + m_bytes.size();
    }

    // The first occurrence inside a covered field, or nullptr. Fields are asked about in file order.
    const char* FirstIn(std::string_view field) {
        const char* const begin = field.data();
        if (field.size() < m_text.size()) {
            return nullptr;
        }
        if (!m_searched || (m_next && m_next < begin)) {
            m_next = FindText(begin, m_bytes.data() + m_bytes.size(), m_text);
            m_searched = true;
        }
        return m_next && m_next + m_text.size() <= begin + field.size() ? m_next : nullptr;
    }

private:
    std::string_view m_bytes;
    std::string_view m_text;
    const char* m_next = nullptr;  // nullptr: no occurrence after the last field asked about
    bool m_searched = false;
};

class CardTest final {
public:
    explicit CardTest(const SearchRequest& request)
        : m_matcher(request.text, request.ignoreCase, request.allWords),
          m_by(request.by),
          m_exactSingleText(!request.ignoreCase && m_matcher.WordCount() == 1) {}

    bool Searches() const { return m_matcher.WordCount() > 0; }

    // The file whose cards come next; their fields may lie in these bytes.
    void StartFile(std::string_view bytes) {
        if (m_exactSingleText) {
            m_occurrences.Start(bytes, m_matcher.Word(0));
        }
    }

    bool Matches(std::string_view name, std::string_view content, std::string_view address) {
        for (std::size_t word = 0; word < m_matcher.WordCount(); ++word) {
            const bool found = (m_by != SearchBy::Content && Holds(name, word)) ||
                               (m_by != SearchBy::Name && (Holds(content, word) || Holds(address, word)));
            if (!found) {
                return false;
            }
        }
        return true;
    }

private:
    bool Holds(std::string_view field, std::size_t word) {
        if (m_exactSingleText && m_occurrences.Covers(field)) {
            const char* candidate = m_occurrences.FirstIn(field);
            return candidate && ContainsTextFrom(field, m_matcher.Word(0), candidate);
        }
        return m_matcher.Contains(field, word);
    }

    TextMatcher m_matcher;
    SearchBy m_by;
    bool m_exactSingleText;
    Occurrences m_occurrences;
};

struct FileScan {
    std::string categoryName;
    std::vector<SearchHit> hits;
};

// One category file's cards tested in order; the hits are reported to the progress as they are found.
StoreError ScanCategoryCards(ByteSource& source, const std::filesystem::path& file, int library, CardTest& test,
                             int totalBefore, SearchProgress* progress, const std::atomic<bool>* stop, FileScan& scan) {
    FieldReader reader(source);
    std::int32_t count = 0;
    if (StoreError error = ReadCategoryHeader(reader, file, HeaderCheck::Check, scan.categoryName, count)) {
        return error;
    }
    std::string scratch[3];
    for (std::int32_t i = 0; i < count; ++i) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            return {};
        }
        std::string_view name, content, address;
        if (!reader.ReadStringView(name, scratch[0]) || !reader.ReadStringView(content, scratch[1]) ||
            !reader.ReadStringView(address, scratch[2])) {
            return StoreError{reader.ReadError() ? StoreErrorKind::CannotRead : StoreErrorKind::Damaged, file,
                              reader.Failure()};
        }
        if (test.Matches(name, content, address)) {
            scan.hits.push_back({library, scan.categoryName,
                                 CardRecord{std::string(name), std::string(content), std::string(address)}});
            if (progress) {
                const int inCategory = static_cast<int>(scan.hits.size());
                progress->Found(scan.categoryName, inCategory, totalBefore + inCategory);
            }
        }
    }
    return {};
}

}  // namespace

SearchOutcome SearchCards(const std::filesystem::path& dataFolder, const SearchRequest& request,
                          SearchProgress* progress, const std::atomic<bool>* stop) {
    SearchOutcome outcome;
    if (progress) {
        progress->Begin();
    }
    CardTest test(request);
    std::string buffer;
    FileScan scan;
    auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };

    for (int library = 0; library < kLibraryCount && test.Searches() && !stopped(); ++library) {
        if (!request.libraries[static_cast<std::size_t>(library)]) {
            continue;
        }
        StoreError listError;
        for (const std::filesystem::path& file : CategoryFiles(dataFolder, library, &listError)) {
            if (stopped()) {
                break;
            }
            scan.categoryName.clear();
            scan.hits.clear();
            const int before = static_cast<int>(outcome.hits.size());
            FileSource source;
            StoreError error = source.Open(file);
            if (!error && source.Remaining() > kWholeReadLimit) {
                test.StartFile({});
                error = ScanCategoryCards(source, file, library, test, before, progress, stop, scan);
            } else if (!error) {
                std::size_t size = 0;
                error = ReadWhole(source, file, buffer, size);
                if (!error) {
                    const std::string_view bytes(buffer.data(), size);
                    MemorySource inMemory(bytes);
                    test.StartFile(bytes);
                    error = ScanCategoryCards(inMemory, file, library, test, before, progress, stop, scan);
                }
            }
            if (error) {
                // A damaged file gives nothing, not the cards before the damage.
                outcome.unreadable.push_back(error.Message());
                if (progress && !scan.hits.empty()) {
                    progress->Found(scan.categoryName, 0, before);
                }
                continue;
            }
            // Stopped by the user: what this file gave so far counts.
            std::move(scan.hits.begin(), scan.hits.end(), std::back_inserter(outcome.hits));
        }
        if (listError) {
            outcome.unreadable.push_back(listError.Message());
        }
    }
    outcome.stopped = stopped();
    if (progress) {
        progress->Finish();
    }
    return outcome;
}

}  // namespace quillet
