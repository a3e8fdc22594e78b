#include "RememberedLocation.h"

#include "UserSettings.h"

namespace app {

namespace {

constexpr const char* kOwnLocation = "DataLocation/path";
// The file's line the user's own location stands in for; absent when there was no file.
constexpr const char* kStandsFor = "DataLocation/replaces";
constexpr const char* kRecent = "DataLocation/recent";

// Whether the user's own location, not the file's, is the one in use.
bool ownInUse(const std::optional<std::string>& inFile) {
    return platform::UserSetting(kOwnLocation) &&
           (!inFile || platform::UserSetting(kStandsFor) == inFile);
}

LocationWriter& writer() {
    static LocationWriter current = WriteDataLocation;
    return current;
}

}  // namespace

void SetLocationWriter(LocationWriter next) {
    writer() = next ? std::move(next) : LocationWriter(WriteDataLocation);
}

std::optional<std::string> RememberedDataLocation() {
    const auto inFile = ReadDataLocation(DataLocationFile());
    return ownInUse(inFile) ? platform::UserSetting(kOwnLocation) : inFile;
}

bool RememberDataLocation(const std::string& path) {
    const std::string file = DataLocationFile();
    const auto inFile = ReadDataLocation(file);
    if (!ownInUse(inFile) && writer()(file, path)) return true;
    const bool standsFor = inFile ? platform::SetUserSetting(kStandsFor, *inFile)
                                  : platform::RemoveUserSetting(kStandsFor);
    return platform::SetUserSetting(kOwnLocation, path) && standsFor;
}

std::vector<std::string> RecentDataLocations() {
    auto recent = platform::UserSettingList(kRecent);
    if (recent.size() > kRecentLocations) recent.resize(kRecentLocations);
    return recent;
}

void AddRecentDataLocation(const std::string& path) {
    std::vector<std::string> recent{path};
    for (const auto& earlier : RecentDataLocations())
        if (earlier != path && recent.size() < kRecentLocations) recent.push_back(earlier);
    platform::SetUserSettingList(kRecent, recent);
}

}  // namespace app
