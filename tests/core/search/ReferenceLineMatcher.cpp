#include "core/search/ReferenceLineMatcher.h"

#include "core/text/CaseFold.h"
#include "core/text/TextDecode.h"

#include <algorithm>
#include <cctype>

namespace trawlit::test {

namespace {

std::string Collapsed(const std::string& text)
{
    std::string result;
    bool inRun = false;
    for (const char c : text) {
        const bool white = static_cast<unsigned char>(c) <= 32;
        if (white && !inRun)
            result += ' ';
        else if (!white)
            result += c;
        inRun = white;
    }
    return result;
}

// Text as UTF-8: as it is when valid, else read as Windows-1252.
std::string AsText(const std::string& bytes)
{
    std::string scratch;
    return std::string(LineAsUtf8(bytes, scratch));
}

std::string Folded(const std::string& text)
{
    std::string folded;
    AppendFolded(text, folded);
    return folded;
}

// The whole file as UTF-8 when it starts with a UTF-16 byte-order mark.
std::string Utf16Decoded(std::string_view file)
{
    const auto order = Utf16Mark(file);
    if (!order)
        return std::string(file);
    std::string decoded;
    Utf16Decoder decoder(*order);
    decoder.Feed(file.substr(2), decoded);
    decoder.Finish(decoded);
    return decoded;
}

bool EndsInUnderscore(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    while (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    return !text.empty() && text.back() == '_';
}

struct Reference {
    const MatchSettings& settings;
    std::vector<ReportedMatch> matches;
    bool continuationPending = false;

    std::string Reported(const std::string& piece) const
    {
        return settings.lineNumbersWanted ? AsText(piece) : piece;
    }

    void ProcessPiece(const std::string& piece, std::int64_t lineNumber)
    {
        const std::int64_t reported = settings.lineNumbersWanted ? lineNumber : 0;
        if (continuationPending) {
            matches.push_back({ reported, Reported(piece), true });
            continuationPending = EndsInUnderscore(piece);
            return;
        }
        std::string tested = AsText(piece);
        if (settings.collapseWhiteSpace)
            tested = Collapsed(tested);
        std::string text = AsText(settings.findText);
        if (!settings.caseSensitive) {
            tested = Folded(tested);
            text = Folded(text);
        }
        if (tested.find(text) == std::string::npos)
            return;
        matches.push_back({ reported, Reported(piece), false });
        continuationPending
            = EndsInUnderscore(settings.collapseWhiteSpace ? Collapsed(piece) : piece);
    }
};

} // namespace

std::ostream& operator<<(std::ostream& out, const ReportedMatch& match)
{
    out << "{" << match.lineNumber << ", \"";
    for (const char c : match.piece) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte < 127)
            out << c;
        else
            out << "\\x"
                << "0123456789abcdef"[byte >> 4] << "0123456789abcdef"[byte & 15];
    }
    return out << "\"" << (match.isContinuation ? ", continuation}" : "}");
}

std::vector<ReportedMatch> ReferenceMatches(std::string_view bytes, const MatchSettings& settings)
{
    const std::string decoded = Utf16Decoded(bytes);
    const std::string_view file = decoded;
    Reference reference { settings, {}, false };
    std::int64_t lineNumber = 0;
    std::size_t position = 0;
    while (position < file.size()) {
        ++lineNumber;
        const std::size_t cr = std::min(file.find('\r', position), file.size());
        const std::string line(file.substr(position, cr - position));
        position = cr;
        if (position < file.size())
            ++position;
        if (cr < file.size() && position < file.size() && file[position] == '\n')
            ++position;
        std::size_t pieceStart = 0;
        for (;;) {
            const std::size_t lf = line.find('\n', pieceStart);
            reference.ProcessPiece(line.substr(pieceStart, lf - pieceStart), lineNumber);
            if (lf == std::string::npos)
                break;
            ++lineNumber;
            pieceStart = lf + 1;
        }
    }
    return reference.matches;
}

} // namespace trawlit::test
