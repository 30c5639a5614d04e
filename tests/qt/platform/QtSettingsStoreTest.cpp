#include "qt/platform/QtSettingsStore.h"

#include <QSettings>
#include <fstream>

#include <gtest/gtest.h>

#include "fakes/TempFolder.h"
#include "core/settings/Registry.h"

namespace trawlit {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings::setPath(
            QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(temp.Path()));
    }
    fakes::TempFolder temp;
    QtSettingsStore store;
};

TEST_F(QtSettingsStoreTest, KeepsTextsPerApplicationSectionAndKey)
{
    EXPECT_EQ(store.Get("Trawlit", "Startup", "SearchStr1"), "");
    store.Save("Trawlit", "Startup", "SearchStr1", "needle & thread");
    store.Save("Trawlit", "Other", "SearchStr1", "elsewhere");
    QtSettingsStore reopened;
    EXPECT_EQ(reopened.Get("Trawlit", "Startup", "SearchStr1"), "needle & thread");
    EXPECT_EQ(reopened.Get("Trawlit", "Other", "SearchStr1"), "elsewhere");
    EXPECT_EQ(reopened.Get("Trawlit", "Startup", "searchstr1"), ""); // keys keep their case
    EXPECT_TRUE(std::ifstream(temp / "Trawlit/Trawlit.conf").good());
}

TEST_F(QtSettingsStoreTest, BooleansRoundTripThroughTheWrappers)
{
    RegistrySaveBool(store, "TraverseSubfolders", true);
    RegistrySaveBool(store, "CaseSensitive", false);
    EXPECT_EQ(store.Get("Trawlit", "Startup", "TraverseSubfolders"), "True");
    EXPECT_TRUE(RegistryGetBool(store, "TraverseSubfolders", false));
    EXPECT_FALSE(RegistryGetBool(store, "CaseSensitive", true));
}

// A settings file that cannot be written (its folder is a file) is passed over.
TEST_F(QtSettingsStoreTest, UnwritableStoreNeverStopsTheProgram)
{
    temp.Write("Trawlit", "a file where the folder should be");
    store.Save("Trawlit", "Startup", "RootFolder1", "/data");
    EXPECT_EQ(RegistryGetString(store, "RootFolder1", "/home"), "/home");
}

} // namespace
} // namespace trawlit
