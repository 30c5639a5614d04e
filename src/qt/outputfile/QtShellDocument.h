#pragma once

#include <cstdint>
#include <string>

#include "ports/ViewerPorts.h"

namespace trawlit {

// Opens a document in the program the desktop registers for its type, without waiting.
// The lowest bit of flags asks for a maximised window (a wish the desktop may not honour).
// Failures are silent.
void ShellDocument(const std::string& document, std::uint8_t flags);

// The desktop's document opener behind the DocumentShell port.
class QtDocumentShell : public DocumentShell {
public:
    void ShellDocument(const std::string& document, std::uint8_t flags) override
    {
        trawlit::ShellDocument(document, flags);
    }
};

} // namespace trawlit
