#pragma once

#include <string>

#include "platform/PosixPlatform.h"

namespace trawlit {

// "-" as the results path: the results go to standard output.
inline constexpr const char* kStandardOutputName = "-";

// The POSIX platform on which the results path "-" opens standard output as it stands:
// neither emptied nor moved, so `>>` appends and earlier output stays.
class StandardOutputPlatform : public PosixPlatform {
public:
    FileHandle Open(const std::string& path, OpenAccess access, PlatformError& error) override;
    EntryKind Examine(const std::string& path) override;
};

} // namespace trawlit
