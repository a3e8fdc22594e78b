#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "Database.h"
#include "EngineError.h"
#include "EngineSupport.h"
#include "SqlDialect.h"

using namespace platform;
using testing_support::ErrorNumber;

namespace {

// The rewrites the rows below cannot show: what SQLite would read as a name.
TEST(DialectTranslate, DoubleQuotedTextsAndNamesLikeFunctions) {
    const std::pair<const char*, const char*> cases[] = {
        {"x like \"*a*\"", "x like '%a%'"},
        {"c = \"say \"\"hi\"\" it's\"", "c = 'say \"hi\" it''s'"},
        {"select day, month from t", "select day, month from t"},
        {"month(max(#1/2/2004#))", "CAST(strftime('%m', max('2004-01-02 00:00:00')) AS INTEGER)"},
    };
    for (const auto& [classic, sqlite] : cases)
        EXPECT_EQ(sql::Translate(classic), sqlite) << classic;
}

// The same classic texts as a server reads them; Mid and IIf alike on both.
TEST(DialectTranslate, ServerFormsOfLikeDatePartsMidAndIIf) {
    using sql::Dialect;
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"c like 'a*'", "c like 'a%'", "c ILIKE 'a%' COLLATE \"default\""},
        {"month(d) = '3'", "CAST(strftime('%m', d) AS INTEGER) = '3'",
         "CAST(EXTRACT(MONTH FROM d) AS INTEGER) = '3'"},
        {"mid(c, 2, 3)", "substr(c, 2, 3)", "substr(c, 2, 3)"},
        {"iif(a > 1, 'x', mid(c, 1, 1))", "(CASE WHEN a > 1 THEN 'x' ELSE substr(c, 1, 1) END)",
         "(CASE WHEN a > 1 THEN 'x' ELSE substr(c, 1, 1) END)"},
    };
    for (const auto& [classic, sqlite, server] : cases) {
        EXPECT_EQ(sql::Translate(classic, Dialect::Sqlite), sqlite) << classic;
        EXPECT_EQ(sql::Translate(classic, Dialect::Postgres), server) << classic;
    }
    EXPECT_EQ(ErrorNumber([] { sql::Translate("iif(a, b)"); }), err::SyntaxError);
}

TEST(DialectServer, ParametersAreNumberedAndTheSchemaTakesServerTypes) {
    const auto shape =
        sql::Parameterize("select * from t where a = 'x' and b = 2", sql::Dialect::Postgres);
    EXPECT_EQ(shape.sql, "select * from t where a = $1 and b = $2");
    EXPECT_EQ(sql::PlanQuery("select * from t where a = 1", sql::Dialect::Postgres).updatableSql,
              "select * , ctid AS \"__rowid__\" from t where a = 1");
    EXPECT_EQ(sql::ServerScript("CREATE TABLE t (d DATETIME, r REAL, x TEXT); "
                                "insert into t values ('text', 1)"),
              "CREATE TABLE t (d TIMESTAMP(0), r DOUBLE PRECISION, x TEXT COLLATE \"C\"); "
              "insert into t values ('text', 1)");
}

TEST(DialectTranslate, BadLiteralsAreSyntaxErrors) {
    for (const char* bad :
         {"d = #13/45/2004#", "d = #3/4/2004", "d = #yesterday#", "c = 'open", "c = [open"})
        EXPECT_EQ(ErrorNumber([&] { sql::Translate(bad); }), err::SyntaxError) << bad;
}

// What a source's key and template give must be what planning the text itself gives.
std::pair<std::string, std::vector<std::string>> viaTemplate(const sql::SourceKey& key,
                                                             const sql::ShapeTemplate& t) {
    std::vector<std::string> params;
    for (size_t i = 0; i < t.literal.size(); ++i)
        params.push_back(t.literal[i] >= 0 ? key.literals[t.literal[i]].text : t.constant[i].text);
    return {t.sql, params};
}

std::pair<std::string, std::vector<std::string>> direct(const std::string& sqliteSql) {
    if (sqliteSql.empty()) return {};
    auto shape = sql::Parameterize(sqliteSql);
    std::vector<std::string> params;
    for (const auto& p : shape.params) params.push_back(p.text);
    return {shape.sql, params};
}

TEST(DialectSourceKey, TemplatesGiveWhatPlanningEachTextGives) {
    const char* sources[] = {
        "select * from tblresults where idloc = 'V' and sample_code = 17",
        "select * from  tblreplicates where idloc = 'V' and sample_code = 2001",
        "select * from t where name = 'O''Brien' and n <> 2.5e3",
        "select * from t where c like 'a*' and d = 'x'",
        "select * from t where d >= #3/4/2004# and d < #3/5/2004 10:30:00 AM# and k = 4",
        "select * from t where d between #3/4/2004# and '2004-03-09' and z = \"dq\"",
        "select * from t where month(d) = 3 and year(d) = '2004'",
        "select * from t where (a = 1 or b = 'x') and not c = 2 order by 2 limit 5",
        "select a, 'const' as k from t where a in (1, 2, 3)",
        "select * from a inner join b on a.x = b.x where a.y = 'q'",
        "(select a from t where a = 1) union (select a from u where a = 2)",
        "select * from t where a = -5 and '3' = b",
        "tblsample",
    };
    int templated = 0;
    for (const char* source : sources) {
        const auto key = sql::KeyOfSource(source);
        ASSERT_TRUE(key.usable) << source;
        const auto plan = sql::PlanOfKey(key);
        const auto expected = sql::PlanQuery(source);
        if (!plan.usable) continue;  // planned text by text: nothing to compare
        ++templated;
        EXPECT_EQ(plan.table, expected.table) << source;
        EXPECT_EQ(viaTemplate(key, plan.readOnly), direct(expected.sql)) << source;
        EXPECT_EQ(viaTemplate(key, plan.updatable), direct(expected.updatableSql)) << source;
    }
    EXPECT_EQ(templated, 12);  // all but the "in" list
}

TEST(DialectSourceKey, OnlyComparedValuesLeaveTheKey) {
    auto keyOf = [](const char* s) { return sql::KeyOfSource(s).text; };
    EXPECT_EQ(keyOf("select * from t where a = 1 and b = 'x'"),
              keyOf("select * from t where a = 22 and b = 'it''s'"));
    EXPECT_EQ(sql::KeyOfSource("select * from t where a = 1 and b = 'x'").literals.size(), 2u);
    // Values that translation rewrites, or that are no comparison, stay in the key.
    EXPECT_NE(keyOf("select * from t where c like 'a*'"),
              keyOf("select * from t where c like 'b*'"));
    EXPECT_NE(keyOf("select * from t where d = #1/1/2004#"),
              keyOf("select * from t where d = #1/2/2004#"));
    EXPECT_NE(keyOf("select * from t where c = \"a\""), keyOf("select * from t where c = \"b\""));
    EXPECT_NE(keyOf("select * from t order by 1"), keyOf("select * from t order by 2"));
    EXPECT_NE(keyOf("select * from t where a = -1"), keyOf("select * from t where a = -2"));
    // A cut value touching a string could merge with it once cut: such texts are not keyed.
    EXPECT_FALSE(sql::KeyOfSource("select * from t where a = 5'x'").usable);
    EXPECT_FALSE(sql::KeyOfSource("select '\x01' from t where a = 1").usable);
    // A value that does not become a parameter makes the key plan text by text.
    EXPECT_FALSE(sql::PlanOfKey(sql::KeyOfSource("select * from t where a in (1, 2)")).usable);
    EXPECT_THROW(sql::KeyOfSource("select * from t where a = 'open"), EngineError);
}

TEST(DialectPlan, OnlyPlainOneTableSelectsAreUpdatable) {
    struct Case {
        const char* source;
        const char* table;  // "" when read-only
    } cases[] = {
        {"tblsample_type", "tblsample_type"},
        {"  [tblsample] ", "tblsample"},
        {"select * from tblsample where idloc = 'V'", "tblsample"},
        {"Select *, 'P1' as project_code from tblresults where idloc = 'V'", "tblresults"},
        {"select * from tblsample s where s.idloc = 'V' order by 1", "tblsample"},
        {"select * from t where a in (select a from u inner join v on u.x = v.x)", "t"},
        {"select distinct * from t", ""},
        {"select max(sample_code) as maxCode from tblsample", ""},
        {"select count (*) from t", ""},
        {"select * from a inner join b on a.x = b.x", ""},
        {"select * from a, b", ""},
        {"select * from (select * from a)", ""},
        {"select a from t union select a from u", ""},
        {"select a from t group by a", ""},
    };
    for (const auto& c : cases) {
        auto plan = sql::PlanQuery(c.source);
        EXPECT_EQ(plan.table, c.table) << c.source;
        EXPECT_EQ(plan.updatableSql.empty(), std::string(c.table).empty()) << c.source;
    }
}

const char* kSchema = R"(
create table tblsample (idloc text, sample_code integer, project_code text, station_id integer,
  start_date datetime, missing_time text, end_date datetime, medium text, sample_type text,
  sample_depth real, comment text, composite_statistic_code text,
  primary key (idloc, sample_code));
create table tblresults (idloc text, sample_code integer, parameter_code integer,
  result_value real, remark_code text, grade text, comments text,
  primary key (idloc, sample_code, parameter_code));
create table tblStation_Information (station_id integer primary key, place_name_description text,
  water_body_name text);
create table tblprojects_programs (project_code text primary key, program_project text,
  organization_id integer);
create table tblsample_type (sample_type text primary key, sample_type_description text);
insert into tblsample values
  ('V', 1, 'P1', 10, '2004-03-04 00:00:00', 'N', null, 'W', 'G', 1.5, 'Grab 50% ab', null),
  ('V', 2, 'P1', 20, '2004-03-04 10:30:00', 'N', null, 'W', 'C', null, 'it''s *star*', null),
  ('V', 3, '8', 10, '2004-03-05 10:30:00', 'N', null, 'S', 'G', null, 'AB under_score', 'M'),
  ('V', 4, '8', 30, '2003-05-22 00:00:00', 'Y', null, 'W', 'G', null, 'x', null),
  ('V', 5, 'P2', 10, '2003-05-22 00:00:01', 'N', null, 'W', 'G', null, 'río verde', null),
  ('X', 1, 'P1', 10, '2004-03-04 08:00:00', 'N', null, 'W', 'G', null, 'other source', null);
insert into tblresults values
  ('V', 1, 100, 2.5, null, 'A', 'ok'), ('V', 1, 200, 3, null, 'A', null),
  ('V', 3, 100, 7, 'J', 'B', null), ('V', 4, 200, 1, null, 'A', null),
  ('X', 1, 300, 1, null, 'A', null);
insert into tblStation_Information values (10, 'North Fork', 'Creek'), (20, 'South', 'River'),
  (40, 'Unused', 'Lake');
insert into tblprojects_programs values ('P1', 'Baseline', 1), ('8', 'Eight', null), ('P2', 'Two', 2);
insert into tblsample_type values ('G', 'Grab'), ('Z', 'Unused type');
)";

class DialectRows : public ::testing::Test {
  protected:
    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db = dir.NewDatabase(kSchema);

    // Every row's value of one field, as text.
    std::vector<std::string> column(const std::string& source, const std::string& field) {
        auto rs = db->OpenRecordset(source);
        std::vector<std::string> out;
        while (!rs->Eof()) {
            out.push_back(rs->Fields(field).Value().toText());
            rs->MoveNext();
        }
        return out;
    }
    std::multiset<std::string> bag(const std::string& source, const std::string& field) {
        auto c = column(source, field);
        return {c.begin(), c.end()};
    }
};

using Bag = std::multiset<std::string>;

TEST_F(DialectRows, WhereClausesOfTheClassicDialect) {
    const std::string base = "Select * from tblsample where idloc = 'V' ";
    struct Case {
        std::string where;
        Bag codes;
    } cases[] = {
        {"", {"1", "2", "3", "4", "5"}},
        {" and start_date between #3/4/2004# and #3/5/2004 10:30:00 AM#", {"1", "2", "3"}},
        {" and start_date between #3/4/2004# and  #3/5/2004 10:29:59#", {"1", "2"}},
        {" and start_date > #5/22/2003#", {"1", "2", "3", "5"}},
        {" and month(start_date) = '3' and day(start_date) = '4' and year(start_date) = '2004'",
         {"1", "2"}},
        {" and '5' = month(start_date) and '22' = day(start_date)", {"4", "5"}},
        {" and month(start_date) = '03'", {"1", "2", "3"}},
        {" and comment like '*ab*' ", {"1", "3"}},  // any letter case
        {" and comment like '*50%*' ", {"1"}},
        {" and comment like '*%*' ", {"1"}},  // a typed % is a character, not a wildcard
        {" and comment like '*_*' ", {"3"}},
        {" and comment like '*[*]*' ", {"2"}},
        {" and comment like '?' ", {"4"}},
        {" and comment like '*''s*' ", {"2"}},
        {" and comment like '*RÍO*' ", {"5"}},  // letter case beyond ASCII
        {" and comment like 'r?o*' ", {"5"}},
        {" and comment not like '*a*' ", {"4", "5"}},
        {" and comment = '#1/1/2004#'", {}},  // literals are data, never syntax
        {" and comment = \"it's *star*\" ", {"2"}},
        {" and project_code = 'P1' ", {"1", "2"}},
        {" and station_id = 10 ", {"1", "3", "5"}},
    };
    for (const auto& c : cases) EXPECT_EQ(bag(base + c.where, "sample_code"), c.codes) << c.where;
}

// What the engine adds to SQLite in the windows' queries: the right join the program needs,
// fields named through their table, unions of parenthesised arms, bare table names.
TEST_F(DialectRows, TheProgramsQueriesReadTheirRows) {
    const std::string stationsOfProject =
        "select distinct tblstation_information.*, tblsample.project_code from "
        "tblstation_information right join tblsample on tblsample.station_id = "
        "tblstation_information.station_id where tblsample.project_code = '8'";
    const std::string stationViewer =
        "select * from tblstation_information INNER JOIN (SELECT DISTINCT "
        "TBLProjects_Programs.Program_Project, TBLSample.Project_Code, TBLSample.Station_ID as "
        "station_id  FROM TBLProjects_Programs INNER JOIN TBLSample ON "
        "TBLProjects_Programs.Project_Code = TBLSample.Project_Code) DERIVEDTBL ON "
        "TBLStation_Information.Station_ID = DERIVEDTBL.Station_ID where (DERIVEDTBL.Project_Code "
        "= 'P1')";
    const std::string handOver =
        "Select *, 'P1' as project_code, '3/4/2004' as start_date from tblresults where idloc = "
        "'V' and sample_code = 1 union (Select *, '8' as project_code , '3/5/2004 10:30:00 AM' as "
        "start_date  from tblresults where idloc = 'V' and sample_code = 3)";
    struct Case {
        std::string sql;
        const char* field;
        Bag values;
    } cases[] = {
        {stationsOfProject, "place_name_description", {"North Fork", ""}},
        {stationViewer, "tblstation_information.station_id", {"10", "20"}},
        {stationViewer + " and tblstation_information.place_name_description like '*north*'",
         "place_name_description",
         {"North Fork"}},
        {handOver, "parameter_code", {"100", "200", "100"}},
        {handOver, "start_date", {"3/4/2004", "3/4/2004", "3/5/2004 10:30:00 AM"}},
        // The same sample twice: union drops the duplicate rows.
        {"(Select * from tblresults where sample_code = 1 and idloc = 'V') union "
         "(Select * from tblresults where sample_code = 1 and idloc = 'V')",
         "grade",
         {"A", "A"}},
        {"tblsample_type", "SAMPLE_TYPE", {"G", "Z"}},
        {"select * from TBLSAMPLE where IDLOC = 'X'", "Sample_Code", {"1"}},
    };
    for (const auto& c : cases) EXPECT_EQ(bag(c.sql, c.field), c.values) << c.sql;

    // Constant columns of a union stay text; a union is read-only.
    auto rs = db->OpenRecordset(handOver);
    EXPECT_EQ(rs->Fields("start_date").Value().type(), Variant::Type::Text);
    EXPECT_FALSE(rs->Updatable());
}

TEST_F(DialectRows, EngineErrorsCarryNumbers) {
    struct Case {
        const char* sql;
        int number;
    } cases[] = {
        {"select * from nosuchtable", err::TableNotFound},
        {"nosuchtable", err::TableNotFound},
        {"select nosuchcolumn from tblsample", err::UnknownName},
        {"select * from tblsample where sample_code = ", err::SyntaxError},
        {"select * from tblsample where comment = 'it's'", err::SyntaxError},
        {"select * from tblsample; delete from tblsample", err::SyntaxError},
        {"", err::SyntaxError},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorNumber([&] { db->OpenRecordset(c.sql); }), c.number) << c.sql;
    EXPECT_EQ(column("select * from tblsample", "sample_code").size(), 6u);
}

}  // namespace
