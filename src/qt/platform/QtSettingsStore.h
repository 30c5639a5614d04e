#pragma once

#include "ports/SettingsStore.h"

namespace trawlit {

// The per-user settings store: QSettings in the platform's native format, organisation and
// application named by the application argument ("Trawlit"), a group per section
// (~/.config/Trawlit/Trawlit.conf on Linux). A store that cannot be read gives empty texts;
// one that cannot be written is passed over: neither ever stops the program.
class QtSettingsStore : public SettingsStore {
public:
    std::string Get(const std::string& application, const std::string& section,
        const std::string& key) override;
    void Save(const std::string& application, const std::string& section, const std::string& key,
        const std::string& value) override;
};

} // namespace trawlit
