#pragma once

#include <string>
#include <string_view>

namespace trawlit {

// Appends `bytes` as a JSON string, quotes included. Bytes that are not valid UTF-8 (a stray
// byte of another code page, an overlong or surrogate form, a cut sequence) become one
// U+FFFD each; returns false when that happened, so the caller can add the exact bytes.
bool AppendJsonString(std::string& out, std::string_view bytes);

// Appends `bytes` as the inside of a JSON string (no quotes) that comes in parts, exactly as
// AppendJsonString would escape them all at once: a UTF-8 sequence cut at the end of a part
// waits in `pending` for the next one, or for `last`. Returns false when a byte became U+FFFD.
bool AppendJsonStringPart(
    std::string& out, std::string_view bytes, std::string& pending, bool last);

// Appends `bytes` in base64 (RFC 4648, with padding), no quotes.
void AppendBase64(std::string& out, std::string_view bytes);

// Appends "name":"text" and, when the text was not valid UTF-8, "name_base64":"exact bytes"
// after it, each followed by a comma.
void AppendTextField(std::string& out, std::string_view name, std::string_view bytes);

// The length of the valid UTF-8 sequence at the start of `bytes`, or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view bytes);

} // namespace trawlit
