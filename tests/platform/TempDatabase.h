#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "Database.h"

// A fresh database file in its own temporary folder, removed after the test.
class TempDatabase {
  public:
    explicit TempDatabase(const std::string& ddl = {}) {
        db = platform::Database::CreateDatabase(path());
        if (!ddl.empty()) db->ExecuteNative("begin;" + ddl + ";commit;");  // one sync, not many
    }
    std::string path(const std::string& name = "test.db") const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    std::shared_ptr<platform::Database> db;

  private:
    QTemporaryDir dir_;
};
