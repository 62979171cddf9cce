#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/byte_source.h"
#include "store/category_file.h"

// Any bytes: the reader ends cleanly, never reports more cards than it kept, and what it kept is written and
// read back unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

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
