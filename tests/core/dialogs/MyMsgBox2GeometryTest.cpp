#include "core/dialogs/MyMsgBox2Geometry.h"

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

namespace trawlit {
namespace {

// A font of 100 twips a character (bold 120) and 200 twips a line; controls need no more
// than their design sizes unless a test says so.
class FakeMeasure : public MsgBoxMeasure {
public:
    double TextWidth(const std::string& text) override
    {
        std::size_t widest = 0;
        std::size_t start = 0;
        while (true) {
            const std::size_t end = text.find("\r\n", start);
            const std::size_t stop = end == std::string::npos ? text.size() : end;
            widest = std::max(widest, stop - start);
            if (end == std::string::npos)
                break;
            start = end + 2;
        }
        return static_cast<double>(widest) * 100.0 + extraWidth;
    }
    double TextHeight(const std::string& text) override
    {
        std::size_t lines = 1;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at + 2))
            ++lines;
        return static_cast<double>(lines) * 200.0;
    }
    double BoldTextWidth(const std::string& text) override
    {
        return static_cast<double>(text.size()) * 120.0;
    }
    double BoldLineHeight() override { return boldLineHeight; }
    double ButtonWidth(const std::string& caption) override
    {
        const auto found = buttonWidths.find(caption);
        return found == buttonWidths.end() ? 0.0 : found->second;
    }
    double ButtonHeight() override { return buttonHeight; }

    double extraWidth = 0.0; // added to every plain width, to reach odd window widths
    double boldLineHeight = 0.0;
    double buttonHeight = 0.0;
    std::map<std::string, double> buttonWidths;
};

MsgBoxLayoutRequest Request(const std::string& message, const std::string& caption = "T",
    std::vector<std::string> buttons = { "OK" })
{
    MsgBoxLayoutRequest request;
    request.message = message;
    request.caption = caption;
    request.buttonCaptions = std::move(buttons);
    return request;
}

std::vector<std::int32_t> ButtonLefts(const MsgBoxGeometry& g)
{
    std::vector<std::int32_t> lefts;
    for (const TwipsRect& button : g.buttons)
        lefts.push_back(button.left);
    return lefts;
}

TEST(MyMsgBox2GeometryTest, EmptyMessageWithoutIconStillHasATextArea240Wide)
{
    FakeMeasure measure;
    const MsgBoxGeometry g = LayOutMsgBox(Request(""), measure);
    EXPECT_EQ(g.textLeft, 180);
    EXPECT_EQ(g.text1, (TwipsRect { 180, 240, 240, 400 }));
    EXPECT_FALSE(g.textBold.width > 0);
    // " T " is 300 twips: the title's allowance decides the width over 180 + 240 + 240.
    EXPECT_EQ(g.outerWidth, 1020);
}

TEST(MyMsgBox2GeometryTest, WidthFollowsTheWidestOfTextAndTitle)
{
    struct Case {
        std::string message;
        std::string caption;
        std::int32_t outerWidth;
    };
    const Case cases[] = {
        { "A message of 30 characters....", "T", 180 + 3000 + 240 },
        { "Short\r\nA much longer second line", "T", 180 + 2500 + 240 },
        { "Hi", "A title that is longer than the text", 3800 + 720 },
        { "Hi", "", 200 + 720 }, // the two blanks around the title are measured too
    };
    for (const Case& c : cases) {
        FakeMeasure measure;
        EXPECT_EQ(LayOutMsgBox(Request(c.message, c.caption), measure).outerWidth, c.outerWidth)
            << c.message << " / " << c.caption;
    }
}

TEST(MyMsgBox2GeometryTest, AnIconMovesTheTextAndWidensTheWindowByTheIconBox)
{
    FakeMeasure measure;
    MsgBoxLayoutRequest request = Request(std::string(40, 'x'));
    const MsgBoxGeometry plain = LayOutMsgBox(request, measure);
    request.hasIcon = true;
    const MsgBoxGeometry withIcon = LayOutMsgBox(request, measure);

    EXPECT_EQ(withIcon.picture, (TwipsRect { 180, 180, 735, 495 }));
    EXPECT_EQ(withIcon.iconSpace, 975);
    EXPECT_EQ(withIcon.textLeft, 1155);
    EXPECT_EQ(withIcon.textWidth, 4000);
    const std::int32_t textNeeds = withIcon.textLeft + withIcon.textWidth + 240;
    EXPECT_EQ(withIcon.outerWidth, textNeeds + 735);
    EXPECT_EQ(withIcon.outerWidth, plain.outerWidth + 975 + 735);
}

TEST(MyMsgBox2GeometryTest, HeightsLeaveALineBelowTheTextAndRoomForTheButtons)
{
    FakeMeasure measure;
    MsgBoxLayoutRequest request = Request("one\r\ntwo");
    request.frameHeight = 450;
    request.frameWidth = 120;
    const MsgBoxGeometry g = LayOutMsgBox(request, measure);
    EXPECT_EQ(g.textHeight, 600);
    EXPECT_EQ(g.text1.height, 600);
    EXPECT_EQ(g.buttonTop, 930);
    EXPECT_EQ(g.buttons.at(0).top, 930);
    EXPECT_EQ(g.buttons.at(0).height, 360);
    EXPECT_EQ(g.innerHeight, 930 + 360 + 90);
    EXPECT_EQ(g.outerHeight, 450 + 930 + 360 + 90);
    EXPECT_EQ(g.innerWidth, g.outerWidth - 120);
}

TEST(MyMsgBox2GeometryTest, BoldFirstLineSitsAboveTheRest)
{
    FakeMeasure measure;
    MsgBoxLayoutRequest request = Request("Title line\r\nmore\r\nand more");
    request.boldFirstLine = true;
    request.boldText = "Title line";
    const MsgBoxGeometry g = LayOutMsgBox(request, measure);
    EXPECT_EQ(g.boldWidth, 1200);
    EXPECT_EQ(g.textWidth, 1200); // the bold line is wider than any plain line
    EXPECT_EQ(g.textBold, (TwipsRect { 180, 240, 2200, 255 }));
    EXPECT_EQ(g.text1, (TwipsRect { 180, 495, 1200, 800 - 255 }));

    measure.boldLineHeight = 300; // a desktop font taller than the design's box
    const MsgBoxGeometry tall = LayOutMsgBox(request, measure);
    EXPECT_EQ(tall.textBold.height, 300);
    EXPECT_EQ(tall.text1, (TwipsRect { 180, 540, 1200, 500 }));
}

TEST(MyMsgBox2GeometryTest, ButtonRowIsCentredByIntegerHalving)
{
    struct Case {
        std::vector<std::string> buttons;
        std::vector<std::int32_t> lefts;
    };
    // 40 characters and one twip: the window is 4421 wide, an odd width.
    const Case cases[] = {
        { { "OK" }, { 1890 } }, // (640 + 4421) / 2 = 2530 is the right edge
        { { "&Yes", "&No" }, { 1525, 2255 } }, // (1280 + 4421 + 90) / 2 = 2895
        { { "&Yes", "&No", "Cancel" }, { 1160, 1890, 2620 } }, // (1920 + 4421 + 180) / 2
    };
    for (const Case& c : cases) {
        FakeMeasure measure;
        measure.extraWidth = 1;
        const MsgBoxGeometry g
            = LayOutMsgBox(Request(std::string(40, 'x'), "T", c.buttons), measure);
        ASSERT_EQ(g.outerWidth, 4421);
        EXPECT_EQ(ButtonLefts(g), c.lefts) << c.buttons.size() << " buttons";
        for (const TwipsRect& button : g.buttons)
            EXPECT_EQ(button.width, 640);
    }
}

TEST(MyMsgBox2GeometryTest, ThreeButtonsUnderAShortTextStayInsideTheWindow)
{
    FakeMeasure measure;
    const MsgBoxGeometry g = LayOutMsgBox(Request("", "", { "&Yes", "&No", "Cancel" }), measure);
    EXPECT_EQ(g.outerWidth, 3 * 640 + 2 * 90 + 2 * 90);
    EXPECT_EQ(ButtonLefts(g), (std::vector<std::int32_t> { 90, 820, 1550 }));
}

TEST(MyMsgBox2GeometryTest, CaptionsWiderThanTheDesignWidenEveryButton)
{
    FakeMeasure measure;
    measure.buttonWidths["Cancel"] = 900;
    measure.buttonHeight = 420;
    const MsgBoxGeometry g
        = LayOutMsgBox(Request(std::string(40, 'x'), "T", { "OK", "Cancel" }), measure);
    ASSERT_EQ(g.buttons.size(), 2u);
    EXPECT_EQ(g.buttons[0].width, 900);
    EXPECT_EQ(g.buttons[1].width, 900);
    EXPECT_EQ(g.buttons[1].left - g.buttons[0].left, 990);
    EXPECT_EQ(g.buttons[0].height, 420);
    EXPECT_EQ(g.innerHeight, g.buttonTop + 420 + 90);
    const std::int32_t rowMiddle2 = g.buttons[0].left + g.buttons[1].left + 900;
    EXPECT_LE(std::abs(rowMiddle2 - g.outerWidth), 1);
}

TEST(MyMsgBox2GeometryTest, MeasurementsBeyondAnyScreenStayFinite)
{
    FakeMeasure measure;
    measure.extraWidth = 1e300;
    const MsgBoxGeometry g = LayOutMsgBox(Request("x"), measure);
    EXPECT_GT(g.outerWidth, 0);
    EXPECT_GT(g.buttons.at(0).left, 0);
}

TEST(MyMsgBox2GeometryTest, FirstActivationCentresAWindowOffTheScreenOrAtItsCorner)
{
    constexpr std::int32_t kScreenWidth = 19200;
    constexpr std::int32_t kScreenHeight = 14400;
    const TwipsPoint centred { (kScreenWidth - 3001) / 2, (kScreenHeight - 2000) / 2 };
    struct Case {
        TwipsRect window;
        std::optional<TwipsPoint> moveTo;
    };
    const Case cases[] = {
        { { 1500, 1500, 3001, 2000 }, std::nullopt },
        { { 0, 15, 3001, 2000 }, std::nullopt },
        { { 15, 0, 3001, 2000 }, std::nullopt },
        { { 0, 0, 3001, 2000 }, centred },
        { { -15, 1500, 3001, 2000 }, centred },
        { { 1500, -15, 3001, 2000 }, centred },
        { { kScreenWidth - 3001, 1500, 3001, 2000 }, std::nullopt }, // right edge on the border
        { { kScreenWidth - 3000, 1500, 3001, 2000 }, centred },
        { { 1500, kScreenHeight - 2000, 3001, 2000 }, std::nullopt },
        { { 1500, kScreenHeight - 1999, 3001, 2000 }, centred },
    };
    EXPECT_EQ(centred.left, 8099);
    for (const Case& c : cases)
        EXPECT_EQ(FirstActivatePosition(c.window, kScreenWidth, kScreenHeight), c.moveTo)
            << c.window.left << "," << c.window.top;
}

} // namespace
} // namespace trawlit
