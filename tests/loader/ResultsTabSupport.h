// Shared pieces of the "Results" tab's tests: the header on show, a window with a sample
// found, and one stored result read back as text.
#pragma once

#include <ostream>
#include <string>

#include "LoaderTestSupport.h"
#include "LookupLists.h"
#include "RowStream.h"

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
inline std::string SelectedOf(const controls::ComboBox& list) {
    return loader::SelectedCode(list).value_or("");
}

// The "Results" tab over a file holding only what its tests use: sample 1 of project 8 with
// three numeric results, four parameters, and remarks of which one holds '-'.
class ResultsTest : public LoaderTest {
  protected:
    bool demo() const override { return false; }
    void SetUp() override {
        LoaderTest::SetUp();
        db->ExecuteNative(
            "insert into tblprojects_programs (project_code, program_project) values "
            "('8', 'Statewide');"
            "insert into tblstation_information (station_id, place_name_description) values "
            "(109, 'Logan River');"
            "insert into tblmedium values ('W', 'Water');"
            "insert into tblsample_type values ('G', 'Grab');"
            "insert into tblresults_remarks values ('<', 'Less'), ('J-', 'Low'), ('J', 'Est');"
            "insert into TBLParameter_Codes values (10, 'Temp', 'Temperature'),"
            "(95, 'Cond', 'Specific conductance'), (300, 'DO', 'Oxygen, dissolved'),"
            "(400, 'pH', 'pH'), (99001, 'ONI', 'O''Neil index');"
            "insert into tblsample (idloc, sample_code, project_code, station_id, start_date,"
            " medium, sample_type) values ('V', 1, '8', 109, '2005-06-07 14:05:00', 'W', 'G');"
            "insert into tblresults values ('V', 1, 10, 1.4, NULL, 'A', 'bank'),"
            "('V', 1, 95, 892, '<', 'B', 'bank lab'), ('V', 1, 300, 8.4, NULL, NULL, 'bank "
            "meter');");
    }

    // The entry controls: value, grade, comment, parameter code, remark code.
    struct Shown {
        std::string value, grade, comment, parameter, remark;
        bool operator==(const Shown&) const = default;
        friend std::ostream& operator<<(std::ostream& os, const Shown& s) {
            return os << s.value << "|" << s.grade << "|" << s.comment << "|" << s.parameter << "|"
                      << s.remark;
        }
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

    // "value|remark|grade", plus "|comments" for the numeric table; a Null reads "~", no
    // row "".
    std::string Row(const std::string& table, int sample, int parameter) {
        platform::RowStream rs(*db,
                               "select * from " + table +
                                   " where idloc = ? and sample_code = ? and parameter_code = ?",
                               {"V", sample, parameter});
        if (!rs.Next()) return "";
        auto text = [&](const char* column) {
            const platform::Variant v = rs.Value(column);
            return v.isNull() ? std::string("~") : v.toText();
        };
        std::string row = text("result_value") + "|" + text("remark_code") + "|" + text("grade");
        if (table == "tblresults") row += "|" + text("comments");
        return row;
    }
};

}  // namespace loader_test
