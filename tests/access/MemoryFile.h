#pragma once

#include <map>
#include <string>
#include <vector>

#include "SourceReader.h"

namespace accessdb {

// An Access file as the tests make it: tables, columns and rows held in memory.
class MemoryFile : public SourceReader {
  public:
    std::vector<SourceTable> tables;
    std::map<std::string, std::vector<Row>> rows;

    void Add(const std::string& table, std::vector<std::string> columns, std::vector<Row> data) {
        SourceTable t{table, {}};
        for (auto& c : columns) t.columns.push_back({std::move(c), ValueKind::Text});
        tables.push_back(std::move(t));
        rows[table] = std::move(data);
    }
    std::vector<SourceTable> Tables() override { return tables; }
    void ReadRows(const std::string& table, const std::function<bool(const Row&)>& f) override {
        for (const Row& r : rows.at(table))
            if (!f(r)) return;
    }
};

}  // namespace accessdb
