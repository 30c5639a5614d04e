#include "core/printing/PdfFileName.h"

namespace trawlit {

namespace {

constexpr int kLastNumber = 9999;

} // namespace

std::string UnusedPdfPath(
    const std::string& printedPath, const std::function<bool(const std::string&)>& exists)
{
    std::string candidate = printedPath + ".pdf";
    for (int number = 2; exists(candidate); ++number) {
        if (number > kLastNumber)
            return {};
        candidate = printedPath + "-" + std::to_string(number) + ".pdf";
    }
    return candidate;
}

} // namespace trawlit
