#include "shell/settings_file.h"

#include <array>

#include "store/atomic_file.h"
#include "store/field_reader.h"
#include "store/field_writer.h"

namespace quillet {
namespace {

// Every field of the file in one flat record, so that one list of the fields serves both directions.
struct SettingsRecord {
    AppSettings app;
    std::int32_t alwaysOnTop;
    std::int32_t library;
    std::string categoryPath;
    std::int32_t dataBarVisible;
    std::int32_t maximize;
    std::array<LibraryState, kLibraryCount + 1> rows;
};

SettingsRecord Capture(const AppSettings& settings, const CardStore& store) {
    return {settings,
            store.flags.alwaysOnTop ? 1 : 0,
            store.currentLibrary,
            store.currentCategoryPath,
            store.flags.dataBarVisible ? 1 : 0,
            settings.maximizeAtStart ? 1 : 0,
            store.libraryStates};
}

void Apply(const SettingsRecord& record, AppSettings& settings, CardStore& store) {
    settings = record.app;
    settings.maximizeAtStart = record.maximize != 0;
    store.flags.alwaysOnTop = record.alwaysOnTop != 0;
    store.flags.dataBarVisible = record.dataBarVisible != 0;
    // A library index from a damaged file must not reach code that indexes by it.
    if (record.library >= 0 && record.library <= kSearchResultsLibrary) {
        store.currentLibrary = record.library;
    }
    store.currentCategoryPath = record.categoryPath;
    store.libraryStates = record.rows;
}

template <class Field>
bool VisitFields(Field&& field, SettingsRecord& r) {
    AppSettings& a = r.app;
    const bool head = field(a.startMode) && field(r.alwaysOnTop) && field(r.library) && field(r.categoryPath) &&
                      field(r.dataBarVisible) && field(r.maximize) && field(a.dataBarPosition);
    const bool places = head && field(a.cardViewer.left) && field(a.cardViewer.top) && field(a.cardViewer.width) &&
                        field(a.cardViewer.height) && field(a.siteCapture.left) && field(a.siteCapture.top) &&
                        field(a.siteCapture.width) && field(a.siteCapture.height) && field(a.cardCapture.left) &&
                        field(a.cardCapture.top) && field(a.cardCapture.width) && field(a.cardCapture.height) &&
                        field(a.dataBarWidth) && field(a.dataBarHeight);
    if (!places) {
        return false;
    }
    for (LibraryState& row : r.rows) {
        if (!field(row.categoryName) || !field(row.cardName) || !field(row.categoryPath)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void WriteSettings(ByteSink& sink, const AppSettings& settings, const CardStore& store) {
    FieldWriter writer(sink);
    struct Writer {
        FieldWriter& writer;
        bool operator()(std::int32_t& value) const { return writer.WriteInt32(value), true; }
        bool operator()(std::string& value) const { return writer.WriteString(value), true; }
    };
    SettingsRecord record = Capture(settings, store);
    VisitFields(Writer{writer}, record);
}

StoreError ReadSettings(ByteSource& source, const std::filesystem::path& file, AppSettings& settings,
                        CardStore& store) {
    FieldReader reader(source);
    struct Reader {
        FieldReader& reader;
        bool operator()(std::int32_t& value) const { return reader.ReadInt32(value); }
        bool operator()(std::string& value) const { return reader.ReadString(value); }
    };
    SettingsRecord record = Capture(settings, store);
    const bool whole = VisitFields(Reader{reader}, record);
    Apply(record, settings, store);
    return whole ? StoreError{} : StoreError{StoreErrorKind::Damaged, file, reader.Failure()};
}

bool LoadSettingsFile(const std::filesystem::path& file, AppSettings& settings, CardStore& store) {
    FileSource source;
    if (source.Open(file)) {
        store.flags.noSavedState = true;
        return false;
    }
    store.flags.noSavedState = false;
    ReadSettings(source, file, settings, store);
    return true;
}

StoreError SaveSettingsFile(const std::filesystem::path& file, const AppSettings& settings, const CardStore& store) {
    StringSink bytes;
    WriteSettings(bytes, settings, store);
    return WriteFileAtomically(file, bytes.Bytes());
}

}  // namespace quillet
