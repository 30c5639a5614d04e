#include "core/printing/PrintedTextEncoding.h"

#include "core/text/TextDecode.h"

namespace trawlit {

std::string PrintableUtf8(std::string_view text)
{
    std::string scratch;
    return std::string(LineAsUtf8(text, scratch));
}

std::size_t Utf8CharacterCutAtEnd(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t codePoint = 0;
        std::size_t length = 0;
        switch (DecodeUtf8Step(text, at, codePoint, length)) {
        case Utf8Step::Complete:
            at += length;
            break;
        case Utf8Step::Incomplete:
            return text.size() - at;
        case Utf8Step::Invalid:
            return 0;
        }
    }
    return 0;
}

} // namespace trawlit
