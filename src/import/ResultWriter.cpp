#include "ResultWriter.h"

#include "Conversions.h"
#include "Database.h"
#include "Journal.h"
#include "Statement.h"

namespace import {

namespace {

using platform::Statement;
using platform::Variant;
using store::ResultKind;

std::unique_ptr<Statement> statement(platform::Database& db, const std::string& sql) {
    return std::make_unique<Statement>(db, sql);
}

std::string insertResult(const char* table, bool comments) {
    return std::string("insert or replace into ") + table +
           " (idloc, sample_code, parameter_code, result_value, remark_code, grade" +
           (comments ? ", comments) values ('V', ?, ?, ?, ?, ?, ?)"
                     : ") values ('V', ?, ?, ?, ?, ?)");
}

std::string dropResult(const char* table) {
    return std::string("delete from ") + table +
           " where idloc = 'V' and sample_code = ? and parameter_code = ?";
}

Variant orNull(const std::optional<std::string>& text) { return text ? Variant(*text) : Variant(); }

}  // namespace

ResultWriter::ResultWriter(platform::Database& db, store::JournaledWrite* journal)
    : db_(db),
      journal_(journal),
      sample_(statement(db,
                        "insert into tblsample (idloc, sample_code, project_code, station_id, "
                        "start_date, missing_time, medium, sample_type) "
                        "values ('V', ?, ?, ?, ?, 'N', ?, ?)")),
      numeric_(statement(db, insertResult("tblresults", true))),
      text_(statement(db, insertResult("tblresults_val_nonnumeric", false))),
      replicate_(statement(db, insertResult("tblreplicates", false))),
      dropNumeric_(statement(db, dropResult("tblresults"))),
      dropText_(statement(db, dropResult("tblresults_val_nonnumeric"))) {}

ResultWriter::~ResultWriter() = default;

void ResultWriter::Write(const CheckedRow& row) {
    if (row.mark == Mark::Refused) return;
    const store::Result& r = row.result;
    const Variant sample(row.sample);
    const Variant parameter(row.parameter);
    if (const auto& s = row.newSample)
        sample_->Run({sample, orNull(s->project), Variant(std::stoll(*s->station)),
                      Variant(*s->start), orNull(s->medium), orNull(s->sampleType)});
    // The one result of the other kind goes, as when the value is keyed in.
    if (row.replacedKind && *row.replacedKind != r.kind) {
        Statement& drop = *row.replacedKind == ResultKind::Numeric ? *dropNumeric_ : *dropText_;
        drop.Run({sample, parameter});
    }
    switch (r.kind) {
        case ResultKind::Numeric:
            numeric_->Run({sample, parameter, Variant(row.number), orNull(r.remarkCode),
                           Variant(r.grade), Variant(r.comment)});
            break;
        case ResultKind::Text:
            text_->Run(
                {sample, parameter, Variant(r.value), orNull(r.remarkCode), Variant(r.grade)});
            break;
        case ResultKind::Replicate:
            replicate_->Run(
                {sample, parameter, Variant(r.value), orNull(r.remarkCode), Variant(r.grade)});
            break;
    }
    if (journal_ && ++written_ % 1000 == 0) journal_->Flush();
}

}  // namespace import
