#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The user's own settings (window places, the last export, recent data files): one INI
// file, dataloader/dataloader.ini in the user's configuration folder ($XDG_CONFIG_HOME,
// else ~/.config). Keys read "Group/name".
std::string UserSettingsFile();
// The configuration folder the file lies in; empty for the user's own. The snapshot and the
// tests point it at a folder of their own, so they never read or change the user's.
std::string UserSettingsFolder();
void SetUserSettingsFolder(const std::string& folder);

std::optional<std::string> UserSetting(const std::string& key);
std::vector<std::string> UserSettingList(const std::string& key);
// Each returns false when the file could not be written.
bool SetUserSetting(const std::string& key, const std::string& value);
bool SetUserSettingList(const std::string& key, const std::vector<std::string>& values);
bool RemoveUserSetting(const std::string& key);
bool ClearUserSettings();

}  // namespace platform
