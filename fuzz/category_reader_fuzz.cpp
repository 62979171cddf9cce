#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "sparse_source.h"
#include "store/byte_source.h"
#include "store/category_file.h"

// Any bytes: the reader ends cleanly, never reports more cards than it kept, and what it kept is written and
// read back unchanged. Run with a malloc limit, so an allocation sized from a count or a length is caught.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Reading a large sparse file takes time, so only some inputs get the sparse pass.
    if (size > 0 && ((data[0] ^ data[size - 1]) & 0x0F) == 0) {
        std::string sparseName;
        std::int32_t sparseCount = 0;
        CardTable sparseCards;
        fuzz::SparseSource sparse(bytes, std::uint64_t{16} << 20);
        ReadCategory(sparse, "sparse", ReadMode::Full, HeaderCheck::Skip,
                     {sparseName, sparseCount, &sparseCards, std::uint64_t{1} << 20});
        if (sparseCount < 0 || static_cast<std::size_t>(sparseCount) > sparseCards.Size()) {
            std::abort();
        }
    }

    std::string headerName;
    std::int32_t headerCount = 0;
    MemorySource headerSource(bytes);
    ReadCategory(headerSource, "fuzz", ReadMode::HeaderOnly, HeaderCheck::Check, {headerName, headerCount});

    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    MemorySource source(bytes);
    const StoreError error = ReadCategory(source, "fuzz", ReadMode::Full, HeaderCheck::Skip, {name, count, &cards});
    if (count < 0 || static_cast<std::size_t>(count) > cards.Size()) {
        std::abort();
    }

    // The streaming scan sees exactly the cards a full read keeps, and fails where it fails.
    std::string scannedName;
    std::int32_t scannedCount = 0;
    std::size_t seen = 0;
    MemorySource scanSource(bytes);
    const StoreError scanError =
        ScanCategory(scanSource, "fuzz", HeaderCheck::Skip, scannedName, scannedCount,
                     [&](const std::string& n, const std::string& a) {
                         if (seen >= cards.Size() || cards.At(seen).name != n || cards.At(seen).address != a) {
                             std::abort();
                         }
                         ++seen;
                     });
    if (static_cast<bool>(scanError) != static_cast<bool>(error) || seen != cards.Size() ||
        scannedCount != static_cast<std::int32_t>(cards.Size())) {
        std::abort();
    }
    if (error) {
        return 0;
    }

    StringSink written;
    WriteCategory(written, name, cards);
    std::string nameBack;
    std::int32_t countBack = 0;
    CardTable cardsBack;
    MemorySource again(written.Bytes());
    if (ReadCategory(again, "fuzz", ReadMode::Full, HeaderCheck::Check, {nameBack, countBack, &cardsBack}) ||
        nameBack != name || countBack != count || cardsBack.Size() != cards.Size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < cards.Size(); ++i) {
        if (!(cards.At(i) == cardsBack.At(i))) {
            std::abort();
        }
    }
    return 0;
}
