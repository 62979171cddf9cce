#include "tools/bookmarks_file.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "store/codec.h"
#include "tools/ascii_case.h"

namespace quillet {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

void AppendCodePoint(std::uint32_t code, std::string& out) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = 0xFFFD;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The text with its character references decoded; an unknown one stays as written.
std::string Decoded(std::string_view text) {
    static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semicolon == std::string_view::npos || semicolon - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view entity = text.substr(i + 1, semicolon - i - 1);
        std::optional<std::uint32_t> code;
        if (entity.size() > 1 && entity[0] == '#') {
            const bool hex = entity[1] == 'x' || entity[1] == 'X';
            const std::string_view digits = entity.substr(hex ? 2 : 1);
            std::uint32_t value = 0;
            bool valid = !digits.empty();
            for (const char c : digits) {
                const int digit = std::isdigit(static_cast<unsigned char>(c))           ? c - '0'
                                  : hex && std::isxdigit(static_cast<unsigned char>(c)) ? std::tolower(c) - 'a' + 10
                                                                                        : -1;
                valid = valid && digit >= 0 && value <= 0x10FFFF;
                value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(std::max(digit, 0));
            }
            if (valid) {
                code = value;
            }
        }
        if (code) {
            AppendCodePoint(*code, out);
        } else {
            const auto named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                            [&](const auto& pair) { return EqualsIgnoringCase(pair.first, entity); });
            if (named == std::end(kNamed)) {
                out += text[i];
                continue;
            }
            out += named->second;
        }
        i = semicolon;
    }
    return out;
}

struct Tag {
    std::string_view name;  // without the slash
    bool closing = false;
    std::string_view attributes;
};

std::optional<std::string> Attribute(std::string_view attributes, std::string_view wanted) {
    std::size_t i = 0;
    while (i < attributes.size()) {
        while (i < attributes.size() && (IsBlank(attributes[i]) || attributes[i] == '/')) {
            ++i;
        }
        const std::size_t nameStart = i;
        while (i < attributes.size() && !IsBlank(attributes[i]) && attributes[i] != '=') {
            ++i;
        }
        const std::string_view name = attributes.substr(nameStart, i - nameStart);
        while (i < attributes.size() && IsBlank(attributes[i])) {
            ++i;
        }
        std::string_view value;
        if (i < attributes.size() && attributes[i] == '=') {
            ++i;
            while (i < attributes.size() && IsBlank(attributes[i])) {
                ++i;
            }
            if (i < attributes.size() && (attributes[i] == '"' || attributes[i] == '\'')) {
                const char quote = attributes[i++];
                const std::size_t end = std::min(attributes.find(quote, i), attributes.size());
                value = attributes.substr(i, end - i);
                i = end + 1;
            } else {
                const std::size_t start = i;
                while (i < attributes.size() && !IsBlank(attributes[i])) {
                    ++i;
                }
                value = attributes.substr(start, i - start);
            }
        }
        if (!name.empty() && EqualsIgnoringCase(name, wanted)) {
            return Decoded(value);
        }
        if (name.empty()) {
            ++i;
        }
    }
    return std::nullopt;
}

// Blanks around a text are the file's layout; blanks written as references belong to the text.
std::string StoredText(std::string_view raw) { return ToStoredText(Decoded(Trimmed(raw))); }

}  // namespace

FavoritesTree ParseBookmarks(std::string_view html) {
    FavoritesTree tree;
    int depth = 0;  // open <DL> lists; the first is the root
    std::optional<std::string> pendingFolder;
    enum class Capture { None, FolderName, LinkName, Description } capture = Capture::None;
    std::string captured;
    std::optional<FavoriteSite> link;
    // The site a <DD> right after it describes: its list (-1 the root, else a folder) and place.
    std::optional<std::pair<int, std::size_t>> lastSite;
    bool folderOpen = false;  // a top-level folder collects what its lists hold

    const auto listHere = [&] { return depth >= 2 && folderOpen ? static_cast<int>(tree.folders.size()) - 1 : -1; };
    const auto sites = [&](int list) -> std::vector<FavoriteSite>& {
        return list < 0 ? tree.rootSites : tree.folders[static_cast<std::size_t>(list)].sites;
    };
    const auto endCapture = [&] {
        switch (capture) {
            case Capture::FolderName:
                pendingFolder = StoredText(captured);
                lastSite.reset();
                break;
            case Capture::LinkName:
                if (link) {
                    link->name = StoredText(captured);
                    const int list = listHere();
                    sites(list).push_back(std::move(*link));
                    lastSite.emplace(list, sites(list).size() - 1);
                    link.reset();
                }
                break;
            case Capture::Description:
                if (lastSite) {
                    sites(lastSite->first)[lastSite->second].description = StoredText(captured);
                }
                lastSite.reset();
                break;
            case Capture::None:
                break;
        }
        capture = Capture::None;
        captured.clear();
    };

    std::size_t i = 0;
    while (i < html.size()) {
        const std::size_t open = html.find('<', i);
        const std::string_view text = html.substr(i, (open == std::string_view::npos ? html.size() : open) - i);
        if (capture != Capture::None) {
            captured.append(text);
        }
        if (open == std::string_view::npos) {
            break;
        }
        if (html.substr(open).starts_with("<!--")) {
            const std::size_t end = html.find("-->", open + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const std::size_t close = html.find('>', open);
        if (close == std::string_view::npos) {
            break;
        }
        std::string_view inside = html.substr(open + 1, close - open - 1);
        i = close + 1;
        Tag tag;
        tag.closing = inside.starts_with('/');
        if (tag.closing) {
            inside.remove_prefix(1);
        }
        std::size_t nameEnd = 0;
        while (nameEnd < inside.size() && std::isalnum(static_cast<unsigned char>(inside[nameEnd]))) {
            ++nameEnd;
        }
        tag.name = inside.substr(0, nameEnd);
        tag.attributes = inside.substr(nameEnd);

        if (capture == Capture::Description || (tag.closing && capture != Capture::None)) {
            endCapture();  // a description runs to the next tag; names to their closing tag
        }
        if (EqualsIgnoringCase(tag.name, "DL")) {
            if (!tag.closing) {
                ++depth;
                if (depth == 2) {
                    folderOpen = pendingFolder.has_value();
                    if (folderOpen) {
                        tree.folders.push_back({std::move(*pendingFolder), {}});
                    }
                }
            } else if (depth > 0) {
                --depth;
                if (depth < 2) {
                    folderOpen = false;
                }
            }
            pendingFolder.reset();
            lastSite.reset();
        } else if (!tag.closing && EqualsIgnoringCase(tag.name, "H3")) {
            capture = Capture::FolderName;
        } else if (!tag.closing && EqualsIgnoringCase(tag.name, "A")) {
            const std::optional<std::string> href = Attribute(tag.attributes, "HREF");
            const std::string_view address = href ? Trimmed(*href) : std::string_view();
            if (!address.empty() && !address.starts_with("place:")) {
                link = FavoriteSite{{}, ToStoredText(address), std::nullopt};
            }
            capture = Capture::LinkName;
        } else if (!tag.closing && EqualsIgnoringCase(tag.name, "DD")) {
            capture = Capture::Description;
        } else if (!tag.closing && EqualsIgnoringCase(tag.name, "DT")) {
            lastSite.reset();
        }
    }
    endCapture();
    return tree;
}

namespace {

// Text and attribute values as the format writes them; line breaks too, so that a description comes back whole.
std::string Escaped(std::string_view stored) {
    const std::string utf8 = ToUtf8(stored);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const bool edge = i == 0 || i + 1 == utf8.size();
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\r':
                out += "&#13;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\t':
                out += "&#9;";
                break;
            case '\f':
                out += "&#12;";
                break;
            case ' ':
                out += edge ? "&#32;" : " ";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::string WriteBookmarks(const std::vector<BookmarksCategory>& categories) {
    std::string html =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<!-- This is an automatically generated file.\n"
        "     It will be read and overwritten.\n"
        "     DO NOT EDIT! -->\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks</H1>\n"
        "<DL><p>\n";
    for (const BookmarksCategory& category : categories) {
        html += "    <DT><H3>" + Escaped(category.name) + "</H3>\n    <DL><p>\n";
        for (const FavoriteSite& site : category.sites) {
            html += "        <DT><A HREF=\"" + Escaped(site.address) + "\">" + Escaped(site.name) + "</A>\n";
            html += "        <DD>" + Escaped(site.description.value_or("")) + "\n";
        }
        html += "    </DL><p>\n";
    }
    html += "</DL><p>\n";
    return html;
}

}  // namespace quillet
