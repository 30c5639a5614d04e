#pragma once

#include <cstdint>
#include <string>

namespace trawlit {

namespace ConfirmResultCode {
inline constexpr std::int16_t Ok = 1;
inline constexpr std::int16_t Closed = 2; // Cancel, Escape, Ctrl+Q or the close box
} // namespace ConfirmResultCode

inline constexpr const char* kDefaultPrintFontName = "Courier New";
inline constexpr float kDefaultPrintFontSize = 10.0F;

// The print choices, shared by the confirmation window and the print command.
struct PrintSettings {
    bool LandscapeFlag = false;
    std::string PrintFontName = kDefaultPrintFontName;
    float PrintFontSize = kDefaultPrintFontSize; // points
    std::string ConfirmTitle;
    std::string ConfirmPathname;
    std::int16_t ConfirmResult = ConfirmResultCode::Closed;
};

// A font size as the shortest decimal text that reads back the same: "10", "8.5".
std::string FontSizeText(float points);

// A stored font size; a text that is not a finite number gives the default size.
float ParseFontSize(const std::string& text);

} // namespace trawlit
