// The sample finder of the "Results" tab: a hand-entered sample by number or by day, shown
// in the tab's header; results are keyed for the sample shown.
#include "SampleFinder.h"

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "frmDataLoader.h"

namespace loader {

std::optional<std::string> SampleFinderSql(const std::string& number,
                                           const platform::DateTime& day) {
    if (!number.empty()) {
        if (!platform::IsWholeNumber(number)) return std::nullopt;
        return "select * from tblsample where sample_code = " + number + " and idloc = 'V'";
    }
    return "select * from tblsample where month(start_date) = '" + std::to_string(day.month) +
           "' and day(start_date)  = '" + std::to_string(day.day) + "' and year(start_date)  = '" +
           std::to_string(day.year) + "' and idloc = 'V'";
}

namespace {

// "code-description" from the one row of a description lookup; no row is an error.
std::string describe(std::unique_ptr<platform::Recordset>& rs, platform::Database& db,
                     const std::string& sql, const std::string& code, const char* column) {
    rs = db.OpenRecordset(sql);
    rs->MoveFirst();
    std::string text = code + "-" + rs->Fields(column).Value().toText();
    rs->Close();
    return text;
}

// The field's text; a Null is the classic "Invalid use of Null".
std::string required(platform::Recordset& rs, const char* field) {
    platform::Variant v = rs.Fields(field).Value();
    if (v.isNull())
        throw platform::EngineError(platform::err::InvalidUseOfNull, "Invalid use of Null");
    return v.toText();
}

}  // namespace

void frmDataLoader::showBrowsedSample(bool moveDatePicker) {
    platform::Database& db = store::requireDb();
    platform::Recordset& rs = *rsBrowse;
    lblCode.SetCaption(required(rs, "sample_code"));
    if (moveDatePicker) {
        const platform::Variant start = rs.Fields("start_date").Value();
        if (start.isNull())
            throw platform::EngineError(platform::err::InvalidUseOfNull, "Invalid use of Null");
        DTPicker5.SetValue(start.toDate());
    }
    // Each label shows the bare code first, then code and description; a lookup that fails
    // leaves the code on show and stops the display there.
    const std::string project = required(rs, "project_code");
    lblProject.SetCaption(project);
    lblProject.SetCaption(describe(
        rsLookup, db,
        "select * from tblprojects_programs where project_code = " + platform::SqlQuote(project),
        project, "program_project"));
    const std::string station = required(rs, "station_id");
    lblStation.SetCaption(station);
    if (!platform::IsWholeNumber(station))
        throw platform::EngineError(platform::err::TypeMismatch, "Type mismatch");
    lblStation.SetCaption(
        describe(rsLookup, db, "select * from tblstation_information where station_id = " + station,
                 station, "place_name_description"));
    lblDate.SetCaption(required(rs, "start_date"));
    const std::string medium = required(rs, "medium");
    lblMedium.SetCaption(medium);
    lblMedium.SetCaption(describe(
        rsLookup, db, "select * from tblmedium where medium = " + platform::SqlQuote(medium),
        medium, "medium_description"));
    const std::string sampleType = required(rs, "sample_type");
    lblSampleType.SetCaption(sampleType);
    lblSampleType.SetCaption(describe(
        rsLookup, db,
        "select * from tblsample_type where sample_type = " + platform::SqlQuote(sampleType),
        sampleType, "Sample_Type_Description"));
    const platform::Variant depth = rs.Fields("sample_depth").Value();
    if (!depth.isNull()) lblDepth.SetCaption(depth.toText());
}

void frmDataLoader::cmdFindSample_Click() {
    cmdClearResults_Click();
    const auto sql = SampleFinderSql(txtResultSampleNum.Text(), DTPicker5.Value());
    if (!sql) {
        platform::MsgBox(
            "The sample number \"" + txtResultSampleNum.Text() + "\" is not a whole number.",
            platform::mb::Exclamation);
        return;
    }
    // A query that fails is tried once more, as a file another program has just locked
    // may be free again; a second failure ends the search with the reason.
    for (int attempt = 0;; ++attempt) {
        try {
            if (rsBrowse && rsBrowse->IsOpen()) rsBrowse->Close();
            rsBrowse = store::requireDb().OpenRecordset(*sql);
            break;
        } catch (const platform::EngineError& e) {
            rsBrowse.reset();
            if (attempt == 1) {
                platform::MsgBox("The sample could not be searched for.\n\n" + e.Description(),
                                 platform::mb::Exclamation);
                return;
            }
        }
    }
    // From here a failure ends the search silently, the labels already written showing the
    // new sample.
    try {
        if (rsBrowse->Eof()) return;
        rsBrowse->MoveFirst();
        showBrowsedSample(true);
        if (!rsBrowse->Eof()) cmdNext.SetEnabled(true);
        if (!rsBrowse->Bof()) cmdPrevious.SetEnabled(true);
    } catch (const platform::EngineError&) {
    }
}

void frmDataLoader::cmdNext_Click() {
    try {
        cmdClearResults_Click();
        platform::OpenSet(rsBrowse).MoveNext();
        showBrowsedSample(false);
        cmdNext.SetEnabled(!rsBrowse->Eof());
        cmdPrevious.SetEnabled(true);
    } catch (const platform::EngineError&) {
        platform::MsgBox("No More Records");
    }
}

void frmDataLoader::cmdPrevious_Click() {
    try {
        cmdClearResults_Click();
        platform::OpenSet(rsBrowse).MovePrevious();
        showBrowsedSample(false);
        cmdPrevious.SetEnabled(!rsBrowse->Bof());
        cmdNext.SetEnabled(!rsBrowse->Eof());
    } catch (const platform::EngineError&) {
        platform::MsgBox("No Previous Record");
    }
}

}  // namespace loader
