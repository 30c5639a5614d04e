#include "core/outputfile/OutputFile.h"

#include "core/files/FileRoutines.h"
#include "ports/Dialogs.h"
#include "ports/FileSystem.h"

namespace trawlit {

void ShowOutputFile(const OutputFileRequest& request, FileRoutines& files, FileSystem& fileSystem,
    Dialogs& dialogs, OutputFileWindow& window)
{
    if (!files.FileExists(request.path)) {
        return;
    }
    if (fileSystem.FileLength(request.path) == 0) {
        dialogs.MsgBox(
            "File is empty!\r\n\r\n" + request.path, MsgBoxCode::Exclamation, request.title);
        return;
    }
    window.ShowModal(request);
}

std::string FileSizeCaption(FileSystem& fileSystem, const std::string& path)
{
    if (!fileSystem.FileExists(path)) {
        return "File not found";
    }
    return std::to_string(fileSystem.FileLength(path)) + " bytes";
}

PathLabelFit FitPathLabel(std::int32_t windowWidthTwips,
    const std::function<std::int32_t(double points)>& labelWidthTwips)
{
    constexpr std::int32_t kMarginTwips = 240;
    struct Step {
        double points;
        std::int32_t dropTwips;
    };
    constexpr Step kSteps[] = { { 12.0, 120 }, { 10.0, 60 } };
    PathLabelFit fit;
    for (const Step& step : kSteps) {
        if (windowWidthTwips - kMarginTwips >= labelWidthTwips(fit.points)) {
            break;
        }
        fit.points = step.points;
        fit.extraTopTwips += step.dropTwips;
    }
    return fit;
}

} // namespace trawlit
