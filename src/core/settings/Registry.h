#pragma once

#include <string>

namespace trawlit {

class SettingsStore;

// Wrappers over the settings store, application "Trawlit", section "Startup". Booleans are
// stored as "True"/"False" and read as true when the text equals "TRUE" ignoring case.
bool RegistryGetBool(SettingsStore& store, const std::string& key, bool defaultValue);
std::string RegistryGetString(
    SettingsStore& store, const std::string& key, const std::string& defaultValue);
// Writes only when the stored value means something else (or nothing).
void RegistrySaveBool(SettingsStore& store, const std::string& key, bool value);
// Writes only when the stored text differs, compared exactly.
void RegistrySaveString(SettingsStore& store, const std::string& key, const std::string& value);

} // namespace trawlit
