#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Stored text is code page 936. A character that code page 936 cannot hold is stored as its GB18030 sequence,
// so nothing typed is lost while every code-page-936 text keeps exactly the bytes the category files use.
// These functions are the only place where stored text meets UTF-8.

// UTF-8 to stored bytes. Malformed UTF-8 becomes U+FFFD.
std::string ToStoredText(std::string_view utf8);

// Stored bytes to UTF-8. Accepts code page 936 and GB18030; a byte that is neither becomes U+FFFD.
std::string ToUtf8(std::string_view stored);
// The same, appended to `out`: for long lists, where one buffer serves every name.
void AppendAsUtf8(std::string_view stored, std::string& out);

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates or code points beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);

// UTF-16 little-endian bytes (the wide string form of the category files) to stored bytes.
// An odd trailing byte is dropped; an unpaired surrogate becomes U+FFFD.
std::string Utf16LeToStoredText(std::string_view utf16le);

}  // namespace quillet
