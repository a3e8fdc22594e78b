#pragma once

#include <string>

#include "Records.h"
#include "Variant.h"

namespace platform {
class Database;
}

namespace store {

// The lookup lists the windows offer, each entry with its code and description apart.
// A Null code or description reads as empty text.
class Lookups {
  public:
    explicit Lookups(platform::Database& db) : db_(db) {}

    LookupEntries Projects();
    LookupEntries Media();
    LookupEntries SampleTypes();
    LookupEntries CompositeStatistics();
    LookupEntries Remarks();

    // Every station, by place name.
    LookupEntries Stations();
    // The stations at which samples of the project were taken, from every source; a sample
    // whose station is missing from the station table gives an entry without a code.
    LookupEntries StationsOfProject(const std::string& projectCode);

    // The parameter short list: each parameter with a numeric result on a sample of
    // project '8', from every source.
    LookupEntries ParameterShortList();
    LookupEntries Parameters();
    // The parameters whose full name contains the text; '*' and '?' in it stay wildcards.
    LookupEntries ParametersNamed(const std::string& fullNamePart);

  private:
    LookupEntries read(const std::string& sql, const std::vector<platform::Variant>& values,
                       const char* codeColumn, const char* descriptionColumn);
    LookupEntries table(const char* name, const char* codeColumn, const char* descriptionColumn);

    platform::Database& db_;
};

}  // namespace store
