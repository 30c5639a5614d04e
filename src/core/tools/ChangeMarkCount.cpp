#include "core/tools/ChangeMarkCount.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunTrailer.h"
#include "core/text/NameTokens.h"
#include "core/text/TextDecode.h"
#include "core/text/TextHelpers.h"
#include "core/tools/BatchTool.h"
#include "core/tools/LineReader.h"
#include "ports/Dialogs.h"

namespace trawlit {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return at;
}

// The length of the decimal number that `text` begins with, 0 when it begins with none.
std::size_t NumberLength(std::string_view text)
{
    std::size_t at = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    const std::size_t integerEnd = SkipDigits(text, at);
    bool hasDigits = integerEnd > at;
    at = integerEnd;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, at + 1);
        hasDigits = hasDigits || fractionEnd > at + 1;
        at = fractionEnd;
    }
    if (!hasDigits) {
        return 0;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) {
            at = exponentEnd;
        }
    }
    return at;
}

// " Deletes   Inserts    File": two right-aligned columns of 8, then the path.
std::string CountsLine(
    const std::string& deletes, const std::string& inserts, const std::string& last)
{
    return RJustify(deletes, 8) + "  " + RJustify(inserts, 8) + "    " + last;
}

// The rest of a "/D" line too long to hold, cut down to what reading its range depends on:
// a run of delimiters becomes its first, a token keeps its first kMaxToken bytes, and nothing
// is kept once a sixth token begins (the range reading looks at five at most).
class LongRangeText {
public:
    static constexpr std::size_t kMaxToken = 64 * 1024;
    static constexpr int kTokensRead = 5;

    void Add(std::string_view part)
    {
        for (const char c : part) {
            if (c == ',' || c == ' ') {
                if (!inDelimiters_) {
                    text_ += c;
                }
                inDelimiters_ = true;
                inToken_ = false;
                continue;
            }
            if (!inToken_) {
                if (++tokens_ > kTokensRead) {
                    full_ = true;
                    return;
                }
                tokenLength_ = 0;
                inToken_ = true;
            }
            inDelimiters_ = false;
            if (tokenLength_++ < kMaxToken) {
                text_ += c;
            }
        }
    }
    bool Full() const { return full_; }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    std::size_t tokenLength_ = 0;
    int tokens_ = 0;
    bool inDelimiters_ = false;
    bool inToken_ = false;
    bool full_ = false;
};

struct MarkCounts {
    std::int64_t deletes = 0;
    std::int64_t inserts = 0;
};

class ChangeMarkSteps : public BatchTool {
public:
    ChangeMarkSteps(const RunInputs& inputs, RunPorts ports)
        : BatchTool(inputs, ports, ReadingToolPolicy(SectionId::ChangeMarks))
    {
    }

    void VisitFile(const WalkFile& file) override
    {
        MarkCounts counts;
        // Marks and ranges are ASCII: the lines need no reading as text beyond the file's
        // encoding.
        const FileRead read = ReadLinesOf(file,
            [this, &counts](LineReader& reader) { counts = CountMarks(reader); },
            { .utf8Lines = false });
        // Counts of a file cut short would pass for the file's own: it is left out.
        if (read != FileRead::Read) {
            return;
        }
        Writer().WriteLine(CountsLine(std::to_string(counts.deletes),
            std::to_string(counts.inserts), PathBelowRoot(file.checkPath, Options().RootFolder)));
        CountFile();
        totals_.deletes += counts.deletes;
        totals_.inserts += counts.inserts;
    }

protected:
    void WriteStart() override
    {
        Writer().WriteLine(CountsLine("Deletes", "Inserts", "File"));
        Writer().WriteLine(CountsLine("-------", "-------", "----"));
        Writer().Write("\r\n");
    }

    void WriteEnd(bool aborted) override
    {
        Writer().Write("\r\n");
        Writer().WriteLine(CountsLine(
            std::to_string(totals_.deletes), std::to_string(totals_.inserts), "<== total counts "));
        WriteTotalFilesTrailer(Writer(), aborted, TotalFiles());
    }

private:
    std::int64_t RangeSize() const { return last_ - first_ + 1; }

    // A "/D" range counts as deleted lines only when a mark or the end of the file closes
    // it; an ordinary line closes it uncounted.
    MarkCounts CountMarks(LineReader& reader)
    {
        MarkCounts counts;
        bool rangeOpen = false;
        while (reader.Next(line_)) {
            const bool longLine = reader.LineGoesOn();
            line_ += "  ";
            const std::string_view key = std::string_view(line_).substr(0, 2);
            if (key == "/C" || key == "/I" || key == "/D") {
                if (rangeOpen) {
                    counts.deletes += RangeSize();
                }
                rangeOpen = key == "/D";
                if (rangeOpen) {
                    ReadRange(longLine ? RestOfLongLine(reader) : line_.substr(2));
                }
            } else {
                rangeOpen = false;
                ++counts.inserts;
            }
            // Only a line's start matters beyond a range.
            while (reader.LineGoesOn() && reader.Next(line_)) { }
        }
        if (rangeOpen) {
            counts.deletes += RangeSize();
        }
        return counts;
    }

    // What follows the mark on a line that comes in parts, with the two blanks every line gets.
    std::string RestOfLongLine(LineReader& reader)
    {
        LongRangeText rest;
        rest.Add(std::string_view(line_).substr(2, line_.size() - 4));
        while (!rest.Full() && reader.LineGoesOn() && reader.Next(line_)) {
            rest.Add(line_);
        }
        return rest.Text() + "  ";
    }

    // "12" or "12, 15": the range's bounds. Anything else is shown to the user, and the
    // bounds of the last range read well stay.
    void ReadRange(const std::string& rest)
    {
        int count = 0;
        FINDTOK2(rest, count, 5, starts_, ends_, ", ", TokenFlags::SkipEmpty);
        auto token = [&](std::size_t k) {
            const auto start = static_cast<std::size_t>(starts_[k] - 1);
            const auto end = static_cast<std::size_t>(ends_[k]);
            return std::string_view(rest).substr(start, end - start);
        };
        if (count == 1) {
            first_ = last_ = LeadingWholeNumber(token(1));
        } else if (count == 2) {
            first_ = LeadingWholeNumber(token(1));
            last_ = LeadingWholeNumber(token(2));
        } else {
            std::string scratch;
            Ports().dialogs.MsgBox("NTok = " + std::to_string(count) + "\r\n\r\n"
                + std::string(LineAsUtf8(rest, scratch)));
        }
    }

    std::int64_t first_ = 0; // the last range read well, kept from file to file
    std::int64_t last_ = 0;
    MarkCounts totals_;
    std::string line_;
    std::vector<int> starts_;
    std::vector<int> ends_;
};

} // namespace

std::int64_t LeadingWholeNumber(std::string_view token)
{
    const std::size_t length = NumberLength(token);
    if (length == 0) {
        return 0;
    }
    std::string_view number = token.substr(0, length);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-') {
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
    constexpr double kSmallest = std::numeric_limits<std::int32_t>::min();
    if (error == std::errc::result_out_of_range) {
        // Too small to tell from 0 (a negative exponent), or too large for any count.
        const std::size_t exponent = number.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos && number[exponent + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    if (negative) {
        value = -value;
    }
    value = std::nearbyint(value); // the default rounding sends halves to the even neighbour
    if (value >= kLargest) {
        return static_cast<std::int64_t>(kLargest);
    }
    if (value <= kSmallest) {
        return static_cast<std::int64_t>(kSmallest);
    }
    return static_cast<std::int64_t>(value);
}

RunResult RunChangeMarkCount(const RunInputs& inputs, RunPorts ports)
{
    ChangeMarkSteps counting(inputs, ports);
    return counting.Run();
}

} // namespace trawlit
