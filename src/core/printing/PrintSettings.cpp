#include "core/printing/PrintSettings.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/text/TextTrim.h"

namespace trawlit {

std::string FontSizeText(float points)
{
    std::array<char, 32> buffer {};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), points);
    if (error != std::errc())
        return {};
    return std::string(buffer.data(), end);
}

float ParseFontSize(const std::string& text)
{
    const std::string trimmed = TrimBlanks(text);
    float points = 0.0F;
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    const auto [end, error] = std::from_chars(first, last, points);
    if (error != std::errc() || end != last || !std::isfinite(points))
        return kDefaultPrintFontSize;
    return points;
}

} // namespace trawlit
