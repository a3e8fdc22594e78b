#pragma once

// The stations and parameters a user types into the review window's scope boxes.

#include <string>
#include <vector>

#include "Review.h"

namespace platform {
class Database;
}

namespace review {

// Station IDs, comma or blank apart; Refused, naming the word, for one that is no whole
// number. None for an empty box.
std::vector<std::string> StationsListed(const std::string& text);

// Parameter codes or short names, comma or blank apart, as their codes. A piece between
// commas is first taken whole, so a short name holding a blank ("E. coli") is found when it
// stands between commas. Refused, naming the word, for one that names no parameter.
std::vector<std::string> ParametersListed(platform::Database& db, const std::string& text);

// The scope in words: "Project 8, stations 101 and 102, every parameter, 1/1/2003 to
// 12/31/2003, hand-entered results only".
std::string ScopeWords(const store::ReviewScope& scope);

}  // namespace review
