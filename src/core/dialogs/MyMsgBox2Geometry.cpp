#include "core/dialogs/MyMsgBox2Geometry.h"

#include <algorithm>
#include <cmath>

namespace trawlit {

namespace {

// Design lengths of the window, in twips.
constexpr std::int32_t kIconBoxLeft = 180;
constexpr std::int32_t kIconBoxTop = 180;
constexpr std::int32_t kIconBoxWidth = 735;
constexpr std::int32_t kIconBoxHeight = 495;
constexpr std::int32_t kIconToText = 240;
constexpr std::int32_t kTextIndent = 180;
constexpr std::int32_t kNarrowestText = 240;
constexpr std::int32_t kRightMargin = 240;
constexpr std::int32_t kTitleAllowance = 720; // the title bar's buttons and margins
constexpr std::int32_t kTextTop = 240;
constexpr std::int32_t kBoldBoxHeight = 255;
constexpr std::int32_t kBoldBoxSlack = 1000;
constexpr std::int32_t kTextToButtons = 330;
constexpr std::int32_t kButtonWidth = 640;
constexpr std::int32_t kButtonHeight = 360;
constexpr std::int32_t kButtonGap = 90;
constexpr std::int32_t kBottomMargin = 90;

// Longer than any screen; keeps sums of a few lengths inside 32 bits whatever is measured.
constexpr double kLongestLength = 100'000'000.0;

std::int32_t Twips(double length)
{
    if (!(length > 0.0))
        return 0;
    return static_cast<std::int32_t>(std::lround(std::min(length, kLongestLength)));
}

std::int32_t ButtonWidthFor(const MsgBoxLayoutRequest& request, MsgBoxMeasure& measure)
{
    std::int32_t width = kButtonWidth;
    for (const std::string& caption : request.buttonCaptions)
        width = std::max(width, Twips(measure.ButtonWidth(caption)));
    return width;
}

std::int32_t ButtonRowWidth(int count, std::int32_t buttonWidth)
{
    return count * buttonWidth + (count - 1) * kButtonGap;
}

void PlaceTexts(MsgBoxGeometry& g, const MsgBoxLayoutRequest& request, MsgBoxMeasure& measure)
{
    if (!request.boldFirstLine) {
        g.text1 = { g.textLeft, kTextTop, g.textWidth, g.textHeight };
        return;
    }
    const std::int32_t boldHeight = std::max(kBoldBoxHeight, Twips(measure.BoldLineHeight()));
    g.textBold = { g.textLeft, kTextTop, g.boldWidth + kBoldBoxSlack, boldHeight };
    g.text1 = { g.textLeft, kTextTop + boldHeight, g.textWidth,
        std::max(0, g.textHeight - boldHeight) };
}

void PlaceButtons(MsgBoxGeometry& g, const MsgBoxLayoutRequest& request, MsgBoxMeasure& measure,
    std::int32_t buttonWidth)
{
    const int count = static_cast<int>(request.buttonCaptions.size());
    const std::int32_t height = std::max(kButtonHeight, Twips(measure.ButtonHeight()));
    // The integer halving keeps the row where the design put it, to the twip.
    const std::int32_t lastRight = (ButtonRowWidth(count, buttonWidth) + g.outerWidth) / 2;
    for (int i = 0; i < count; ++i) {
        const std::int32_t right = lastRight - (count - 1 - i) * (buttonWidth + kButtonGap);
        g.buttons.push_back({ right - buttonWidth, g.buttonTop, buttonWidth, height });
    }
}

} // namespace

MsgBoxGeometry LayOutMsgBox(const MsgBoxLayoutRequest& request, MsgBoxMeasure& measure)
{
    MsgBoxGeometry g;
    if (request.hasIcon) {
        g.picture = { kIconBoxLeft, kIconBoxTop, kIconBoxWidth, kIconBoxHeight };
        g.iconSpace = kIconBoxWidth + kIconToText;
    }
    g.textLeft = g.iconSpace + kTextIndent;
    g.textWidth = std::max(Twips(measure.TextWidth(request.message)), kNarrowestText - g.iconSpace);
    if (request.boldFirstLine) {
        g.boldWidth = Twips(measure.BoldTextWidth(request.boldText));
        g.textWidth = std::max(g.textWidth, g.boldWidth);
    }
    // One line more than the message holds: room below the last line.
    g.textHeight = Twips(measure.TextHeight(request.message + "\r\n."));

    std::int32_t width = g.textLeft + g.textWidth + kRightMargin;
    width
        = std::max(width, Twips(measure.TextWidth(" " + request.caption + " ") + kTitleAllowance));
    if (request.hasIcon)
        width += kIconBoxWidth;
    // Three buttons under a short text and title would otherwise stick out of both sides.
    const std::int32_t buttonWidth = ButtonWidthFor(request, measure);
    const int count = static_cast<int>(request.buttonCaptions.size());
    width = std::max(width, ButtonRowWidth(count, buttonWidth) + 2 * kButtonGap);

    g.buttonTop = g.textHeight + kTextToButtons;
    g.outerWidth = width;
    PlaceTexts(g, request, measure);
    PlaceButtons(g, request, measure, buttonWidth);
    const std::int32_t buttonHeight = g.buttons.empty() ? kButtonHeight : g.buttons[0].height;
    g.innerHeight = g.buttonTop + buttonHeight + kBottomMargin;
    g.outerHeight = request.frameHeight + g.innerHeight;
    g.innerWidth = std::max(0, g.outerWidth - request.frameWidth);
    return g;
}

std::optional<TwipsPoint> FirstActivatePosition(
    const TwipsRect& window, std::int32_t screenWidth, std::int32_t screenHeight)
{
    const bool offScreen = window.left < 0 || window.top < 0
        || window.left + window.width > screenWidth || window.top + window.height > screenHeight;
    const bool atTopLeft = window.left == 0 && window.top == 0;
    if (!offScreen && !atTopLeft)
        return std::nullopt;
    return TwipsPoint { (screenWidth - window.width) / 2, (screenHeight - window.height) / 2 };
}

} // namespace trawlit
