// The lookup lists read for the windows' choices.
#include "Lookups.h"

#include <gtest/gtest.h>

#include "EngineSupport.h"

namespace {

using testing_support::Table;

// The project's station list as the program first read it, through a right join from the
// station table; the present query must give the same entries in the same order.
Table RightJoinStations(platform::Database& db, const std::string& project) {
    return testing_support::QueryRows(
        db,
        "select distinct tblstation_information.station_id, "
        "tblstation_information.place_name_description, tblsample.project_code from "
        "tblstation_information right join tblsample on tblsample.station_id = "
        "tblstation_information.station_id where tblsample.project_code = '" +
            project + "'");
}

Table Entries(const store::LookupEntries& entries, const std::string& project) {
    Table rows;
    for (const auto& e : entries) rows.push_back({e.code, e.description, project});
    return rows;
}

}  // namespace

TEST(LookupsTest, StationsOfAProjectMatchTheRightJoinsRowsAndOrder) {
    testing_support::TempDir dir;
    auto db = testing_support::EmptyDatabase(dir.file("water.db"));
    // Stations entered out of code order; samples whose station is missing or unknown.
    db->ExecuteNative(
        "insert into tblstation_information (station_id, place_name_description) values "
        "(300, 'Lake Outlet'), (20, 'North Fork'), (7, NULL), (150, 'Mill Creek');"
        "insert into tblsample (idloc, sample_code, project_code, station_id) values "
        "('V', 1, '8', 300), ('V', 2, '8', 999), ('V', 3, '8', 20), ('S', 3, '8', 300),"
        "('V', 4, '8', NULL), ('V', 5, 'NC', 150), ('B', 6, '8', 7), ('V', 7, 'NC', NULL),"
        "('V', 8, 'ALL', 20)");
    store::Lookups lookups(*db);
    for (const std::string project : {"8", "NC", "ALL", "none"}) {
        const Table expected = RightJoinStations(*db, project);
        EXPECT_EQ(Entries(lookups.StationsOfProject(project), project), expected) << project;
    }
    EXPECT_EQ(RightJoinStations(*db, "8"), (Table{{"7", "", "8"},
                                                  {"20", "North Fork", "8"},
                                                  {"300", "Lake Outlet", "8"},
                                                  {"", "", "8"}}));
}
