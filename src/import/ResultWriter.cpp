#include "ResultWriter.h"

#include <optional>
#include <string>

#include "Conversions.h"
#include "Database.h"
#include "Journal.h"
#include "Statement.h"

namespace import {

namespace {

using platform::Statement;
using platform::Variant;
using store::ResultKind;

// Rows per multi-row insert: past a few dozen the statement's own cost no longer shows.
constexpr size_t kBatchRows = 64;

std::unique_ptr<Statement> statement(platform::Database& db, const std::string& sql) {
    return std::make_unique<Statement>(db, sql);
}

std::string dropResult(const char* table) {
    return std::string("delete from ") + table +
           " where idloc = 'V' and sample_code = ? and parameter_code = ?";
}

Variant orNull(const std::optional<std::string>& text) { return text ? Variant(*text) : Variant(); }

}  // namespace

// The rows of one results table waiting for their insert, new or replacing. New rows go in
// "or fail": a multi-row insert that may undo its own rows takes a statement journal, which
// spills to a file; a clash (never expected, the rows are checked) still fails the import.
class ResultWriter::Batch {
  public:
    Batch(platform::Database& db, std::string table, bool numeric, bool replacing);
    ~Batch();
    void Add(const CheckedRow& row);
    void Write();

  private:
    struct Held {
        long long sample = 0, parameter = 0;
        double number = 0;
        std::string value, grade, comment;
        std::optional<std::string> remark;
    };
    std::string insert(size_t rows) const;
    void bind(Statement& s, size_t row) const;

    platform::Database& db_;
    std::string table_;
    bool numeric_, replacing_;
    std::vector<Held> held_;
    size_t count_ = 0;
    std::unique_ptr<Statement> full_;
};

ResultWriter::Batch::Batch(platform::Database& db, std::string table, bool numeric, bool replacing)
    : db_(db),
      table_(std::move(table)),
      numeric_(numeric),
      replacing_(replacing),
      held_(kBatchRows) {}

ResultWriter::Batch::~Batch() = default;

std::string ResultWriter::Batch::insert(size_t rows) const {
    std::string sql = std::string(replacing_ ? "insert or replace into " : "insert or fail into ") +
                      table_ +
                      " (idloc, sample_code, parameter_code, result_value, remark_code, grade" +
                      (numeric_ ? ", comments) values " : ") values ");
    const char* row = numeric_ ? "('V', ?, ?, ?, ?, ?, ?)" : "('V', ?, ?, ?, ?, ?)";
    for (size_t i = 0; i < rows; ++i) sql += (i ? ", " : "") + std::string(row);
    return sql;
}

void ResultWriter::Batch::Add(const CheckedRow& row) {
    Held& h = held_[count_];
    const store::Result& r = row.result;
    h.sample = row.sample;
    h.parameter = row.parameter;
    h.number = row.number;
    h.value = r.value;
    h.remark = r.remarkCode;
    h.grade = r.grade;
    h.comment = r.comment;
    if (++count_ == held_.size()) Write();
}

void ResultWriter::Batch::bind(Statement& s, size_t row) const {
    const Held& h = held_[row];
    int at = static_cast<int>(row) * (numeric_ ? 6 : 5);
    s.Bind(++at, h.sample);
    s.Bind(++at, h.parameter);
    if (numeric_)
        s.Bind(++at, h.number);
    else
        s.Bind(++at, std::string_view(h.value));
    if (h.remark)
        s.Bind(++at, std::string_view(*h.remark));
    else
        s.BindNull(++at);
    s.Bind(++at, std::string_view(h.grade));
    if (numeric_) s.Bind(++at, std::string_view(h.comment));
}

void ResultWriter::Batch::Write() {
    if (count_ == 0) return;
    std::unique_ptr<Statement> tail;
    if (count_ < held_.size())
        tail = statement(db_, insert(count_));
    else if (!full_)
        full_ = statement(db_, insert(count_));
    Statement& s = tail ? *tail : *full_;
    for (size_t i = 0; i < count_; ++i) bind(s, i);
    count_ = 0;
    s.Step();
}

ResultWriter::ResultWriter(platform::Database& db, store::JournaledWrite* journal)
    : db_(db),
      journal_(journal),
      sample_(statement(db,
                        "insert into tblsample (idloc, sample_code, project_code, station_id, "
                        "start_date, missing_time, medium, sample_type) "
                        "values ('V', ?, ?, ?, ?, 'N', ?, ?)")),
      dropNumeric_(statement(db, dropResult("tblresults"))),
      dropText_(statement(db, dropResult("tblresults_val_nonnumeric"))) {
    for (bool replacing : {false, true}) {
        batches_.push_back(std::make_unique<Batch>(db, "tblresults", true, replacing));
        batches_.push_back(
            std::make_unique<Batch>(db, "tblresults_val_nonnumeric", false, replacing));
        batches_.push_back(std::make_unique<Batch>(db, "tblreplicates", false, replacing));
    }
}

ResultWriter::~ResultWriter() = default;

void ResultWriter::Write(const CheckedRow& row) {
    if (row.mark == Mark::Refused) return;
    const store::Result& r = row.result;
    const Variant sample(row.sample);
    if (const auto& s = row.newSample)
        sample_->Run({sample, orNull(s->project), Variant(std::stoll(*s->station)),
                      Variant(*s->start), orNull(s->medium), orNull(s->sampleType)});
    // The one result of the other kind goes, as when the value is keyed in.
    if (row.replacedKind && *row.replacedKind != r.kind) {
        Statement& drop = *row.replacedKind == ResultKind::Numeric ? *dropNumeric_ : *dropText_;
        drop.Run({sample, Variant(row.parameter)});
    }
    batches_[static_cast<size_t>(r.kind) + (row.mark == Mark::Replaces ? 3 : 0)]->Add(row);
    if (journal_ && ++written_ % 1000 == 0) journal_->Flush();
}

void ResultWriter::Finish() {
    for (auto& batch : batches_) batch->Write();
}

}  // namespace import
