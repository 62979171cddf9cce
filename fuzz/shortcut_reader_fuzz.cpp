#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/shortcut_file.h"

// Any bytes as a shortcut file: an address, when there is one, is a value the file holds, and the file the
// export writes for it gives that address back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const std::optional<std::string> address = quillet::ReadShortcutAddress(bytes)) {
        if (address->empty() || address->size() > size || bytes.find(*address) == std::string_view::npos) {
            std::abort();
        }
        if (address->find_first_of("\r\n") == std::string::npos &&
            quillet::ReadShortcutAddress(quillet::ShortcutFileBytes(*address)) != address) {
            std::abort();
        }
    }
    return 0;
}
