#pragma once

#include "ports/ProgramStarter.h"

namespace trawlit {

// Starts programs with QProcess, detached and never through a shell. The program word is
// looked up as the viewers need it: the exact name on PATH; for the default viewer names, the
// text editor the desktop chose for plain text, then the known editors; then the name in any
// letter case (see ResolveViewerProgram).
class QtProgramStarter : public ProgramStarter {
public:
    bool StartDetached(
        const std::string& program, const std::vector<std::string>& arguments) override;
};

} // namespace trawlit
