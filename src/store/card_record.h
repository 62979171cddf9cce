#pragma once

#include <string>

namespace quillet {

// One card. Text cards keep an empty address; for a site, content is the description.
struct CardRecord {
    std::string name;
    std::string content;
    std::string address;

    bool operator==(const CardRecord&) const = default;
};

}  // namespace quillet
