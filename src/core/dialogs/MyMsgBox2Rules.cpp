#include "core/dialogs/MyMsgBox2Rules.h"

namespace trawlit {

namespace {

struct ButtonDesign {
    const char* caption;
    std::int16_t result;
    std::int16_t key;
};

constexpr ButtonDesign kOk { "OK", 1, MsgBoxKey::None };
constexpr ButtonDesign kOkByEnter { "OK", 1, MsgBoxKey::Enter };
constexpr ButtonDesign kCancel { "Cancel", 2, MsgBoxKey::None };
constexpr ButtonDesign kCancelByEscape { "Cancel", 2, MsgBoxKey::Escape };
constexpr ButtonDesign kRetry { "&Retry", 4, 'R' };
constexpr ButtonDesign kYes { "&Yes", 6, 'Y' };
constexpr ButtonDesign kNo { "&No", 7, 'N' };

bool AllBits(std::int32_t flags, std::int32_t bits)
{
    return (flags & bits) == bits;
}

MsgBoxButtonSet MakeSet(std::initializer_list<ButtonDesign> buttons)
{
    MsgBoxButtonSet set;
    int index = 0;
    for (const ButtonDesign& button : buttons) {
        const auto i = static_cast<std::size_t>(index);
        set.ButtonCaptions[i] = button.caption;
        set.ButtonResults[i] = button.result;
        set.ButtonKeys[i] = button.key;
        set.LastButtonIndex = static_cast<std::int16_t>(index);
        ++index;
    }
    return set;
}

} // namespace

MsgBoxButtonSet ButtonSetFor(std::int32_t flags)
{
    // Order matters: 5 also has bit 4 set, 3 also has bit 1 set.
    if (AllBits(flags, 5))
        return MakeSet({ kRetry, kCancel });
    if (AllBits(flags, 4))
        return MakeSet({ kYes, kNo });
    if (AllBits(flags, 3))
        return MakeSet({ kYes, kNo, kCancelByEscape });
    if (AllBits(flags, 1))
        return MakeSet({ kOk, kCancelByEscape });
    return MakeSet({ kOkByEnter });
}

MsgBoxIcon IconFor(std::int32_t flags)
{
    if (AllBits(flags, 48))
        return MsgBoxIcon::Exclamation;
    if (AllBits(flags, 16))
        return MsgBoxIcon::Critical;
    if (AllBits(flags, 32))
        return MsgBoxIcon::Question;
    if (AllBits(flags, 64))
        return MsgBoxIcon::Information;
    return MsgBoxIcon::None;
}

std::int32_t SystemIconId(MsgBoxIcon icon)
{
    switch (icon) {
    case MsgBoxIcon::Critical:
        return 32513;
    case MsgBoxIcon::Question:
        return 32514;
    case MsgBoxIcon::Exclamation:
        return 32515;
    case MsgBoxIcon::Information:
        return 32516;
    case MsgBoxIcon::None:
        break;
    }
    return 0;
}

bool UsesOwnIconPictures(std::int32_t majorSystemVersion)
{
    return majorSystemVersion < 5;
}

int DefaultButtonIndex(std::int32_t flags, const MsgBoxButtonSet& buttons)
{
    if (AllBits(flags, 512) && buttons.Count() == 3)
        return 2;
    if (AllBits(flags, 256) && buttons.Count() >= 2)
        return 1;
    return 0;
}

bool CaptionIconInRange(std::int16_t captionIcon, int pictureCount)
{
    return captionIcon >= 1 && captionIcon <= pictureCount;
}

MsgBoxTexts SplitMessage(const std::string& message, std::int16_t optionMask)
{
    if ((optionMask & MsgBoxOption::BoldFirstLine) == 0)
        return { "", message };
    const std::size_t lineEnd = message.find("\r\n");
    if (lineEnd == std::string::npos)
        return { message, "" };
    // A message that opens with a line break gets an empty bold line: putting all of it in
    // the one-line bold box would hide every line after the first.
    return { message.substr(0, lineEnd), message.substr(lineEnd + 2) };
}

std::optional<int> ButtonIndexForKey(
    const MsgBoxButtonSet& buttons, std::int16_t keyCode, bool ctrlOnly)
{
    for (int i = 0; i <= buttons.LastButtonIndex; ++i) {
        const std::int16_t key = buttons.ButtonKeys[static_cast<std::size_t>(i)];
        if (key != MsgBoxKey::None && key == keyCode)
            return i;
    }
    const bool closingKey = keyCode == MsgBoxKey::Escape || (keyCode == MsgBoxKey::Q && ctrlOnly);
    if (closingKey && buttons.Count() == 1)
        return 0;
    return std::nullopt;
}

} // namespace trawlit
