#pragma once

#include <memory>
#include <string>

namespace platform {
class Database;
}

namespace store {

// Believable reference data and samples a new user can work with at once: projects
// (project 8 feeds the parameter short list), stations, media, sample types, composite
// statistics, remark codes, common water-quality parameters, samples and results of
// another source ("S") and a few hand-entered ("V") samples with results.
void FillDemoData(platform::Database& db);

// A new demo database file; refuses to overwrite a file.
std::shared_ptr<platform::Database> CreateDemoDatabase(const std::string& path);

}  // namespace store
