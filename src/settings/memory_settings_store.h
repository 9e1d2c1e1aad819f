// A settings store held in memory, for tests and for running without a file.
// It remembers every write in order so that tests can check the write orders.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_store.h"

namespace tonobild {

struct SettingsWrite {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const SettingsWrite&) const = default;
};

class MemorySettingsStore final : public SettingsStore {
public:
    std::string read(const std::string& section, const std::string& key,
                     const std::string& defaultValue) const override;
    void write(const std::string& section, const std::string& key, const std::string& value) override;
    std::string takeWriteProblem() override;

    // Makes every following write fail with this reason (the value is not kept).
    void failWrites(std::string reason) { failure_ = std::move(reason); }

    bool contains(const std::string& section, const std::string& key) const;
    const std::vector<SettingsWrite>& writes() const { return writes_; }
    void clearWriteLog() { writes_.clear(); }

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
    std::vector<SettingsWrite> writes_;
    std::string failure_;
    std::string problem_;
    bool problemTaken_ = false;
};

} // namespace tonobild
