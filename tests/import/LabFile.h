// A database with a few stations, parameters, remarks and hand-entered samples, and a lab
// file of a few hundred rows for it: one refused row, one replacement, one replicate.
#pragma once

#include <string>

#include "Database.h"
#include "EngineSupport.h"

namespace lab {

// Stations 101 and 102; parameters 10 (Temp), 300 (DO), 400 (pH) and 1000 to 1299; remarks
// "<" and "J"; hand-entered samples 1 (101, 6/7/2005 2:05 PM) with pH 7.1 and the text
// result ICE for Temp, and 2 (102, 6/8/2005 9:00 AM); another source's sample 3.
inline std::shared_ptr<platform::Database> Database(const std::string& path) {
    auto db = testing_support::EmptyDatabase(path);
    std::string sql =
        "insert into tblstation_information (station_id) values (101), (102);"
        "insert into TBLParameter_Codes values (10, 'Temp', 'Temperature'), (300, 'DO', 'Oxygen'),"
        " (400, 'pH', 'pH');"
        "insert into tblresults_remarks values ('<', 'below'), ('J', 'estimated');"
        "insert into tblprojects_programs (project_code) values ('P1');"
        "insert into tblmedium (medium) values ('W');"
        "insert into tblsample_type (sample_type) values ('G');"
        "insert into tblsample (idloc, sample_code, station_id, start_date) values"
        " ('V', 1, 101, '2005-06-07 14:05:00'), ('V', 2, 102, '2005-06-08 09:00:00'),"
        " ('S', 3, 101, '2001-01-01 00:00:00');"
        "insert into tblresults values ('V', 1, 400, 7.1, NULL, 'A', 'field');"
        "insert into tblresults_val_nonnumeric values ('V', 1, 10, 'ICE', NULL, 'A');";
    for (int p = 1000; p < 1300; ++p)
        sql += "insert into TBLParameter_Codes values (" + std::to_string(p) + ", 'P" +
               std::to_string(p) + "', NULL);";
    db->ExecuteNative("begin;" + sql + "commit;");
    return db;
}

inline constexpr const char* kHeader =
    "sample_code,station_id,start_date,parameter_code,result_value,remark_code,grade,comments,"
    "replicate";
inline constexpr long long kNumeric = 302, kText = 2, kReplicates = 1, kRefused = 1;

// Sample 2's 300 numbered parameters by code, then sample 1: pH by short name replacing 7.1,
// a pH replicate, a number replacing the text ICE (the sample named by station and date), a
// text value, and a short row with an unknown remark.
inline std::string File(const std::string& lineEnd = "\n") {
    std::string text = std::string(kHeader) + lineEnd;
    for (int p = 1000; p < 1300; ++p)
        text += "2,,," + std::to_string(p) + "," + std::to_string(p % 97) + ".5,,A,," + lineEnd;
    text += "1,,,PH,7.3,J,B,\"lab, re-run\"," + lineEnd;
    text += "1,,,400,7.2,,,,yes" + lineEnd;
    text += ",101,6/7/2005 2:05:00 PM,10,18,,,," + lineEnd;
    text += ",101,2005-06-07 14:05:00,300,<0.5,<,,," + lineEnd;
    text += "2,,,400,6.9,Q" + lineEnd;  // short: a lab may leave the empty columns off
    text += "2,,,DO,\"n/a\",,,," + lineEnd;
    return text;
}

}  // namespace lab
