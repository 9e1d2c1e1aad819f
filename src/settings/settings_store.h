// The per-user settings store: text values addressed by section and key under
// the fixed application name "Tonobild 3". A read names the text to answer for a
// missing key or section; a missing key is never an error.
#pragma once

#include <string>

namespace tonobild {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::string read(const std::string& section, const std::string& key,
                             const std::string& defaultValue) const = 0;
    virtual void write(const std::string& section, const std::string& key, const std::string& value) = 0;

    // The first failed write as "path: reason", handed out once: every later call
    // answers empty, so the window shows one message however many writes fail.
    virtual std::string takeWriteProblem() = 0;
};

} // namespace tonobild
