#include "core/tools/FolderListingTool.h"

#include <algorithm>

#include "core/run/OutputHeader.h"
#include "core/run/ResultsWriter.h"
#include "core/run/RunFrame.h"
#include "core/tools/BatchTool.h"

namespace trawlit {

namespace {

// Two blanks per level: the separators in the path less one. A path without any separator
// (a relative root) is not indented.
std::string Indentation(const std::string& path)
{
    const auto separators = std::count(path.begin(), path.end(), '/');
    return std::string(
        static_cast<std::size_t>(2 * std::max<std::ptrdiff_t>(separators - 1, 0)), ' ');
}

BatchToolPolicy ListingPolicy()
{
    BatchToolPolicy policy;
    policy.headerSection = SectionId::FolderListing;
    policy.animated = true;
    // Pictures and object files are listed like any other file; so is the results file
    // itself, which the listing never reads.
    policy.skippedNameParts = {};
    policy.passOverResultsFile = false;
    return policy;
}

class FolderListingSteps : public BatchTool {
public:
    FolderListingSteps(const RunInputs& inputs, RunPorts ports)
        : BatchTool(inputs, ports, ListingPolicy())
    {
    }

    void OnFolder(const std::string& folderPath, bool isRoot) override
    {
        std::string line = Indentation(folderPath);
        if (isRoot) {
            line += folderPath;
        } else {
            line += folderPath.substr(folderPath.rfind('/'));
            line += "  (" + folderPath + ")";
        }
        Writer().WriteLine(line);
    }

    void VisitFile(const WalkFile& file) override
    {
        Writer().WriteLine(Indentation(file.displayPath) + std::string(file.name));
        CountFile();
    }

protected:
    std::string ClosingMessage(bool aborted) const override
    {
        return (aborted ? "PROCESS WAS ABORTED\r\n\r\n" : "") + WalkGapsMessage(Gaps());
    }
};

} // namespace

RunResult RunFolderListing(const RunInputs& inputs, RunPorts ports)
{
    FolderListingSteps listing(inputs, ports);
    return listing.Run();
}

} // namespace trawlit
