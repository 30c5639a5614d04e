#include "core/settings/Registry.h"

#include "core/text/AsciiCase.h"

#include <algorithm>

#include "ports/SettingsStore.h"

namespace trawlit {

namespace {

std::string ReadStartup(SettingsStore& store, const std::string& key)
{
    return store.Get(kSettingsApplication, kSettingsSection, key);
}

void WriteStartup(SettingsStore& store, const std::string& key, const std::string& value)
{
    store.Save(kSettingsApplication, kSettingsSection, key, value);
}

// Stored booleans may have been edited by hand: any spelling of TRUE counts, nothing else.
bool MeansTrue(const std::string& stored)
{
    return EqualIgnoringAsciiCase(stored, "TRUE");
}

} // namespace

bool RegistryGetBool(SettingsStore& store, const std::string& key, bool defaultValue)
{
    const std::string stored = ReadStartup(store, key);
    return stored.empty() ? defaultValue : MeansTrue(stored);
}

std::string RegistryGetString(
    SettingsStore& store, const std::string& key, const std::string& defaultValue)
{
    std::string stored = ReadStartup(store, key);
    return stored.empty() ? defaultValue : stored;
}

void RegistrySaveBool(SettingsStore& store, const std::string& key, bool value)
{
    // A stored "TRUE" stays as the user spelt it while its meaning holds.
    const std::string stored = ReadStartup(store, key);
    if (stored.empty() || MeansTrue(stored) != value)
        WriteStartup(store, key, value ? "True" : "False");
}

void RegistrySaveString(SettingsStore& store, const std::string& key, const std::string& value)
{
    if (ReadStartup(store, key) != value)
        WriteStartup(store, key, value);
}

} // namespace trawlit
