#pragma once

#include <string>
#include <vector>

namespace trawlit {

// Starts outside programs. Arguments reach the program exactly as given: nothing is passed
// through a shell, so blanks, quotes, ";" or "$(...)" in an argument are only text.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts `program` (a path, or a name the platform looks up) with `arguments` and returns
    // without waiting for it. Returns false when it could not be started.
    virtual bool StartDetached(
        const std::string& program, const std::vector<std::string>& arguments)
        = 0;
};

} // namespace trawlit
