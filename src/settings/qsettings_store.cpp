#include "settings/qsettings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace tonobild {

namespace {

QString key(const std::string& section, const std::string& name)
{
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

} // namespace

QSettingsStore::QSettingsStore() : QSettingsStore(userFilePath()) {}

QSettingsStore::QSettingsStore(const QString& filePath) : settings_(filePath, QSettings::IniFormat) {}

QString QSettingsStore::userFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tonobild 3/Tonobild 3.ini");
}

std::string QSettingsStore::read(const std::string& section, const std::string& name,
                                 const std::string& defaultValue) const
{
    const QVariant value = settings_.value(key(section, name));
    if (!value.isValid())
        return defaultValue;
    // An unquoted value with commas, written by hand, comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", ")).toStdString();
    return value.toString().toStdString();
}

void QSettingsStore::write(const std::string& section, const std::string& name, const std::string& value)
{
    settings_.setValue(key(section, name), QString::fromStdString(value));
    settings_.sync();
    if (settings_.status() != QSettings::NoError || !settings_.isWritable())
        noteFailure();
}

std::string QSettingsStore::takeWriteProblem()
{
    if (problemTaken_ || problem_.empty())
        return {};
    problemTaken_ = true;
    return problem_;
}

void QSettingsStore::noteFailure()
{
    if (problem_.empty())
        problem_ = (filePath() + QStringLiteral(": ") + failureReason()).toStdString();
}

// QSettings says only that access failed; opening the file ourselves names the cause.
QString QSettingsStore::failureReason() const
{
    const QFileInfo info(filePath());
    if (!QDir().mkpath(info.absolutePath()))
        return QStringLiteral("the folder %1 cannot be created").arg(info.absolutePath());
    QFile file(filePath());
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return file.errorString();
    if (settings_.status() == QSettings::FormatError)
        return QStringLiteral("the file is not a valid settings file");
    return QStringLiteral("the settings could not be written (is the disk full?)");
}

} // namespace tonobild
