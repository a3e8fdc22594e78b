// The marks of reviewed findings: who looked at a finding, when, and on which value.
#include <optional>

#include "Database.h"
#include "Journal.h"
#include "Review.h"
#include "ReviewParts.h"
#include "RowStream.h"

namespace store {

using review_parts::DateOf;

const char* ReviewDdl() {
    // A finding is found again by its key; parameter 0 is a sample's own finding. The mark
    // holds for as long as the finding's value is the one it was made on.
    return R"sql(
CREATE TABLE IF NOT EXISTS tblresult_review (
    idloc TEXT NOT NULL,
    sample_code INTEGER NOT NULL,
    parameter_code INTEGER NOT NULL,
    check_name TEXT NOT NULL,
    reviewed_value TEXT,
    reviewer TEXT,
    reviewed_at DATETIME,
    note TEXT,
    PRIMARY KEY (idloc, sample_code, parameter_code, check_name)
);
)sql";
}

const char* ParameterPairsDdl() {
    // Parts (dissolved) that may not exceed their whole (total) by more than the tolerance.
    return R"sql(
CREATE TABLE IF NOT EXISTS tblparameter_pairs (
    part_code INTEGER NOT NULL,
    whole_code INTEGER NOT NULL,
    tolerance_percent REAL,
    PRIMARY KEY (part_code, whole_code)
);
)sql";
}

namespace {

// Whether the server login may do `what` ("INSERT") on the table, or make it when missing.
bool serverAllows(platform::Database& db, const char* table, const char* what) {
    platform::RowStream rows(db);
    if (db.TableExists(table))
        rows.Open("select has_table_privilege(?, ?)", {std::string(table), std::string(what)});
    else
        rows.Open("select has_schema_privilege(current_schema(), 'CREATE')");
    return rows.Next() && rows.Value(0).toBool();
}

}  // namespace

std::string ReviewMarks::Reviewer() {
    if (!db_.server()) return CurrentUser();
    platform::RowStream rows(db_, "select session_user");
    return rows.Next() ? rows.Value(0).toText() : CurrentUser();
}

void ReviewMarks::Mark(const std::vector<Finding>& findings, const std::string& note) {
    if (findings.empty()) return;
    if (db_.server() && !(serverAllows(db_, table::ResultReview, "INSERT") &&
                          serverAllows(db_, table::ResultReview, "DELETE") &&
                          serverAllows(db_, table::Journal, "INSERT")))
        throw Refused(
            "This login may not record reviews: the server lets it read the data "
            "only. Nothing was marked.");
    const std::string reviewer = Reviewer();
    if (!db_.TableExists(table::ResultReview)) {
        // Made before the journaled write, so the write's capture sees the new table.
        db_.BeginTrans();
        try {
            db_.ExecuteNative(ReviewDdl());
            db_.CommitTrans();
        } catch (...) {
            db_.Rollback();
            throw;
        }
    }
    const Finding& first = findings.front();
    JournaledWrite write(
        db_, findings.size() == 1
                 ? "marked reviewed: " + CheckName(first.check) + " of sample " + first.source +
                       " " + std::to_string(first.sampleCode) +
                       (first.parameterCode ? ", parameter " + std::to_string(first.parameterCode)
                                            : std::string())
                 : "marked " + std::to_string(findings.size()) + " findings reviewed");
    const platform::DateTime now = platform::DateTime::now();
    const std::string key =
        " where idloc = ? and sample_code = ? and parameter_code = ? and check_name = ?";
    for (const Finding& f : findings) {
        const std::string check = CheckCode(f.check);
        db_.Execute(std::string("delete from ") + table::ResultReview + key,
                    {f.source, f.sampleCode, f.parameterCode, check});
        db_.Execute(std::string("insert into ") + table::ResultReview +
                        " (idloc, sample_code, parameter_code, check_name, reviewed_value, "
                        "reviewer, reviewed_at, note) values (?, ?, ?, ?, ?, ?, ?, ?)",
                    {f.source, f.sampleCode, f.parameterCode, check, f.value, reviewer, now, note});
    }
    write.Commit();
}

std::map<FindingKey, ReviewMark> ReviewMarks::All() {
    std::map<FindingKey, ReviewMark> marks;
    if (!db_.TableExists(table::ResultReview)) return marks;
    platform::RowStream rows(db_);
    rows.OpenLong(std::string("select idloc, sample_code, parameter_code, check_name, "
                              "reviewed_value, reviewer, reviewed_at, note from ") +
                  table::ResultReview);
    while (rows.Next()) {
        const auto check = CheckOfCode(rows.Value(3).toText());
        if (!check) continue;  // a check of a later version
        ReviewMark mark{rows.Value(4).toText(), rows.Value(5).toText(), rows.Value(7).toText(), {}};
        if (const auto when = DateOf(rows.Value(6))) mark.when = *when;
        marks[{rows.Value(0).toText(), rows.Value(1).toInteger(), rows.Value(2).toInteger(),
               *check}] = std::move(mark);
    }
    return marks;
}

}  // namespace store
