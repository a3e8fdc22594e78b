#include <gtest/gtest.h>

#include <sstream>

#include "Database.h"
#include "DatabaseCopy.h"
#include "EngineError.h"
#include "EngineSupport.h"
#include "Schema.h"

namespace {

using testing_support::QueryRows;

// From a file to a file, or to a server when the tests run on one: every value arrives as
// it was, and a target that already holds the tables is refused untouched.
TEST(DatabaseCopy, EveryRowArrivesAsItWasAndAFilledTargetIsRefused) {
    testing_support::TempDir dir;
    const std::string from = dir.file("from.db");
    store::CreateEmptyDatabase(from)->ExecuteNative(R"sql(
insert into tblprojects_programs (project_code, program_project, project_start_date) values
    ('8', 'Statewide', '2001-02-03 00:00:00'), ('LKM', 'Lake ''Bear''', NULL);
insert into tblsample (idloc, sample_code, project_code, station_id, start_date, sample_depth,
                       comment) values
    ('V', 2, '8', 109, '2004-01-14 09:30:00', 0.1, 'two, with "quotes"'),
    ('S', 1, 'LKM', 105, '2003-06-02 10:00:00', NULL, '');
insert into tblresults values ('V', 2, 10, 0.30000000000000004, '<', 'A', NULL);
)sql");
    const std::string to = testing_support::EmptyLocation(dir.file("to.db"));
    std::ostringstream progress;
    store::CopyDatabase(from, to, progress);
    EXPECT_NE(progress.str().find("tblsample: 2 rows"), std::string::npos) << progress.str();

    auto source = platform::Database::OpenDatabase(from);
    auto target = platform::Database::OpenDatabase(to);
    for (const auto& t : platform::TablesOfScript(store::SchemaDdl())) {
        const std::string sql = "select * from " + t.table;
        EXPECT_EQ(QueryRows(*target, sql), QueryRows(*source, sql)) << t.table;
    }
    target->Execute("delete from tblresults");
    EXPECT_THROW(store::CopyDatabase(from, to, progress), platform::EngineError);
    EXPECT_EQ(QueryRows(*target, "select * from tblresults").size(), 0u);
}

}  // namespace
