#include "core/tools/CHeaderExtraction.h"

#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunTrailer.h"
#include "core/tools/BatchTool.h"
#include "core/tools/LineReader.h"

#include <string>
#include <string_view>

namespace trawlit {

namespace {

constexpr const char* kCutShort = "\t(not read in full)";

// The header comment ends at its closing "*/" or at the first #include or #if, when either
// begins the line exactly.
bool EndsHeader(const std::string& line)
{
    return line.starts_with("*/") || line.starts_with("#i");
}

class CHeaderSteps : public BatchTool {
public:
    CHeaderSteps(const RunInputs& inputs, RunPorts ports)
        : BatchTool(inputs, ports, ReadingToolPolicy(SectionId::CHeaders))
    {
    }

    void VisitFile(const WalkFile& file) override
    {
        const FileRead read = ReadLinesOf(file, [this, &file](LineReader& reader) {
            Writer().WriteLine(PathBelowRoot(file.checkPath, Options().RootFolder));
            while (reader.Next(line_)) {
                const bool endsHeader = EndsHeader(line_);
                Writer().Write("\t");
                WriteTrimmedLine(reader);
                Writer().Write("\r\n");
                if (endsHeader) {
                    break;
                }
            }
        });
        if (read == FileRead::NotOpened) {
            return;
        }
        // The block is written as it is read: one cut short says so rather than pass as whole.
        if (read == FileRead::Failed || read == FileRead::Stopped) {
            Writer().WriteLine(kCutShort);
        }
        Writer().Write("\r\n");
        if (read == FileRead::Read) {
            CountFile();
        }
    }

protected:
    void WriteEnd(bool aborted) override
    {
        Writer().Write("\r\n");
        WriteTotalFilesTrailer(Writer(), aborted, TotalFiles());
    }

private:
    // Writes the line begun in line_ without its leading and trailing blanks, part by part: a
    // run of blanks is written only once something other than a blank follows it.
    void WriteTrimmedLine(LineReader& reader)
    {
        std::size_t heldBlanks = 0;
        bool begun = false;
        do {
            std::string_view part = line_;
            if (!begun) {
                const std::size_t first = part.find_first_not_of(' ');
                part.remove_prefix(first == std::string_view::npos ? part.size() : first);
                begun = !part.empty();
            }
            const std::size_t last = part.find_last_not_of(' ');
            if (last == std::string_view::npos) {
                heldBlanks += part.size();
                continue;
            }
            WriteBlanks(heldBlanks);
            Writer().Write(part.substr(0, last + 1));
            heldBlanks = part.size() - last - 1;
        } while (reader.LineGoesOn() && reader.Next(line_));
    }

    void WriteBlanks(std::size_t count)
    {
        static const std::string kBlanks(4096, ' ');
        for (; count > kBlanks.size(); count -= kBlanks.size()) {
            Writer().Write(kBlanks);
        }
        Writer().Write(kBlanks.substr(0, count));
    }

    std::string line_;
};

} // namespace

RunResult RunCHeaderExtraction(const RunInputs& inputs, RunPorts ports)
{
    CHeaderSteps extraction(inputs, ports);
    return extraction.Run();
}

} // namespace trawlit
