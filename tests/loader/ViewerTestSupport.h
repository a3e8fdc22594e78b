// The viewer tabs' tests: a file of a few rows, and grid rows read back as text.
#pragma once

#include <string>
#include <vector>

#include "LoaderTestSupport.h"
#include "LookupLists.h"

namespace loader_test {

// The cells of one grid row joined by '|'.
inline std::string RowText(const controls::MSFlexGrid& g, long long row) {
    std::string line;
    for (int c = 0; c < g.Cols(); ++c) line += (c ? "|" : "") + g.TextMatrix(row, c);
    return line;
}

// Every row from `firstRow` down, as RowText gives it.
inline std::vector<std::string> Rows(const controls::MSFlexGrid& g, long long firstRow = 2) {
    std::vector<std::string> out;
    for (long long r = firstRow; r < g.Rows(); ++r) out.push_back(RowText(g, r));
    return out;
}

// One column's cells from row 2 down, sorted.
inline std::vector<std::string> Column(const controls::MSFlexGrid& g, int col) {
    std::vector<std::string> out;
    for (long long r = 2; r < g.Rows(); ++r) out.push_back(g.TextMatrix(r, col));
    return Sorted(out);
}

// Two projects, two stations, two parameters, hand-entered samples 1 and 2 and the other
// source's sample 1, with a result of each kind.
class ViewerTest : public LoaderTest {
  protected:
    bool demo() const override { return false; }
    void SetUp() override {
        LoaderTest::SetUp();
        db->ExecuteNative(
            "insert into tblprojects_programs (project_code, program_project) values "
            "('8', 'Statewide'), ('NC-01', 'North');"
            "insert into tblstation_information (station_id, place_name_description, "
            "water_body_name) values (101, 'Bear River at Bridge', 'Bear River'), "
            "(102, 'Mill Creek at Park', 'Mill Creek');"
            "insert into TBLParameter_Codes values (300, 'DO', 'Dissolved oxygen'), "
            "(10, 'Temp', 'Water temperature'), (99, 'ONI', 'O''Neil index');"
            "insert into tblsample (idloc, sample_code, project_code, station_id, start_date) "
            "values ('V', 1, '8', 101, '2004-01-14 09:30:00'), ('V', 2, 'NC-01', 102, NULL), "
            "('S', 1, '8', 101, '2004-02-03 00:00:00');"
            "insert into tblresults values ('V', 1, 300, 8.4, NULL, 'A', 'Meter'), "
            "('V', 1, 10, 12, NULL, 'A', NULL), ('S', 1, 300, 7.5, NULL, 'B', NULL), "
            "('V', 2, 10, 3, NULL, 'A', NULL);"
            "insert into tblreplicates values ('V', 1, 300, '8.1', NULL, 'A');"
            "insert into tblresults_val_nonnumeric values ('V', 1, 60, 'Dry', 'J', 'C')");
    }
};

}  // namespace loader_test
