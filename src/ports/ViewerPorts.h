#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

class Dialogs;
class FileRoutines;
class FileSystem;
class ProgramStarter;

// ShellDocument's flag bit that asks for a maximised window.
inline constexpr std::uint8_t kShellMaximised = 1;

// Opens documents in the program the desktop registers for their type.
class DocumentShell {
public:
    virtual ~DocumentShell() = default;
    // The lowest bit of flags asks for a maximised window. Failures are silent.
    virtual void ShellDocument(const std::string& document, std::uint8_t flags) = 0;
};

// What viewing a file needs from the world around it.
struct ViewerPorts {
    FileRoutines& files;
    FileSystem& fileSystem;
    Dialogs& dialogs;
    ProgramStarter& starter;
    DocumentShell& shell;
};

} // namespace trawlit
