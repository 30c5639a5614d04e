#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

// What the path dialog hands to the platform's file dialog.
struct FileDialogRequest {
    std::int16_t action = 2; // 1 open a file, 2 save a file
    std::string title;
    std::string filter; // description|pattern pairs
    std::int16_t filterIndex = 1;
    std::int32_t flags = 0;
    std::string fileName;
    std::string initialFolder; // empty: the dialog's own choice
};

struct FileDialogAnswer {
    bool confirmed = false;
    bool invalidFileName = false; // the proposed name could not be shown
    std::string filePathname;
    std::int16_t filterIndex = 1;
    std::int32_t flags = 0;
};

// The platform's modal file dialog. The Qt layer shows its own QFileDialog.
class FileDialogPort {
public:
    virtual ~FileDialogPort() = default;
    virtual FileDialogAnswer Show(const FileDialogRequest& request) = 0;
};

} // namespace trawlit
