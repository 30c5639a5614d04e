#include "core/formats/JsonText.h"

#include <algorithm>
#include <cstdint>

#include "core/text/TextDecode.h"

namespace trawlit {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Bytes that go into a JSON string as they are.
bool IsPlain(unsigned char byte)
{
    return byte >= 0x20U && byte < 0x80U && byte != '"' && byte != '\\';
}

void AppendEscape(std::string& out, unsigned char byte)
{
    switch (byte) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    constexpr std::string_view kHex = "0123456789abcdef";
    out += "\\u00";
    out += kHex[byte >> 4U];
    out += kHex[byte & 0xFU];
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view bytes)
{
    char32_t codePoint = 0;
    std::size_t length = 0;
    return !bytes.empty() && DecodeUtf8At(bytes, 0, codePoint, length) ? length : 0;
}

namespace {

bool AppendEscaped(std::string& out, std::string_view bytes)
{
    bool exact = true;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t plainEnd = at;
        while (plainEnd < bytes.size() && IsPlain(static_cast<unsigned char>(bytes[plainEnd]))) {
            ++plainEnd;
        }
        out.append(bytes.substr(at, plainEnd - at));
        at = plainEnd;
        if (at == bytes.size()) {
            break;
        }
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte < 0x80U) {
            AppendEscape(out, byte);
            ++at;
        } else if (std::size_t length = Utf8SequenceLength(bytes.substr(at)); length != 0) {
            out.append(bytes.substr(at, length));
            at += length;
        } else {
            out += kReplacementCharacter;
            exact = false;
            ++at;
        }
    }
    return exact;
}

// How many bytes at the end of `bytes` begin a UTF-8 sequence that runs past it.
std::size_t CutSequenceAtEnd(std::string_view bytes)
{
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0U) == 0x80U) {
            continue; // a continuation byte: its lead is further back
        }
        const std::size_t length = byte >= 0xF0U ? 4 : byte >= 0xE0U ? 3 : byte >= 0xC0U ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace

bool AppendJsonString(std::string& out, std::string_view bytes)
{
    out += '"';
    const bool exact = AppendEscaped(out, bytes);
    out += '"';
    return exact;
}

bool AppendJsonStringPart(std::string& out, std::string_view bytes, std::string& pending, bool last)
{
    bool exact = true;
    if (!pending.empty()) {
        // The cut sequence, completed by the first bytes of this part where they fit it.
        std::string joined = pending;
        joined.append(bytes.substr(0, 4 - pending.size()));
        const std::size_t length = Utf8SequenceLength(joined);
        if (length > pending.size()) {
            out.append(joined, 0, length);
            bytes.remove_prefix(length - pending.size());
        } else if (joined.size() < 4 && !last && CutSequenceAtEnd(joined) == joined.size()) {
            pending = joined; // still cut: a part of one or two bytes
            return true;
        } else {
            exact = AppendEscaped(out, pending);
        }
        pending.clear();
    }
    const std::size_t cut = last ? 0 : CutSequenceAtEnd(bytes);
    pending.assign(bytes.substr(bytes.size() - cut));
    bytes.remove_suffix(cut);
    return AppendEscaped(out, bytes) && exact;
}

void AppendBase64(std::string& out, std::string_view bytes)
{
    constexpr std::string_view kDigits
        = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const std::uint32_t byte = i < count ? static_cast<unsigned char>(bytes[at + i]) : 0U;
            group = (group << 8U) | byte;
        }
        for (std::size_t i = 0; i < 4; ++i) {
            out += i <= count ? kDigits[(group >> (18U - 6U * i)) & 0x3FU] : '=';
        }
    }
}

void AppendTextField(std::string& out, std::string_view name, std::string_view bytes)
{
    out += '"';
    out += name;
    out += "\":";
    if (AppendJsonString(out, bytes)) {
        out += ',';
        return;
    }
    out += ",\"";
    out += name;
    out += "_base64\":\"";
    AppendBase64(out, bytes);
    out += "\",";
}

} // namespace trawlit
