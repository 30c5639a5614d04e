#include "qt/platform/QtSettingsStore.h"

#include <QSettings>
#include <QString>

namespace trawlit {

namespace {

QString KeyPath(const std::string& section, const std::string& key)
{
    return QString::fromLocal8Bit(section) + "/" + QString::fromLocal8Bit(key);
}

} // namespace

std::string QtSettingsStore::Get(
    const std::string& application, const std::string& section, const std::string& key)
{
    const QString name = QString::fromLocal8Bit(application);
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, name, name);
    return settings.value(KeyPath(section, key)).toString().toLocal8Bit().toStdString();
}

void QtSettingsStore::Save(const std::string& application, const std::string& section,
    const std::string& key, const std::string& value)
{
    const QString name = QString::fromLocal8Bit(application);
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, name, name);
    settings.setValue(KeyPath(section, key), QString::fromLocal8Bit(value));
    settings.sync(); // a store that cannot be written reports it here; it is passed over
}

} // namespace trawlit
