#include "core/run/RunFrame.h"

#include "ports/MainWindowPort.h"
#include "core/search/SearchRun.h"
#include "core/text/TextHelpers.h"

namespace trawlit {

std::optional<std::int16_t> CreateResultsFile(
    RunPorts ports, const std::string& path, std::int16_t openType)
{
    std::int16_t fileNumber = 0;
    PlatformError error = ports.files.TryOpenFile(path, fileNumber, openType, -1);
    if (error) {
        ports.files.ReportOpenError(error, path);
        return std::nullopt;
    }
    return fileNumber;
}

void ReturnToIdle(MainWindowPort& window)
{
    window.HideShowCounts(false);
    window.ShowStuff();
    window.EnablePanelInput(true);
}

std::string FilesSearchedMessage(bool aborted, std::int64_t totalFileCount)
{
    std::string message = aborted ? "PROCESS WAS ABORTED\r\n\r\n" : "";
    message += PLURAL(static_cast<double>(totalFileCount), "file", PluralFlags::NoLeadingBlank)
        + " searched.\r\n\r\n";
    return message;
}

} // namespace trawlit
