#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace trawlit {

class Dialogs;
class FileRoutines;
class FileSystem;

// What a finished run hands over: its closing message, the dialog's title and the results file.
struct OutputFileRequest {
    std::string message;
    std::string title;
    std::string path;
};

// The modal output-file dialog; returns when the user has closed it.
class OutputFileWindow {
public:
    virtual ~OutputFileWindow() = default;
    virtual void ShowModal(const OutputFileRequest& request) = 0;
};

// Nothing for a missing file, "File is empty!" for an empty one, else the dialog.
void ShowOutputFile(const OutputFileRequest& request, FileRoutines& files, FileSystem& fileSystem,
    Dialogs& dialogs, OutputFileWindow& window);

// The size line of the dialog: "512 bytes". A file that went away since the run shows so.
std::string FileSizeCaption(FileSystem& fileSystem, const std::string& path);

inline constexpr double kPathDesignPoints = 13.5;

// Where and how large the path label is drawn: a path wider than the window less a margin
// steps down to 12 points (and lower), then to 10 points (lower again); never smaller.
struct PathLabelFit {
    double points = kPathDesignPoints;
    std::int32_t extraTopTwips = 0;
};
PathLabelFit FitPathLabel(std::int32_t windowWidthTwips,
    const std::function<std::int32_t(double points)>& labelWidthTwips);

} // namespace trawlit
