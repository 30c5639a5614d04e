#include "core/text/FileEncoding.h"

#include <array>

#include "core/text/TextDecode.h"

namespace trawlit {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

void AppendUnit(char16_t unit, bool littleEndian, std::string& out)
{
    const auto low = static_cast<char>(unit & 0xFF);
    const auto high = static_cast<char>(unit >> 8);
    out += littleEndian ? low : high;
    out += littleEndian ? high : low;
}

} // namespace

FileEncoding EncodingMarkedBy(std::string_view firstBytes, std::size_t& markLength)
{
    constexpr std::array<FileEncoding, 3> kMarked { FileEncoding::Utf8Marked, FileEncoding::Utf16Le,
        FileEncoding::Utf16Be };
    for (const FileEncoding encoding : kMarked) {
        if (firstBytes.starts_with(MarkOf(encoding))) {
            markLength = MarkOf(encoding).size();
            return encoding;
        }
    }
    markLength = 0;
    return FileEncoding::Unmarked;
}

bool MayBecomeMark(std::string_view firstBytes)
{
    const auto startsMark = [firstBytes](std::string_view mark) {
        return firstBytes.size() < mark.size() && mark.starts_with(firstBytes);
    };
    return !firstBytes.empty()
        && (startsMark(kUtf8Mark) || startsMark(kUtf16LeMark) || startsMark(kUtf16BeMark));
}

std::string_view MarkOf(FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Utf8Marked:
        return kUtf8Mark;
    case FileEncoding::Utf16Le:
        return kUtf16LeMark;
    case FileEncoding::Utf16Be:
        return kUtf16BeMark;
    case FileEncoding::Unmarked:
        break;
    }
    return {};
}

void AppendEncoded(FileEncoding encoding, std::string_view text, std::string& out)
{
    if (encoding == FileEncoding::Unmarked || encoding == FileEncoding::Utf8Marked) {
        out.append(text);
        return;
    }
    const bool littleEndian = encoding == FileEncoding::Utf16Le;
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t codePoint = 0;
        std::size_t length = 0;
        if (!DecodeUtf8At(text, at, codePoint, length)) {
            codePoint = U'\uFFFD';
        }
        at += length;
        if (codePoint < 0x10000) {
            AppendUnit(static_cast<char16_t>(codePoint), littleEndian, out);
        } else {
            const char32_t above = codePoint - 0x10000;
            AppendUnit(static_cast<char16_t>(0xD800 + (above >> 10)), littleEndian, out);
            AppendUnit(static_cast<char16_t>(0xDC00 + (above & 0x3FF)), littleEndian, out);
        }
    }
}

} // namespace trawlit
