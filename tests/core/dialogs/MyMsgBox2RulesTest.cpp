#include "core/dialogs/MyMsgBox2Rules.h"

#include <vector>

#include <gtest/gtest.h>

namespace trawlit {
namespace {

struct Button {
    std::string caption;
    std::int16_t result;
    std::int16_t key;

    friend bool operator==(const Button&, const Button&) = default;
};

std::vector<Button> ButtonsOf(std::int32_t flags)
{
    const MsgBoxButtonSet set = ButtonSetFor(flags);
    std::vector<Button> buttons;
    for (int i = 0; i <= set.LastButtonIndex; ++i) {
        const auto index = static_cast<std::size_t>(i);
        buttons.push_back(
            { set.ButtonCaptions[index], set.ButtonResults[index], set.ButtonKeys[index] });
    }
    return buttons;
}

TEST(MyMsgBox2RulesTest, CodesGiveTheirButtons)
{
    const Button ok { "OK", 1, MsgBoxKey::None };
    const Button okByEnter { "OK", 1, 13 };
    const Button cancel { "Cancel", 2, MsgBoxKey::None };
    const Button cancelByEscape { "Cancel", 2, 27 };
    const Button yes { "&Yes", 6, 'Y' };
    const Button no { "&No", 7, 'N' };
    const Button retry { "&Retry", 4, 'R' };
    struct Case {
        std::int32_t flags;
        std::vector<Button> buttons;
    };
    const Case cases[] = {
        { 0, { okByEnter } }, { 1, { ok, cancelByEscape } },
        { 2, { okByEnter } }, // abort, retry, ignore is not offered
        { 3, { yes, no, cancelByEscape } }, { 4, { yes, no } }, { 5, { retry, cancel } },
        { 292, { yes, no } }, { 7, { retry, cancel } }, // 5 is tested before 3
        { 64 + 256, { okByEnter } }, // icon and default bits leave the buttons alone
    };
    for (const Case& c : cases)
        EXPECT_EQ(ButtonsOf(c.flags), c.buttons) << "flags " << c.flags;
}

TEST(MyMsgBox2RulesTest, IconsAndTheirIdentifiers)
{
    struct Case {
        std::int32_t flags;
        MsgBoxIcon icon;
        std::int32_t systemId;
    };
    const Case cases[] = {
        { 0, MsgBoxIcon::None, 0 },
        { 16, MsgBoxIcon::Critical, 32513 },
        { 32, MsgBoxIcon::Question, 32514 },
        { 48, MsgBoxIcon::Exclamation, 32515 },
        { 64, MsgBoxIcon::Information, 32516 },
        { 292, MsgBoxIcon::Question, 32514 },
        { 16 + 64, MsgBoxIcon::Critical, 32513 },
        { 48 + 64, MsgBoxIcon::Exclamation, 32515 },
        { 4 + 256, MsgBoxIcon::None, 0 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IconFor(c.flags), c.icon) << "flags " << c.flags;
        EXPECT_EQ(SystemIconId(IconFor(c.flags)), c.systemId) << "flags " << c.flags;
    }
    EXPECT_EQ(static_cast<int>(MsgBoxIcon::Exclamation), 3); // its number in the picture list
    EXPECT_TRUE(UsesOwnIconPictures(4));
    EXPECT_FALSE(UsesOwnIconPictures(5));
}

TEST(MyMsgBox2RulesTest, DefaultButton)
{
    struct Case {
        std::int32_t flags;
        int index;
    };
    const Case cases[] = {
        { 292, 1 },
        { 4, 0 },
        { 4 + 512, 0 }, // a third default with two buttons falls back to the first
        { 3 + 512, 2 },
        { 3 + 256, 1 },
        { 3 + 768, 2 },
        { 0 + 256, 0 }, // one button
        { 0 + 512, 0 },
        { 5 + 256, 1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultButtonIndex(c.flags, ButtonSetFor(c.flags)), c.index)
            << "flags " << c.flags;
}

TEST(MyMsgBox2RulesTest, CaptionIconMustNameAPicture)
{
    EXPECT_FALSE(CaptionIconInRange(0, 4));
    EXPECT_TRUE(CaptionIconInRange(1, 4));
    EXPECT_TRUE(CaptionIconInRange(4, 4));
    EXPECT_FALSE(CaptionIconInRange(5, 4));
    EXPECT_FALSE(CaptionIconInRange(-1, 4));
    EXPECT_FALSE(CaptionIconInRange(1, 0));
}

TEST(MyMsgBox2RulesTest, MessageSplitsOnlyWithTheBoldOption)
{
    struct Case {
        std::string message;
        std::int16_t options;
        std::string bold;
        std::string text;
    };
    const Case cases[] = {
        { "a\r\nb", 0, "", "a\r\nb" },
        { "a\r\nb", MsgBoxOption::Link, "", "a\r\nb" }, // the link needs the bold line
        { "Head\r\nbody\r\nmore", 2, "Head", "body\r\nmore" },
        { "Head\r\n", 2, "Head", "" },
        { "Only one line", 2, "Only one line", "" },
        { "a\nb", 2, "a\nb", "" }, // a lone line feed does not end the line
        { "\r\nbody", 2, "", "body" }, // all of it in the one-line box would hide "body"
        { "", 2, "", "" },
        { "Head\r\nbody", 2 + 4 + 8 + 16, "Head", "body" },
    };
    for (const Case& c : cases) {
        const MsgBoxTexts texts = SplitMessage(c.message, c.options);
        EXPECT_EQ(texts.bold, c.bold) << c.message;
        EXPECT_EQ(texts.text, c.text) << c.message;
    }
}

TEST(MyMsgBox2RulesTest, KeysPressButtons)
{
    constexpr std::int16_t kY = 'Y', kN = 'N', kR = 'R', kQ = 'Q';
    struct Case {
        std::int32_t flags;
        std::int16_t key;
        bool ctrlOnly;
        std::optional<int> button;
    };
    const Case cases[] = {
        { 292, kY, false, 0 }, { 292, kN, true, 1 }, // Ctrl does not stop a button's key
        { 292, MsgBoxKey::Escape, false, std::nullopt }, { 292, kQ, true, std::nullopt },
        { 292, MsgBoxKey::Enter, false, std::nullopt }, // left to the focused button
        { 0, MsgBoxKey::Enter, false, 0 }, { 0, MsgBoxKey::Escape, false, 0 }, { 0, kQ, true, 0 },
        { 0, kQ, false, std::nullopt }, { 0, kY, false, std::nullopt },
        { 1, MsgBoxKey::Escape, false, 1 }, { 1, kQ, true, std::nullopt },
        { 3, MsgBoxKey::Escape, false, 2 }, { 5, kR, false, 0 },
        { 5, MsgBoxKey::Escape, false, std::nullopt }, // Cancel of 5 has no key
        { 5, MsgBoxKey::None, false, std::nullopt }, // "no key" never matches a button
    };
    for (const Case& c : cases)
        EXPECT_EQ(ButtonIndexForKey(ButtonSetFor(c.flags), c.key, c.ctrlOnly), c.button)
            << "flags " << c.flags << " key " << c.key;
}

} // namespace
} // namespace trawlit
