#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace trawlit {

// Option bits of the program's own message box.
namespace MsgBoxOption {
inline constexpr std::int16_t Topmost = 1;
inline constexpr std::int16_t BoldFirstLine = 2;
inline constexpr std::int16_t Link = 4; // the bold first line opens like a link
inline constexpr std::int16_t FixedPitch = 8;
inline constexpr std::int16_t TitleBarColour = 16; // the bold first line in the title colour
} // namespace MsgBoxOption

// Key codes as the window sees them, modifiers left out: letters and digits are their
// upper-case character codes.
namespace MsgBoxKey {
inline constexpr std::int16_t None = -1;
inline constexpr std::int16_t Enter = 13;
inline constexpr std::int16_t Escape = 27;
inline constexpr std::int16_t Q = 81;
} // namespace MsgBoxKey

// The answer when the window closes without a button.
inline constexpr std::int16_t kMsgBoxClosedAnswer = 2;

// The buttons a code asks for, left to right; only indices 0 to LastButtonIndex are in use.
struct MsgBoxButtonSet {
    std::array<std::string, 3> ButtonCaptions;
    std::array<std::int16_t, 3> ButtonResults {};
    std::array<std::int16_t, 3> ButtonKeys { MsgBoxKey::None, MsgBoxKey::None, MsgBoxKey::None };
    std::int16_t LastButtonIndex = 0;

    int Count() const { return LastButtonIndex + 1; }
};

MsgBoxButtonSet ButtonSetFor(std::int32_t flags);

// Values are the icons' numbers in the message-icon picture list.
enum class MsgBoxIcon : std::int16_t {
    None = 0,
    Critical = 1,
    Question = 2,
    Exclamation = 3,
    Information = 4,
};

MsgBoxIcon IconFor(std::int32_t flags);
// The system's identifier of a message icon; 0 for no icon.
std::int32_t SystemIconId(MsgBoxIcon icon);
// Older systems have no message icons of their own; the window then uses its picture list.
bool UsesOwnIconPictures(std::int32_t majorSystemVersion);

// Index of the button that starts with the focus.
int DefaultButtonIndex(std::int32_t flags, const MsgBoxButtonSet& buttons);

// True when 1-based captionIcon names one of pictureCount window icons.
bool CaptionIconInRange(std::int16_t captionIcon, int pictureCount);

// The message as the window shows it: with the bold-first-line option the first line
// stands apart in `bold`.
struct MsgBoxTexts {
    std::string bold;
    std::string text;
};
MsgBoxTexts SplitMessage(const std::string& message, std::int16_t optionMask);

// The button a key presses, if any. ctrlOnly tells that Ctrl, and no other modifier, is held.
std::optional<int> ButtonIndexForKey(
    const MsgBoxButtonSet& buttons, std::int16_t keyCode, bool ctrlOnly);

} // namespace trawlit
