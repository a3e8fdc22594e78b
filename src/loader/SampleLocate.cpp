// "Edit Sample": finding hand-entered samples by what the tab's fields hold, stepping
// through them, and deleting the one on show.
#include "SampleLocate.h"

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "Tables.h"
#include "frmDataLoader.h"

namespace loader {

std::optional<std::string> SampleLocateSql(const SampleSearch& s, const platform::DateTime& now) {
    using platform::SqlQuote;
    std::string sql = "Select * from tblsample where idloc = 'V' ";
    if (!s.sampleNumber.empty()) {
        if (!platform::IsWholeNumber(s.sampleNumber)) return std::nullopt;
        sql += " and sample_code = " + s.sampleNumber;
    }
    // A picker on today (or within the last day) is taken as "no date chosen".
    const platform::DateTime dayAgo = now.addDays(-1);
    if (s.startDate < dayAgo) {
        if (s.endDate < dayAgo) {
            sql += " and start_date between #" + platform::DateToText(s.startDate) + "# and #" +
                   platform::DateToText(s.endDate) + "#";
        } else {
            sql += " and month(start_date) = '" + std::to_string(s.startDate.month) +
                   "' and day(start_date) = '" + std::to_string(s.startDate.day) +
                   "' and year(start_date) = '" + std::to_string(s.startDate.year) + "'";
        }
    }
    // The comment is matched as typed: its quotes and wildcards are not the query's.
    if (platform::CharacterCount(s.comment) >= 2)
        sql += " and comment like " + SqlQuote("*" + platform::LikeLiteral(s.comment) + "*") + " ";
    if (platform::IsNumeric(s.depth)) sql += " and sample_depth = " + s.depth + " ";
    if (s.project) sql += " and project_code = " + SqlQuote(*s.project) + " ";
    if (s.station) {
        if (!platform::IsWholeNumber(*s.station)) return std::nullopt;
        sql += " and station_id = " + *s.station + " ";
    }
    if (s.sampleType) sql += " and sample_type = " + SqlQuote(*s.sampleType) + " ";
    if (s.compositeStatistic)
        sql += " and composite_statistic_code = " + SqlQuote(*s.compositeStatistic) + " ";
    if (s.medium) sql += " and medium = " + SqlQuote(*s.medium) + " ";
    return sql;
}

namespace {

// The field's value, or the classic "Invalid use of Null" when it has none.
platform::Variant notNull(platform::Recordset& rs, const char* field) {
    platform::Variant v = rs.Fields(field).Value();
    if (v.isNull())
        throw platform::EngineError(platform::err::InvalidUseOfNull, "Invalid use of Null");
    return v;
}

}  // namespace

void frmDataLoader::cmdLocate_Click() {
    if (rsLocate) rsLocate->Close();
    platform::Hourglass wait(*this);

    SampleSearch search;
    search.sampleNumber = txtSampleNum.Text();
    search.startDate = DTPicker2.Value();
    search.endDate = DTPicker3.Value();
    search.comment = txtcomment.Text();
    search.depth = txtSample_Depth.Text();
    search.project = SelectedCode(cmbProject_Code);
    search.station = SelectedCode(cmbStation_id);
    search.sampleType = SelectedCode(CMBSample_Type);
    search.compositeStatistic = SelectedCode(CmbComposite_Statistic);
    search.medium = SelectedCode(cmbMedium);
    const auto sql = SampleLocateSql(search, platform::DateTime::now());

    // A search that finds nothing, for whatever reason, leaves the tab as it is.
    if (!sql) return;
    try {
        rsLocate = store::requireDb().OpenRecordset(*sql);
    } catch (const platform::EngineError&) {
        rsLocate.reset();
        return;
    }
    if (rsLocate->Eof()) return;

    cmddeleteS.SetVisible(true);
    CmdAddSample.SetCaption("Update");
    rsLocate->MoveFirst();
    showLocatedSample(false);
}

void frmDataLoader::showLocatedSample(bool fromStep) {
    platform::Recordset& rs = *rsLocate;
    // From Locate every piece that fails is skipped.
    auto piece = [](auto&& show) {
        try {
            show();
        } catch (const platform::EngineError&) {
        }
    };
    auto showCode = [&] { txtSampleNum.SetText(notNull(rs, "sample_code").toText()); };
    auto showEndDate = [&] {
        const platform::Variant end = rs.Fields("end_date").Value();
        if (!end.isDate()) return;
        DTPicker3.SetValue(end.toDate());
        DTPicker4.SetValue(end.toDate());
        Check2.SetValue(1);
    };
    auto showStartDate = [&] {
        const platform::DateTime start = notNull(rs, "start_date").toDate();
        DTPicker2.SetValue(start);
        DTPicker1.SetValue(start);
    };
    auto showComment = [&] { txtcomment.SetText(notNull(rs, "comment").toText()); };
    auto markEdited = [&] { Label24.SetCaption(notNull(rs, "sample_code").toText()); };
    auto showMissingTime = [&] {
        if (rs.Fields("missing_time").Value().toText() == "Y") {
            Check1.SetValue(1);
            DTPicker1.SetVisible(false);
        } else {
            DTPicker1.SetVisible(true);
        }
    };
    auto showDepth = [&] {
        const platform::Variant depth = rs.Fields("sample_depth").Value();
        if (!depth.isNull()) txtSample_Depth.SetText(depth.toText());
    };
    struct ListColumn {
        platform::ComboBox& list;
        const char* column;
    };
    const ListColumn lists[] = {{CMBSample_Type, "sample_type"},
                                {cmbProject_Code, "project_code"},
                                {cmbStation_id, "station_id"},
                                {CmbComposite_Statistic, "composite_statistic_code"},
                                {cmbMedium, "medium"}};

    if (fromStep) {
        // Past either end the code cannot be read and nothing changes. Once it is read the
        // load goes to the end: a load stopped half-way would show one sample under another's
        // number, and a save would write it over that other sample. So a step shows a sample
        // without a comment with an empty comment box, and one without a start date keeps the
        // pickers.
        // Nor may the sample stepped from lend its end date, missing time or depth to
        // this one: Update would write them into it.
        const std::string code = notNull(rs, "sample_code").toText();
        txtSampleNum.SetText(code);
        if (!rs.Fields("end_date").Value().isDate()) Check2.SetValue(0);
        showEndDate();
        if (!rs.Fields("start_date").Value().isNull()) showStartDate();
        txtcomment.SetText(rs.Fields("comment").Value().toText());
        Label24.SetCaption(code);
        if (rs.Fields("missing_time").Value().toText() != "Y") Check1.SetValue(0);
        showMissingTime();
        txtSample_Depth.SetText(rs.Fields("sample_depth").Value().toText());
        // A list without the sample's entry ends with no selection.
        for (const auto& l : lists) {
            l.list.SetListIndex(-1);
            SelectEntryOfCode(l.list, rs.Fields(l.column).Value());
        }
        return;
    }
    piece(showEndDate);
    piece(showStartDate);
    piece(showComment);
    piece(markEdited);
    piece(showCode);
    piece(showMissingTime);
    // All stations, so the sample's station is in the list whatever its project.
    piece([&] { Check11.SetValue(1); });
    piece(showDepth);
    for (const auto& l : lists)
        piece([&] { SelectEntryOfCode(l.list, rs.Fields(l.column).Value()); });
}

void frmDataLoader::stepLocated(bool forward) {
    platform::Hourglass wait(*this);
    try {
        platform::Recordset& rs = platform::OpenSet(rsLocate);
        if (forward ? rs.Eof() : rs.Bof()) return;
        if (forward)
            rs.MoveNext();
        else
            rs.MovePrevious();
        showLocatedSample(true);
    } catch (const platform::EngineError&) {
        SetMousePointer(0);
        platform::MsgBox("Error Encountered");
    }
}

void frmDataLoader::cmdNextRecord_Click() { stepLocated(true); }

void frmDataLoader::cmdPreviousRecord_Click() { stepLocated(false); }

void frmDataLoader::cmddeleteS_Click() {
    // Only the sample on show is ever deleted.
    platform::Variant code;
    try {
        if (rsLocate && rsLocate->IsOpen() && !rsLocate->Eof() && !rsLocate->Bof())
            code = rsLocate->Fields("sample_code").Value();
    } catch (const platform::EngineError&) {
        code = platform::Variant();
    }
    if (code.isNull()) {
        platform::MsgBox(
            "There is no sample on show to delete. Use Locate Records to find the sample first.",
            platform::mb::Exclamation);
        return;
    }
    if (platform::MsgBox("Delete this sample and the matching results?", platform::mb::OKCancel) !=
        platform::mb::OK) {
        platform::MsgBox("Delete Cancelled");
        return;
    }

    // The sample goes with all of its results, or nothing goes.
    platform::Database& db = store::requireDb();
    const std::string sampleCode = platform::NumberToText(code.toInteger());
    {
        platform::Hourglass wait(*this);
        try {
            db.BeginTrans();
            for (const char* table : {store::table::Results, store::table::ResultsNonNumeric,
                                      store::table::Replicates}) {
                rsLookup = db.OpenRecordset(std::string("select * from ") + table +
                                            " where idloc = 'V' and sample_code = " + sampleCode);
                while (!rsLookup->Eof()) {
                    rsLookup->Delete();
                    rsLookup->MoveNext();
                }
                rsLookup->Close();
            }
            rsLocate->Delete();
            db.CommitTrans();
        } catch (const platform::EngineError& e) {
            if (db.InTransaction()) db.Rollback();
            SetMousePointer(0);
            platform::MsgBox("Sample " + sampleCode + " was not deleted.\n\n" + e.Description(),
                             platform::mb::Exclamation);
            return;
        }
    }
    cmdClear_Click();
    platform::MsgBox("Records Deleted");
}

}  // namespace loader
