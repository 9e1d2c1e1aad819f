#include "settings/memory_settings_store.h"

namespace tonobild {

std::string MemorySettingsStore::read(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) const
{
    const auto found = values_.find({section, key});
    return found == values_.end() ? defaultValue : found->second;
}

void MemorySettingsStore::write(const std::string& section, const std::string& key, const std::string& value)
{
    writes_.push_back({section, key, value});
    if (!failure_.empty()) {
        if (problem_.empty())
            problem_ = "memory: " + failure_;
        return;
    }
    values_[{section, key}] = value;
}

std::string MemorySettingsStore::takeWriteProblem()
{
    if (problemTaken_ || problem_.empty())
        return {};
    problemTaken_ = true;
    return problem_;
}

bool MemorySettingsStore::contains(const std::string& section, const std::string& key) const
{
    return values_.count({section, key}) != 0;
}

} // namespace tonobild
