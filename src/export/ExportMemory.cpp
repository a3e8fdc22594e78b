#include "ExportMemory.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>

#include "AppPath.h"
#include "UserSettings.h"

namespace exporter {

namespace {
constexpr const char* kFolder = "Export/folder";
constexpr const char* kDay = "Export/day";
}  // namespace

std::string ExportStartFolder() {
    const auto last = platform::UserSetting(kFolder);
    if (last && std::filesystem::is_directory(*last)) return *last;
    const std::string program = platform::AppPath();
    const QFileInfo folder(QString::fromStdString(program));
    if (folder.isDir() && folder.isWritable()) return program;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

std::optional<platform::DateTime> LastExportDay() {
    const auto stored = platform::UserSetting(kDay);
    return stored ? platform::DateTime::fromStored(*stored) : std::nullopt;
}

void RememberExport(const std::string& sampleFile, const platform::DateTime& day) {
    const auto folder = std::filesystem::path(sampleFile).parent_path();
    if (!folder.empty()) platform::SetUserSetting(kFolder, folder.string());
    platform::SetUserSetting(kDay, platform::DateTime{day.year, day.month, day.day}.toStored());
}

}  // namespace exporter
