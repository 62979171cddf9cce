#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "sparse_source.h"
#include "store/backup_file.h"
#include "store/category_file.h"
#include "store/field_writer.h"

namespace {

struct Section {
    std::vector<std::pair<std::string, quillet::CardTable>> blocks;
};

// The whole backup as the import reads it, block after block: false at the first refusal. Without `sections`
// nothing is kept, as in the import, where a large file of small blocks is no more than its bytes.
bool ReadAll(quillet::ByteSource& source, std::vector<Section>* sections, std::int32_t blockLimit = INT32_MAX,
             std::uint64_t memoryBudget = 0) {
    quillet::BackupReader reader(source, "fuzz", memoryBudget);
    if (reader.ReadHeader()) {
        return false;
    }
    for (int library = 0; library < 4; ++library) {
        std::int32_t count = 0;
        if (reader.ReadSectionCount(count)) {
            return false;
        }
        Section* section = sections ? &sections->emplace_back() : nullptr;
        std::string name;
        quillet::CardTable cards;
        for (std::int32_t i = 0; i < std::min(count, blockLimit); ++i) {
            if (reader.ReadBlock(name, cards)) {
                return false;
            }
            if (section) {
                section->blocks.emplace_back(std::move(name), std::move(cards));
                cards = {};
            }
        }
    }
    return true;
}

}  // namespace

// Any bytes: the reader ends cleanly, never allocates more than the input could hold (run with a malloc
// limit), and what it reads whole is written again and read back unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // As a large sparse file, where made-up counts and lengths look possible; its zeros are empty blocks, of
    // which the first few thousand say enough.
    if (size > 0 && ((data[0] ^ data[size - 1]) & 0x0F) == 0) {
        fuzz::SparseSource sparse(bytes, std::uint64_t{16} << 20);
        ReadAll(sparse, nullptr, 4000, std::uint64_t{1} << 20);
    }

    std::vector<Section> sections;
    MemorySource source(bytes);
    if (!ReadAll(source, &sections)) {
        return 0;
    }
    StringSink written;
    FieldWriter fields(written);
    fields.WriteString(kBackupHeader);
    fields.WriteString(kBackupVersion);
    for (const Section& section : sections) {
        fields.WriteInt32(static_cast<std::int32_t>(section.blocks.size()));
        for (const auto& [name, cards] : section.blocks) {
            if (WriteCategoryBlock(written, name, cards)) {
                std::abort();
            }
        }
    }
    std::vector<Section> back;
    MemorySource again(written.Bytes());
    if (!ReadAll(again, &back) || back.size() != sections.size()) {
        std::abort();
    }
    for (std::size_t s = 0; s < sections.size(); ++s) {
        if (back[s].blocks.size() != sections[s].blocks.size()) {
            std::abort();
        }
        for (std::size_t b = 0; b < sections[s].blocks.size(); ++b) {
            const auto& [name, cards] = sections[s].blocks[b];
            const auto& [nameBack, cardsBack] = back[s].blocks[b];
            if (name != nameBack || cards.Size() != cardsBack.Size()) {
                std::abort();
            }
            for (std::size_t i = 0; i < cards.Size(); ++i) {
                if (!(cards.At(i) == cardsBack.At(i))) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
