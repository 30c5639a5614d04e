#include "core/history/clsHistory.h"

#include <initializer_list>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "ports/SettingsStore.h"

namespace trawlit {
namespace {

std::vector<std::string> Entries(const clsHistory& history)
{
    std::vector<std::string> entries;
    for (std::int16_t i = 1; i <= history.NHistory(); ++i)
        entries.push_back(history.ItemText(i));
    return entries;
}

clsHistory HistoryOf(std::int16_t capacity, std::initializer_list<std::string> added)
{
    clsHistory history;
    history.SetMaxHistory(capacity);
    for (const auto& item : added)
        history.add(item, "");
    return history;
}

std::string Stored(InMemorySettingsStore& store, const std::string& key)
{
    return store.Get(kSettingsApplication, kSettingsSection, key);
}

void Store(InMemorySettingsStore& store, const std::string& key, const std::string& value)
{
    store.Save(kSettingsApplication, kSettingsSection, key, value);
}

class FakeCombo : public ComboBoxView {
public:
    void Clear() override { items.clear(); }
    void AddItem(const std::string& text, int itemData) override
    {
        items.emplace_back(text, itemData);
    }
    void SetListIndex(int index) override { listIndex = index; }

    std::vector<std::pair<std::string, int>> items;
    int listIndex = -2;
};

class FakeMenu : public HistoryMenuView {
public:
    struct Entry {
        std::string caption;
        bool visible = false;
    };
    void SetEntry(int index, const std::string& caption, bool visible) override
    {
        entries.resize(std::max(entries.size(), static_cast<std::size_t>(index) + 1));
        entries[static_cast<std::size_t>(index)] = { caption, visible };
    }
    void SetSeparatorVisible(bool visible) override { separatorVisible = visible; }

    std::vector<Entry> entries;
    bool separatorVisible = false;
};

struct AddCase {
    const char* name;
    std::int16_t capacity;
    std::vector<std::string> added;
    std::vector<std::string> expected;
};

TEST(clsHistoryTest, AddKeepsTheMostRecentFirst)
{
    const AddCase cases[] = {
        { "three distinct", 6, { "A", "B", "C" }, { "C", "B", "A" } },
        { "match moves up in its new case", 6, { "A", "B", "C", "b" }, { "b", "C", "A" } },
        { "entry 1 keeps its case", 6, { "A", "B", "C", "b", "B" }, { "b", "C", "A" } },
        { "entries past the match stay", 6, { "A", "B", "C", "D", "E", "d" },
            { "d", "E", "C", "B", "A" } },
        { "oldest is dropped when full", 6, { "A", "B", "C", "D", "E", "F", "G" },
            { "G", "F", "E", "D", "C", "B" } },
        { "last slot matched when full", 3, { "A", "B", "C", "a" }, { "a", "C", "B" } },
        { "empty text is an entry", 6, { "A", "" }, { "", "A" } },
        { "case folding is ASCII only", 6, { "\xC3\xA9", "\xC3\x89" }, { "\xC3\x89", "\xC3\xA9" } },
        { "capacity 1", 1, { "A", "B", "b" }, { "B" } },
        { "capacity 0 keeps nothing", 0, { "A", "B" }, {} },
    };
    for (const auto& c : cases) {
        clsHistory history;
        history.SetMaxHistory(c.capacity);
        for (const auto& item : c.added)
            history.add(item, "");
        EXPECT_EQ(Entries(history), c.expected) << c.name;
    }
}

TEST(clsHistoryTest, AddCarriesDescriptionsWithTheirEntries)
{
    clsHistory history;
    history.add("a.txt", "first");
    history.add("b.txt", "second");
    history.add("c.txt", "third");
    history.add("A.TXT", "again");
    EXPECT_EQ(Entries(history), (std::vector<std::string> { "A.TXT", "c.txt", "b.txt" }));
    EXPECT_EQ(history.ItemDescription(1), "again");
    EXPECT_EQ(history.ItemDescription(2), "third");
    EXPECT_EQ(history.ItemDescription(3), "second");

    history.add("a.txt", "renamed");
    EXPECT_EQ(history.ItemText(1), "A.TXT");
    EXPECT_EQ(history.ItemDescription(1), "renamed");
}

TEST(clsHistoryTest, AddTakesTheLastOfSeveralMatches)
{
    InMemorySettingsStore store;
    Store(store, "SearchStr1", "x");
    Store(store, "SearchStr2", "y");
    Store(store, "SearchStr3", "X");
    clsHistory history;
    history.SetRegistryKey("SearchStr");
    history.RegistryRead(store, "");
    history.add("x", "");
    EXPECT_EQ(Entries(history), (std::vector<std::string> { "x", "x", "y" }));
}

struct IndexCase {
    std::int16_t index;
    std::string expected;
};

TEST(clsHistoryTest, ItemTextAnswersEveryIndex)
{
    const auto history = HistoryOf(6, { "c", "b", "a" });
    const IndexCase cases[] = {
        { 1, "a" },
        { 3, "c" },
        { 4, "" },
        { 6, "" },
        { 7, "*** index value out of range: 7 ***" },
        { 0, "*** index value out of range: 0 ***" },
        { -1, "*** index value out of range: -1 ***" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(history.ItemText(c.index), c.expected) << c.index;
        if (c.index >= 1 && c.index <= 6)
            EXPECT_EQ(history.ItemDescription(c.index), "") << c.index;
        else
            EXPECT_EQ(history.ItemDescription(c.index), c.expected) << c.index;
    }
}

TEST(clsHistoryTest, LoweringTheCapacityKeepsTheMostRecent)
{
    auto history = HistoryOf(20, { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" });
    history.SetMaxHistory(6);
    history.SetMaxHistory(-1);
    EXPECT_EQ(history.MaxHistory(), 6);
    EXPECT_EQ(history.NHistory(), 6);
    EXPECT_EQ(Entries(history), (std::vector<std::string> { "10", "9", "8", "7", "6", "5" }));
    history.SetMaxHistory(8);
    EXPECT_EQ(history.NHistory(), 6);
    EXPECT_EQ(history.ItemText(7), "");
    history.SetMaxHistory(0);
    EXPECT_EQ(history.NHistory(), 0);
}

TEST(clsHistoryTest, LargestCapacityDoesNotWrapTheSlotCounter)
{
    InMemorySettingsStore store;
    auto history = HistoryOf(INT16_MAX, { "a", "b" });
    history.SetRegistryKey("Big");
    history.RegistryWrite(store);
    history.RegistryRead(store, "");
    FakeMenu menu;
    history.UpdateMenu(menu);
    EXPECT_EQ(Entries(history), (std::vector<std::string> { "b", "a" }));
    EXPECT_EQ(menu.entries.size(), static_cast<std::size_t>(INT16_MAX) + 1);
}

struct ReadCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> stored;
    std::string itemOneDefault;
    std::vector<std::string> expected;
};

TEST(clsHistoryTest, RegistryReadClosesUpEmptyKeys)
{
    const ReadCase cases[] = {
        { "first start takes the default", {}, "/home/u", { "/home/u" } },
        { "first start without default", {}, "", {} },
        { "gaps close up", { { "RootFolder1", "/a" }, { "RootFolder3", "/c" } }, "/home/u",
            { "/a", "/c" } },
        { "default only for key 1", { { "RootFolder2", "/b" } }, "/home/u", { "/home/u", "/b" } },
        { "keys past the capacity are ignored",
            { { "RootFolder6", "/f" }, { "RootFolder7", "/g" } }, "", { "/f" } },
    };
    for (const auto& c : cases) {
        InMemorySettingsStore store;
        for (const auto& [key, value] : c.stored)
            Store(store, key, value);
        clsHistory history;
        history.SetRegistryKey("RootFolder");
        history.RegistryRead(store, c.itemOneDefault);
        EXPECT_EQ(Entries(history), c.expected) << c.name;
    }
}

TEST(clsHistoryTest, DescriptionsOfPathsRoundTripThroughTheStore)
{
    InMemorySettingsStore store;
    Store(store, "DocD2", "stale");
    clsHistory history;
    history.SetRegistryKey("Doc");
    history.SetDataType(1);
    history.add("/d/x.txt", "The X");
    history.RegistryWrite(store);
    EXPECT_EQ(Stored(store, "DocD2"), "");

    clsHistory reread;
    reread.SetRegistryKey("Doc");
    reread.RegistryRead(store, "");
    EXPECT_EQ(reread.ItemDescription(1), "");
    reread.SetDataType(1);
    reread.RegistryRead(store, "");
    EXPECT_EQ(reread.ItemText(1), "/d/x.txt");
    EXPECT_EQ(reread.ItemDescription(1), "The X");
}

TEST(clsHistoryTest, RegistryWriteClearsDroppedEntriesAndSkipsUnchangedOnes)
{
    InMemorySettingsStore store;
    for (int i = 1; i <= 5; ++i)
        Store(store, "FileTemplate" + std::to_string(i), "*." + std::to_string(i));
    clsHistory history;
    history.SetRegistryKey("FileTemplate");
    history.RegistryRead(store, "*.*");

    int before = store.SaveCount();
    history.RegistryWrite(store);
    EXPECT_EQ(store.SaveCount(), before);

    history.DeleteByIndex(5);
    history.DeleteByIndex(1);
    before = store.SaveCount();
    history.RegistryWrite(store);
    const std::vector<std::string> expected = { "*.2", "*.3", "*.4", "", "", "" };
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(Stored(store, "FileTemplate" + std::to_string(i)),
            expected[static_cast<std::size_t>(i - 1)])
            << i;
    EXPECT_EQ(store.SaveCount() - before, 5); // keys 1 to 5; key 6 was empty already

    clsHistory reread;
    reread.SetRegistryKey("FileTemplate");
    reread.RegistryRead(store, "*.*");
    EXPECT_EQ(Entries(reread), (std::vector<std::string> { "*.2", "*.3", "*.4" }));
}

TEST(clsHistoryTest, EmptyEntryVanishesAtTheNextStart)
{
    InMemorySettingsStore store;
    auto history = HistoryOf(6, { "a", "" });
    history.SetRegistryKey("SearchStr");
    history.RegistryWrite(store);
    clsHistory reread;
    reread.SetRegistryKey("SearchStr");
    reread.RegistryRead(store, "");
    EXPECT_EQ(Entries(reread), (std::vector<std::string> { "a" }));
}

TEST(clsHistoryTest, ViewsOfAnEmptyListShowNothing)
{
    FakeCombo combo;
    combo.items = { { "old", 9 } };
    FakeMenu menu;
    menu.separatorVisible = true;
    HistoryOf(3, {}).ComboBoxRefresh(combo);
    HistoryOf(3, {}).UpdateMenu(menu);
    EXPECT_TRUE(combo.items.empty());
    EXPECT_EQ(combo.listIndex, -1);
    ASSERT_EQ(menu.entries.size(), 4u);
    EXPECT_FALSE(menu.entries[3].visible);
    EXPECT_FALSE(menu.separatorVisible);
}

TEST(clsHistoryTest, ComboBoxRefreshShowsEntriesInOrder)
{
    FakeCombo combo;
    HistoryOf(6, { "a", "b" }).ComboBoxRefresh(combo);
    const std::vector<std::pair<std::string, int>> expected = { { "b", 1 }, { "a", 2 } };
    EXPECT_EQ(combo.items, expected);
    EXPECT_EQ(combo.listIndex, 0);
}

TEST(clsHistoryTest, PathsAreShownByDescriptionAndBaseName)
{
    clsHistory history;
    history.SetDataType(1);
    history.add("/docs/notes.old.txt", "Old notes");
    history.add("/docs/R&D.txt", "Lab & shop");

    std::vector<std::string> shown(1);
    history.ArrayPopulate(shown);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], "Lab & shop  (R&D)");
    EXPECT_EQ(shown[2], "Old notes  (notes.old)");

    FakeMenu menu;
    history.UpdateMenu(menu);
    ASSERT_EQ(menu.entries.size(), 7u);
    EXPECT_EQ(menu.entries[1].caption, "&1   Lab && shop  (R&&D)");
    EXPECT_EQ(menu.entries[2].caption, "&2   Old notes  (notes.old)");
    EXPECT_TRUE(menu.entries[2].visible);
    EXPECT_EQ(menu.entries[3].caption, "");
    EXPECT_FALSE(menu.entries[6].visible);
    EXPECT_TRUE(menu.separatorVisible);
}

struct ValidateCase {
    const char* name;
    std::string folder;
    std::set<std::string> existing;
    std::vector<std::string> expected;
    int expectedQueries;
};

TEST(clsHistoryTest, ValidateFilesDropsMissingFiles)
{
    // Entries, most recent first: d, c, b, a.
    const ValidateCase cases[] = {
        { "all exist", "/w", { "/w/a", "/w/b", "/w/c", "/w/d" }, { "d", "c", "b", "a" }, 4 },
        { "blanks trimmed", "  /w  ", { "/w/b", "/w/d" }, { "d", "b" }, 4 },
        { "separator not doubled", "/w/", { "/w/a" }, { "a" }, 4 },
        { "Windows separator kept", "C:\\w\\", { "C:\\w\\c" }, { "c" }, 4 },
        { "none exist", "/w", {}, {}, 4 },
        { "blank folder", "   ", {}, { "d", "c", "b", "a" }, 0 },
    };
    for (const auto& c : cases) {
        auto history = HistoryOf(6, { "a", "b", "c", "d" });
        int queries = 0;
        history.ValidateFiles(c.folder, [&](const std::string& path) {
            ++queries;
            return c.existing.count(path) > 0;
        });
        EXPECT_EQ(Entries(history), c.expected) << c.name;
        EXPECT_EQ(queries, c.expectedQueries) << c.name;
    }
}

TEST(clsHistoryTest, DeleteByIndexIgnoresIndexesOutsideTheEntries)
{
    const std::pair<std::int16_t, std::vector<std::string>> cases[] = {
        { 0, { "c", "b", "a" } },
        { 4, { "c", "b", "a" } },
        { 1, { "b", "a" } },
        { 2, { "c", "a" } },
    };
    for (const auto& [index, expected] : cases) {
        auto history = HistoryOf(6, { "a", "b", "c" });
        history.DeleteByIndex(index);
        EXPECT_EQ(Entries(history), expected) << index;
        EXPECT_EQ(history.ItemText(3), expected.size() == 3 ? "a" : "") << index;
    }
}

} // namespace
} // namespace trawlit
