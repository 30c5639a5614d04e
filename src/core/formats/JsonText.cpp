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

bool AppendJsonString(std::string& out, std::string_view bytes)
{
    bool exact = true;
    out += '"';
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
    out += '"';
    return exact;
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
