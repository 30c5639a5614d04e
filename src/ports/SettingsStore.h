#pragma once

#include <map>
#include <string>
#include <tuple>

namespace trawlit {

inline constexpr const char* kSettingsApplication = "Trawlit";
inline constexpr const char* kSettingsSection = "Startup";

// The per-user store of texts by application, section and key. A missing value reads empty.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string Get(
        const std::string& application, const std::string& section, const std::string& key)
        = 0;
    virtual void Save(const std::string& application, const std::string& section,
        const std::string& key, const std::string& value)
        = 0;
};

// A store that lives as long as the program: for tests and for headless runs.
class InMemorySettingsStore : public SettingsStore {
public:
    std::string Get(const std::string& application, const std::string& section,
        const std::string& key) override
    {
        auto found = values_.find({ application, section, key });
        return found == values_.end() ? std::string() : found->second;
    }
    void Save(const std::string& application, const std::string& section, const std::string& key,
        const std::string& value) override
    {
        values_[{ application, section, key }] = value;
        ++saveCount_;
    }
    int SaveCount() const { return saveCount_; }

private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
    int saveCount_ = 0;
};

} // namespace trawlit
