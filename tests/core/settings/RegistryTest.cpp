#include "core/settings/Registry.h"

#include <optional>

#include <gtest/gtest.h>

#include "ports/SettingsStore.h"

namespace trawlit {
namespace {

constexpr const char* kKey = "TraverseSubfolders";

std::string Stored(InMemorySettingsStore& store, const std::string& key = kKey)
{
    return store.Get(kSettingsApplication, kSettingsSection, key);
}

// A store holding `stored` under kKey (nothing when absent), its save count then reset by
// the caller's baseline.
InMemorySettingsStore StoreWith(const std::optional<std::string>& stored)
{
    InMemorySettingsStore store;
    if (stored)
        store.Save(kSettingsApplication, kSettingsSection, kKey, *stored);
    return store;
}

struct GetBoolCase {
    std::optional<std::string> stored;
    bool defaultValue;
    bool expected;
};

TEST(RegistryTest, GetBoolReadsOnlyTrueIgnoringCase)
{
    const GetBoolCase cases[] = {
        { std::nullopt, true, true },
        { std::nullopt, false, false },
        { "", true, true },
        { "True", false, true },
        { "TRUE", false, true },
        { "true", false, true },
        { "yes", true, false },
        { "False", true, false },
        { "TRUEx", true, false },
        { " TRUE", true, false },
    };
    for (const auto& c : cases) {
        auto store = StoreWith(c.stored);
        EXPECT_EQ(RegistryGetBool(store, kKey, c.defaultValue), c.expected)
            << "stored '" << c.stored.value_or("<none>") << "' default " << c.defaultValue;
    }
}

struct SaveBoolCase {
    std::optional<std::string> stored;
    bool value;
    std::string expectedStored;
    int expectedSaves;
};

TEST(RegistryTest, SaveBoolWritesOnlyWhenTheMeaningChanges)
{
    const SaveBoolCase cases[] = {
        { std::nullopt, true, "True", 1 },
        { std::nullopt, false, "False", 1 },
        { "yes", false, "yes", 0 },
        { "yes", true, "True", 1 },
        { "true", true, "true", 0 },
        { "TRUE", true, "TRUE", 0 },
        { "True", false, "False", 1 },
        { "False", false, "False", 0 },
    };
    for (const auto& c : cases) {
        auto store = StoreWith(c.stored);
        const int before = store.SaveCount();
        RegistrySaveBool(store, kKey, c.value);
        EXPECT_EQ(Stored(store), c.expectedStored) << c.stored.value_or("<none>") << c.value;
        EXPECT_EQ(store.SaveCount() - before, c.expectedSaves)
            << c.stored.value_or("<none>") << c.value;
    }
}

struct SaveStringCase {
    std::optional<std::string> stored;
    std::string value;
    std::string expectedStored;
    int expectedSaves;
};

TEST(RegistryTest, SaveStringWritesOnlyWhenTheTextDiffersExactly)
{
    const SaveStringCase cases[] = {
        { std::nullopt, "", "", 0 },
        { std::nullopt, "abc", "abc", 1 },
        { "ABC", "abc", "abc", 1 },
        { "abc", "abc", "abc", 0 },
        { "abc", "", "", 1 },
    };
    for (const auto& c : cases) {
        auto store = StoreWith(c.stored);
        const int before = store.SaveCount();
        RegistrySaveString(store, kKey, c.value);
        EXPECT_EQ(Stored(store), c.expectedStored) << c.stored.value_or("<none>");
        EXPECT_EQ(store.SaveCount() - before, c.expectedSaves) << c.stored.value_or("<none>");
    }
}

TEST(RegistryTest, ValuesLiveUnderTheProgramsApplicationAndSection)
{
    InMemorySettingsStore store;
    RegistrySaveString(store, "SearchStr1", "needle");
    EXPECT_EQ(store.Get("Trawlit", "Startup", "SearchStr1"), "needle");
    EXPECT_EQ(RegistryGetString(store, "SearchStr2", "*.*"), "*.*");
}

} // namespace
} // namespace trawlit
