// Shared pieces of the "Results" tab's tests: the header on show, a window with a sample
// found, and one stored result read back as text.
#pragma once

#include <ostream>
#include <string>

#include "LoaderTestSupport.h"

namespace loader_test {

struct Header {
    std::string code, project, station, date, medium, type, depth;
    bool operator==(const Header&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Header& h) {
    return os << "{" << h.code << " | " << h.project << " | " << h.station << " | " << h.date
              << " | " << h.medium << " | " << h.type << " | " << h.depth << "}";
}

inline Header HeaderOf(const loader::frmDataLoader& f) {
    return {f.lblCode.Caption(), f.lblProject.Caption(), f.lblStation.Caption(),
            f.lblDate.Caption(), f.lblMedium.Caption(),  f.lblSampleType.Caption(),
            f.lblDepth.Caption()};
}

// The code of the selected entry, "" when none is selected.
inline std::string SelectedOf(const platform::ComboBox& list) {
    const int i = list.ListIndex();
    return i < 0 ? "" : platform::LookupCode(list.List(i)).value_or("");
}

class ResultsTest : public LoaderTest {
  protected:
    // The entry controls: value, grade, comment, parameter code, remark code.
    struct Shown {
        std::string value, grade, comment, parameter, remark;
        bool operator==(const Shown&) const = default;
    };
    Shown Showing(const loader::frmDataLoader& f) {
        return {f.txtResult_value.Text(), f.TXTGrade.Text(), f.txtCommentResult.Text(),
                SelectedOf(f.cmbParameter), SelectedOf(f.cmbRemark_code)};
    }
    // Editing a located result, or entering a new one after a clear.
    void ExpectEditing(const loader::frmDataLoader& f, bool editing, const std::string& when) {
        EXPECT_EQ(f.cmdAddResult.Caption(), editing ? "Update" : "Add") << when;
        EXPECT_EQ(f.cmdDeleteR.Visible(), editing) << when;
        EXPECT_EQ(f.cmbParameter.Enabled(), !editing) << when;
    }

    // The window with hand-entered sample `code` found by number and every parameter listed.
    loader::frmDataLoader& OpenOn(const std::string& code) {
        auto& f = Open();
        f.Check13.SetValue(1);
        f.txtResultSampleNum.SetText(code);
        f.cmdFindSample_Click();
        dialogs->clear();
        return f;
    }

    // "value|remark|grade", plus "|comments" for the numeric table; a Null reads "~".
    std::string Row(const std::string& table, int sample, int parameter) {
        const std::string from = " from " + table +
                                 " where idloc = 'V' and sample_code = " + std::to_string(sample) +
                                 " and parameter_code = " + std::to_string(parameter);
        auto text = [&](const char* column) {
            const platform::Variant v = Value(std::string("select ") + column + from);
            return v.isNull() ? std::string("~") : v.toText();
        };
        std::string row = text("result_value") + "|" + text("remark_code") + "|" + text("grade");
        if (table == "tblresults") row += "|" + text("comments");
        return row;
    }

    // Rows of this sample and parameter over the three result tables.
    long long Stored(int sample, int parameter) {
        const std::string where = "idloc = 'V' and sample_code = " + std::to_string(sample) +
                                  " and parameter_code = " + std::to_string(parameter);
        return Count("tblresults", where) + Count("tblresults_val_nonnumeric", where) +
               Count("tblreplicates", where);
    }
};

}  // namespace loader_test
