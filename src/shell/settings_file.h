#pragma once

#include <cstdint>
#include <filesystem>

#include "store/byte_sink.h"
#include "store/byte_source.h"
#include "store/card_store.h"
#include "store/store_error.h"

namespace quillet {

inline constexpr std::string_view kSettingsFileName = "Quillet.tmp";

struct WindowPlace {
    std::int32_t left;
    std::int32_t top;
    std::int32_t width;
    std::int32_t height;

    bool operator==(const WindowPlace&) const = default;
};

// The start options and the window state of the last run. The rest of the settings file (current library,
// category path, flags, remembered rows) is the card store's shared state.
struct AppSettings {
    std::int32_t startMode = 0;  // 0 entry mode, 1 reading mode, 2 hidden in the tray
    bool maximizeAtStart = false;
    std::int32_t dataBarPosition = 0;  // 0 left, 1 right, 2 top, 3 bottom
    WindowPlace cardViewer{254, 0, 546, 432};
    WindowPlace siteCapture{200, 100, 100, 200};
    WindowPlace cardCapture{200, 100, 100, 200};
    std::int32_t dataBarWidth = 190;
    std::int32_t dataBarHeight = 314;

    bool operator==(const AppSettings&) const = default;
};

// The settings file: 21 fields, then the five remembered rows, with no header. Writing always writes all of
// them; reading stops at the first field that is not whole, keeping what was read and the start values for
// the rest.
void WriteSettings(ByteSink& sink, const AppSettings& settings, const CardStore& store);
StoreError ReadSettings(ByteSource& source, const std::filesystem::path& file, AppSettings& settings, CardStore& store);

// False when there is no settings file to read; a damaged one is read as far as it goes.
bool LoadSettingsFile(const std::filesystem::path& file, AppSettings& settings, CardStore& store);
StoreError SaveSettingsFile(const std::filesystem::path& file, const AppSettings& settings, const CardStore& store);

}  // namespace quillet
