#include "core/run/OutputHeader.h"

#include <array>
#include <cstdio>

#include "Version.h"
#include "core/text/TextHelpers.h"
#include "ports/SearchOptions.h"

namespace trawlit {

namespace {

constexpr std::array<const char*, 12> kMonths
    = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };

const char* SectionTitle(SectionId section)
{
    switch (section) {
    case SectionId::FolderListing:
        return "Folder Listing";
    case SectionId::SearchForString:
        return "Search for String";
    case SectionId::ChangeMarks:
        return "Brelka's /C /D /I";
    case SectionId::CHeaders:
        return "Extract C headers";
    }
    return nullptr;
}

} // namespace

std::string LabelledLine(const std::string& label, const std::string& value)
{
    return "   " + RJustify(label, 22) + "  " + value;
}

std::string MediumDateAndTime(const LocalDateTime& now)
{
    int month = (now.month >= 1 && now.month <= 12) ? now.month : 1;
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%s-%02d at %02d:%02d", now.day % 100,
        kMonths[static_cast<std::size_t>(month - 1)], now.year % 100, now.hour % 100,
        now.minute % 100);
    return text;
}

std::string OutputHeader(const SearchOptions& shown, const LocalDateTime& now, SectionId section)
{
    std::string header = "Trawlit (version " + std::to_string(kVersionMajor) + "."
        + std::to_string(kVersionMinor) + ") -- " + MediumDateAndTime(now) + "\r\n\r\n";
    if (const char* title = SectionTitle(section)) {
        header += std::string("   ") + title + "\r\n\r\n";
    }
    auto line = [&header](const char* label, const std::string& value) {
        header += LabelledLine(label, value) + "\r\n";
    };
    line("Root folder:", shown.RootFolder);
    line("File template:", shown.FileTemplate);
    line("Traverse subfolders:", YesOrNo(shown.TraverseSubfolders));
    if (section == SectionId::SearchForString) {
        line("Find What:", shown.SearchStr);
        line("Case sensitive:", YesOrNo(shown.CaseSensitive));
        line("Collapse white space:", YesOrNo(shown.CollapseWhiteSpace));
        line("Output counts only:", YesOrNo(shown.CountsOnly));
    }
    line("Output file:", shown.OutputPathname);
    header += "\r\n\r\n";
    return header;
}

} // namespace trawlit
