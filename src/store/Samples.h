#pragma once

#include <optional>
#include <string>

#include "Records.h"
#include "Variant.h"

namespace platform {
class Database;
}  // namespace platform

namespace store {

// The hand-entered samples: storing, rewriting and deleting one, and the searches of the
// "Sample" tab and of the "Results" tab's sample finder. Throws Refused for what the user
// can correct; engine failures come through as platform::EngineError.
class Samples {
  public:
    static constexpr long long kLastCode = 32767;  // sample codes are 16-bit

    explicit Samples(platform::Database& db) : db_(db) {}

    // Stores the sample under the highest hand-entered code plus one (1 for the first),
    // read and written in one write transaction so two programs never take the same code.
    // Gives the sample with its code. Refused past kLastCode.
    Sample Add(Sample sample);
    // The code of a hand-entered sample taken at the same station, start date and time, in
    // the same medium and of the same sample type: the sample keyed once already.
    std::optional<long long> SameAs(const Sample& sample);
    // Rewrites sample `sample.code` in place. Refused when it is no longer stored.
    void Update(const Sample& sample);
    // Deletes the sample with its results, text results and replicates, all or nothing.
    // A sample already gone is the error "Record is deleted.".
    void Delete(long long code);

    // The samples the filter describes. A field counts only when filled: a number, a start
    // date more than a day before `now` (that day, or up to the end date when that too lies
    // more than a day back), a comment of two characters or more (contained, as typed), a
    // numeric depth, a chosen entry. A number or station that is not a whole number
    // matches nothing.
    Cursor<Sample> Locate(const SampleFilter& filter, const platform::DateTime& now);
    // The sample finder: by number when one is typed (blanks count), else by the day of
    // `day`. Refused for a number that is not whole.
    Cursor<Sample> Find(const std::string& number, const platform::DateTime& day);
    // Moves the found set one row and reads that row afresh: a sample changed since shows
    // as stored now, one deleted since is passed over. Past either end, as Cursor moves.
    void Step(Cursor<Sample>& found, bool forward);

    // "code-description" as the "Results" tab's header shows it (a Null description gives
    // "code-"); nothing when the table has no row of that code.
    std::optional<std::string> ProjectText(const std::string& code);
    std::optional<std::string> StationText(const std::string& code);
    std::optional<std::string> MediumText(const std::string& code);
    std::optional<std::string> SampleTypeText(const std::string& code);

  private:
    Cursor<Sample> read(const std::string& sql, const std::vector<platform::Variant>& values);
    std::optional<Sample> stored(long long code);
    static std::vector<const char*> write(const Sample& sample, bool adding,
                                          std::vector<platform::Variant>& values);
    // "code-description" of the row of `table` whose `codeColumn` is `code`, the code shown
    // as typed when `shownCode` is given.
    std::optional<std::string> describe(const char* table, const char* codeColumn,
                                        const platform::Variant& code, const char* column,
                                        const std::string& shownCode = {});

    platform::Database& db_;
};

}  // namespace store
