#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trawlit {

// Printed files are mostly UTF-8, but results files of older runs, and lines found in files
// written on Windows, hold Windows-1252 bytes. Text that is valid UTF-8 prints as it stands;
// any other text prints byte by byte as Windows-1252. Returns the text as UTF-8.
std::string PrintableUtf8(std::string_view text);

// How many bytes at the end of `text` begin a UTF-8 character that the next piece may
// complete: 0 when there are none, or when the text before them is not valid UTF-8.
std::size_t Utf8CharacterCutAtEnd(std::string_view text);

} // namespace trawlit
