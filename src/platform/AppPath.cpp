#include "AppPath.h"

#include <QCoreApplication>
#include <optional>

namespace platform {

namespace {

std::optional<std::string> app_path;

}  // namespace

std::string AppPath() {
    std::string path = app_path ? *app_path : QCoreApplication::applicationDirPath().toStdString();
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

void SetAppPath(const std::string& path) { app_path = path; }

}  // namespace platform
