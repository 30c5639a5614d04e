#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trawlit {

// How a file's bytes are text, as a byte-order mark at its start says.
enum class FileEncoding : std::uint8_t {
    Unmarked, // no mark: each line is UTF-8 where it is valid, else Windows-1252
    Utf8Marked, // UTF-8 after the mark EF BB BF
    Utf16Le,
    Utf16Be,
};

// The encoding a file that begins with `firstBytes` has, and the length of its mark.
FileEncoding EncodingMarkedBy(std::string_view firstBytes, std::size_t& markLength);
// True while `firstBytes` is a proper start of a mark: more bytes must settle it.
bool MayBecomeMark(std::string_view firstBytes);
// The mark a file of that encoding begins with (none for Unmarked).
std::string_view MarkOf(FileEncoding encoding);
// Appends the UTF-8 `text` as bytes of `encoding`, without a mark.
void AppendEncoded(FileEncoding encoding, std::string_view text, std::string& out);

} // namespace trawlit
