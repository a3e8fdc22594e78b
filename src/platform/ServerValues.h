#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "FieldCoding.h"
#include "Variant.h"

namespace platform {

// A value as a server sends it (text) read by its column's kind: numbers and booleans
// typed, dates and everything else as text.
Variant ServerValue(std::string_view text, ColumnKind kind);
// A value as a server parameter's text; nullopt for Null. Reals are written so they read
// back exactly, dates in the stored form.
std::optional<std::string> ServerText(const Variant& v);

}  // namespace platform
