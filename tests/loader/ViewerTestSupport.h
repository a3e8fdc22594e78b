// Shared pieces of the viewer tabs' tests: grid rows read back as text.
#pragma once

#include <string>
#include <vector>

#include "LoaderTestSupport.h"

namespace loader_test {

// The cells of one grid row joined by '|'.
inline std::string RowText(const platform::MSFlexGrid& g, long long row) {
    std::string line;
    for (int c = 0; c < g.Cols(); ++c) line += (c ? "|" : "") + g.TextMatrix(row, c);
    return line;
}

// One column's cells from `firstRow` down.
inline std::vector<std::string> Column(const platform::MSFlexGrid& g, int col,
                                       long long firstRow = 2) {
    std::vector<std::string> out;
    for (long long r = firstRow; r < g.Rows(); ++r) out.push_back(g.TextMatrix(r, col));
    return out;
}

// Every row from `firstRow` down, as RowText gives it.
inline std::vector<std::string> Rows(const platform::MSFlexGrid& g, long long firstRow = 2) {
    std::vector<std::string> out;
    for (long long r = firstRow; r < g.Rows(); ++r) out.push_back(RowText(g, r));
    return out;
}

}  // namespace loader_test
