#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sparse_source.h"
#include "store/search_results.h"

// Any bytes: the reader ends cleanly, changes nothing when it refuses, and what it accepts is written and read
// back unchanged. Run with a malloc limit, so an allocation sized from a count or a length is caught.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // As a large sparse file, where made-up counts and lengths look possible.
    if (size > 0 && ((data[0] ^ data[size - 1]) & 0x0F) == 0) {
        std::string sparseText;
        CardTable sparseResults;
        fuzz::SparseSource sparse(bytes, std::uint64_t{16} << 20);
        ReadSearchResults(sparse, "sparse", sparseText, sparseResults, std::uint64_t{1} << 20);
    }

    std::string text = "kept";
    CardTable results;
    results.Append({"kept", "", ""});
    MemorySource source(bytes);
    if (ReadSearchResults(source, "fuzz", text, results)) {
        if (text != "kept" || results.Size() != 1 || results.At(0).name != "kept") {
            std::abort();
        }
        return 0;
    }

    StringSink written;
    WriteSearchResults(written, text, results);
    std::string textBack;
    CardTable resultsBack;
    MemorySource again(written.Bytes());
    if (ReadSearchResults(again, "fuzz", textBack, resultsBack) || textBack != text ||
        resultsBack.Size() != results.Size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < results.Size(); ++i) {
        if (!(results.At(i) == resultsBack.At(i))) {
            std::abort();
        }
    }
    return 0;
}
