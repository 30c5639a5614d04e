#pragma once

#include <string>

#include "core/printing/PrintSettings.h"

namespace trawlit {

class SettingsStore;

inline constexpr const char* kLandscapeFlagKey = "PrintConfirmLandscapeFlag";
inline constexpr const char* kPrintFontNameKey = "PrintConfirmFontName";
inline constexpr const char* kPrintFontSizeKey = "PrintConfirmFontSize";

// The window that confirms a print: it shows `settings`, may change the orientation and font
// in them and sets ConfirmResult. Returns when it has closed.
class PrintConfirmWindow {
public:
    virtual ~PrintConfirmWindow() = default;
    virtual void ShowModal(PrintSettings& settings) = 0;
};

// Reads the stored print choices into `settings`, asks the user to confirm printing `path`
// and stores the choices only when confirmed. Returns whether the print was confirmed.
bool PrintConfirm(const std::string& title, const std::string& path, PrintSettings& settings,
    SettingsStore& store, PrintConfirmWindow& window);

} // namespace trawlit
