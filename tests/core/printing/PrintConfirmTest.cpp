#include "core/printing/PrintConfirm.h"

#include <string>

#include <gtest/gtest.h>

#include "PrintFakes.h"
#include "ports/SettingsStore.h"

namespace trawlit {
namespace {

using fakes::ScriptedConfirmWindow;

class PrintConfirmTest : public ::testing::Test {
protected:
    std::string Stored(const char* key) { return store.Get("Trawlit", "Startup", key); }
    void Store(const char* key, const std::string& value)
    {
        store.Save("Trawlit", "Startup", key, value);
    }
    bool Confirm() { return PrintConfirm("Confirm print", "/data/r.out", settings, store, window); }

    InMemorySettingsStore store;
    PrintSettings settings;
    ScriptedConfirmWindow window;
};

TEST_F(PrintConfirmTest, FirstUseShowsPortraitCourierNewTen)
{
    window.result = ConfirmResultCode::Closed;
    EXPECT_FALSE(Confirm());
    ASSERT_EQ(window.shown.size(), 1U);
    const PrintSettings& shown = window.shown[0];
    EXPECT_FALSE(shown.LandscapeFlag);
    EXPECT_EQ(shown.PrintFontName, "Courier New");
    EXPECT_EQ(shown.PrintFontSize, 10.0F);
    EXPECT_EQ(shown.ConfirmTitle, "Confirm print");
    EXPECT_EQ(shown.ConfirmPathname, "/data/r.out");
    EXPECT_EQ(store.SaveCount(), 0);
}

TEST_F(PrintConfirmTest, ReadsTheStoredChoices)
{
    struct Case {
        std::string landscape;
        std::string size;
        bool expectedLandscape;
        float expectedSize;
    };
    for (const Case& c : { Case { "true", "8.5", true, 8.5F }, Case { "TRUE", "12", true, 12.0F },
             Case { "True", " 9 ", true, 9.0F }, Case { "-1", "abc", false, 10.0F },
             Case { "yes", "", false, 10.0F }, Case { "False", "inf", false, 10.0F } }) {
        Store(kLandscapeFlagKey, c.landscape);
        Store(kPrintFontSizeKey, c.size);
        window.shown.clear();
        Confirm();
        EXPECT_EQ(window.shown.at(0).LandscapeFlag, c.expectedLandscape) << c.landscape;
        EXPECT_EQ(window.shown.at(0).PrintFontSize, c.expectedSize) << c.size;
    }
}

TEST_F(PrintConfirmTest, OkStoresTheChoices)
{
    window.change = [](PrintSettings& s) {
        s.LandscapeFlag = true;
        s.PrintFontName = "DejaVu Sans Mono";
        s.PrintFontSize = 8.5F;
    };
    EXPECT_TRUE(Confirm());
    EXPECT_EQ(Stored(kLandscapeFlagKey), "True");
    EXPECT_EQ(Stored(kPrintFontNameKey), "DejaVu Sans Mono");
    EXPECT_EQ(Stored(kPrintFontSizeKey), "8.5");
}

TEST_F(PrintConfirmTest, OkWithoutChangesWritesTheValuesBack)
{
    EXPECT_TRUE(Confirm());
    EXPECT_EQ(Stored(kLandscapeFlagKey), "False");
    EXPECT_EQ(Stored(kPrintFontNameKey), "Courier New");
    EXPECT_EQ(Stored(kPrintFontSizeKey), "10");
}

TEST_F(PrintConfirmTest, ACancelledChoiceIsForgottenAtTheNextConfirmation)
{
    Store(kPrintFontNameKey, "Stored Mono");
    window.result = ConfirmResultCode::Closed;
    window.change = [](PrintSettings& s) {
        s.LandscapeFlag = true;
        s.PrintFontName = "Chosen Then Cancelled";
    };
    const int savesBefore = store.SaveCount();
    EXPECT_FALSE(Confirm());
    EXPECT_EQ(store.SaveCount(), savesBefore);

    window.change = nullptr;
    Confirm();
    ASSERT_EQ(window.shown.size(), 2U);
    EXPECT_FALSE(window.shown[1].LandscapeFlag);
    EXPECT_EQ(window.shown[1].PrintFontName, "Stored Mono");
}

TEST_F(PrintConfirmTest, AWindowThatNeverAnswersIsNoConfirmation)
{
    // The last confirmation's OK must not carry over.
    EXPECT_TRUE(Confirm());
    class SilentWindow : public PrintConfirmWindow {
    public:
        void ShowModal(PrintSettings&) override { }
    } silent;
    EXPECT_FALSE(PrintConfirm("Confirm print", "/data/r.out", settings, store, silent));
}

TEST(FontSizeTextTest, ShortestDecimal)
{
    EXPECT_EQ(FontSizeText(10.0F), "10");
    EXPECT_EQ(FontSizeText(8.5F), "8.5");
    EXPECT_EQ(FontSizeText(10.25F), "10.25");
    EXPECT_EQ(ParseFontSize(FontSizeText(7.1F)), 7.1F);
}

} // namespace
} // namespace trawlit
