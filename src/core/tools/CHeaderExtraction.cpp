#include "core/tools/CHeaderExtraction.h"

#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunTrailer.h"
#include "core/text/TextTrim.h"
#include "core/tools/BatchTool.h"
#include "core/tools/LineReader.h"

namespace trawlit {

namespace {

// The header comment ends at its closing "*/" or at the first #include or #if, when either
// begins the line exactly.
bool EndsHeader(const std::string& line)
{
    return line.starts_with("*/") || line.starts_with("#i");
}

BatchToolPolicy CHeaderPolicy()
{
    BatchToolPolicy policy;
    policy.headerSection = SectionId::CHeaders;
    policy.skippedNameParts = { ".gif", ".jpg" };
    return policy;
}

class CHeaderSteps : public BatchTool {
public:
    explicit CHeaderSteps(RunPorts ports)
        : BatchTool(ports, CHeaderPolicy())
    {
    }

    void VisitFile(const WalkFile& file) override
    {
        std::int16_t fileNumber = 0;
        if (!OpenFileOfTree(file, fileNumber)) {
            return;
        }
        Writer().WriteLine(PathBelowRoot(file.checkPath, Options().RootFolder));
        LineReader reader(Ports().files, fileNumber);
        while (reader.Next(line_)) {
            Writer().Write("\t");
            Writer().WriteLine(TrimBlanks(line_));
            if (EndsHeader(line_)) {
                break;
            }
        }
        CloseFile(fileNumber);
        Writer().Write("\r\n");
        if (reader.Failed()) {
            ReportReadFailure(file);
            return;
        }
        CountFile();
    }

protected:
    void WriteEnd(bool aborted) override
    {
        Writer().Write("\r\n");
        WriteTotalFilesTrailer(Ports().window, Writer(), aborted, TotalFiles());
    }

private:
    std::string line_;
};

} // namespace

RunResult RunCHeaderExtraction(RunPorts ports)
{
    CHeaderSteps extraction(ports);
    return extraction.Run();
}

} // namespace trawlit
