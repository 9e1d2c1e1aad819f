// The settings store as an INI file: by default "Tonobild 3/Tonobild 3.ini" in
// the user's configuration folder ($XDG_CONFIG_HOME, or ~/.config). Values are
// kept as text; every write is flushed at once so that another running station
// sees it.
#pragma once

#include <QSettings>
#include <QString>

#include "settings/settings_store.h"

namespace tonobild {

class QSettingsStore final : public SettingsStore {
public:
    QSettingsStore();                            // the user's file, userFilePath()
    explicit QSettingsStore(const QString& filePath);

    static QString userFilePath();
    QString filePath() const { return settings_.fileName(); }

    std::string read(const std::string& section, const std::string& key,
                     const std::string& defaultValue) const override;
    void write(const std::string& section, const std::string& key, const std::string& value) override;
    std::string takeWriteProblem() override;

private:
    void noteFailure();
    QString failureReason() const;

    QSettings settings_;
    std::string problem_;
    bool problemTaken_ = false;
};

} // namespace tonobild
