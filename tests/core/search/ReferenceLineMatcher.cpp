#include "core/search/ReferenceLineMatcher.h"

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

std::string Lowered(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
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

    void ProcessPiece(const std::string& piece, std::int64_t lineNumber)
    {
        const std::int64_t reported = settings.lineNumbersWanted ? lineNumber : 0;
        if (continuationPending) {
            matches.push_back({ reported, piece, true });
            continuationPending = EndsInUnderscore(piece);
            return;
        }
        std::string tested = settings.collapseWhiteSpace ? Collapsed(piece) : piece;
        std::string text = settings.findText;
        if (!settings.caseSensitive) {
            tested = Lowered(tested);
            text = Lowered(text);
        }
        if (tested.find(text) == std::string::npos)
            return;
        matches.push_back({ reported, piece, false });
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

std::vector<ReportedMatch> ReferenceMatches(std::string_view file, const MatchSettings& settings)
{
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
