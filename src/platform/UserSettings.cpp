#include "UserSettings.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace platform {

namespace {

std::string& folder_override() {
    static std::string folder;
    return folder;
}

QSettings open() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "dataloader", "dataloader");
}

bool written(QSettings& settings) {
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace

std::string UserSettingsFile() { return open().fileName().toStdString(); }

std::string UserSettingsFolder() { return folder_override(); }

void SetUserSettingsFolder(const std::string& folder) {
    folder_override() = folder;
    const QString path =
        folder.empty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                       : QString::fromStdString(folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}

std::optional<std::string> UserSetting(const std::string& key) {
    const QVariant value = open().value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

std::vector<std::string> UserSettingList(const std::string& key) {
    std::vector<std::string> list;
    for (const QString& item : open().value(QString::fromStdString(key)).toStringList())
        list.push_back(item.toStdString());
    return list;
}

bool SetUserSetting(const std::string& key, const std::string& value) {
    QSettings settings = open();
    settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
    return written(settings);
}

bool SetUserSettingList(const std::string& key, const std::vector<std::string>& values) {
    QStringList list;
    for (const auto& value : values) list << QString::fromStdString(value);
    QSettings settings = open();
    settings.setValue(QString::fromStdString(key), list);
    return written(settings);
}

bool RemoveUserSetting(const std::string& key) {
    QSettings settings = open();
    settings.remove(QString::fromStdString(key));
    return written(settings);
}

bool ClearUserSettings() {
    QSettings settings = open();
    settings.clear();
    return written(settings);
}

}  // namespace platform
