#include "core/formats/JsonText.h"

#include <algorithm>
#include <cstdint>

namespace trawlit {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool IsContinuationByte(unsigned char byte)
{
    return (byte & 0xC0U) == 0x80U;
}

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
    if (bytes.empty()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80U) {
        return 1;
    }
    // The second byte's range rules out overlong forms, surrogates and code points past
    // U+10FFFF; the others need only be continuation bytes.
    std::size_t length = 0;
    unsigned char low = 0x80U;
    unsigned char high = 0xBFU;
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        low = lead == 0xE0U ? 0xA0U : low;
        high = lead == 0xEDU ? 0x9FU : high;
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        low = lead == 0xF0U ? 0x90U : low;
        high = lead == 0xF4U ? 0x8FU : high;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(bytes[1]);
    if (second < low || second > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuationByte(static_cast<unsigned char>(bytes[i]))) {
            return 0;
        }
    }
    return length;
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
