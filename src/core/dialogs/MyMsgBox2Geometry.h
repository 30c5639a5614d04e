#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trawlit {

// Text measurements in twips, in the fonts the message box shows its texts in.
class MsgBoxMeasure {
public:
    virtual ~MsgBoxMeasure() = default;
    // Width of the widest line of text (lines end at CR LF), in the window's font.
    virtual double TextWidth(const std::string& text) = 0;
    // Height of all lines of text, in the window's font.
    virtual double TextHeight(const std::string& text) = 0;
    // Width of one line in the bold font.
    virtual double BoldTextWidth(const std::string& text) = 0;
    // Height the one-line bold box needs to show its text uncut.
    virtual double BoldLineHeight() = 0;
    // Narrowest width and lowest height of a button that shows caption uncut.
    virtual double ButtonWidth(const std::string& caption) = 0;
    virtual double ButtonHeight() = 0;
};

struct TwipsRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct TwipsPoint {
    std::int32_t left = 0;
    std::int32_t top = 0;

    friend bool operator==(const TwipsPoint&, const TwipsPoint&) = default;
};

struct MsgBoxLayoutRequest {
    std::string message; // MsgStr, lines separated by CR LF
    std::string caption; // the window title
    std::string boldText; // the bold first line; only with boldFirstLine
    bool boldFirstLine = false;
    bool hasIcon = false;
    std::vector<std::string> buttonCaptions; // left to right, one to three
    std::int32_t frameWidth = 0; // outer minus inner size of the window
    std::int32_t frameHeight = 0;
};

// Where everything of the message box goes, in twips. Controls are placed in the window's
// inner area; the outer size includes the frame.
struct MsgBoxGeometry {
    std::int32_t iconSpace = 0;
    TwipsRect picture; // the icon box; empty without an icon
    std::int32_t textLeft = 0;
    std::int32_t textWidth = 0;
    std::int32_t textHeight = 0;
    std::int32_t boldWidth = 0;
    TwipsRect textBold; // empty unless the first line is bold
    TwipsRect text1;
    std::int32_t buttonTop = 0;
    std::vector<TwipsRect> buttons; // left to right
    std::int32_t outerWidth = 0;
    std::int32_t outerHeight = 0;
    std::int32_t innerWidth = 0;
    std::int32_t innerHeight = 0;
};

inline constexpr std::int32_t kTwipsPerPixel = 15;

// Sizes the window to its texts and centres its row of buttons.
MsgBoxGeometry LayOutMsgBox(const MsgBoxLayoutRequest& request, MsgBoxMeasure& measure);

// Where the window moves when it first shows: centred on the usable screen when it stands
// partly off it or exactly at its top-left corner; nothing when it may stay.
std::optional<TwipsPoint> FirstActivatePosition(
    const TwipsRect& window, std::int32_t screenWidth, std::int32_t screenHeight);

} // namespace trawlit
