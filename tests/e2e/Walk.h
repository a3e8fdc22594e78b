// The office the walks happen in: a data file with the few projects, stations, lists and
// samples a day's work needs, remembered in datalocation.txt, and the program started on it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "App.h"
#include "AppSupport.h"
#include "Connection.h"
#include "Database.h"
#include "MDIMain.h"
#include "TestSupport.h"
#include "UserActions.h"
#include "Windows.h"

namespace e2e {

// Two hand-entered samples of one day (codes 1 and 2) and one of another source, whose
// numeric results put all four parameters on the short list of project 8.
inline void MakeOfficeDatabase(const std::string& path) {
    testing_support::EmptyDatabase(path)->ExecuteNative(R"sql(
begin;
insert into tblprojects_programs (project_code, program_project) values
    ('8', 'Statewide Ambient Monitoring Network'), ('LKM', 'Lake Monitoring Program');
insert into tblstation_information (station_id, place_name_description, water_body_name) values
    (105, 'Bear Lake at Marina', 'Bear Lake'), (109, 'Logan River at Canyon Mouth', 'Logan River'),
    (112, 'Little Bear River near Paradise', 'Little Bear River');
insert into tblmedium values ('W', 'Water');
insert into tblsample_type values ('G', 'Grab');
insert into tblcomposite_statistic values ('A', 'Average');
insert into tblresults_remarks values ('<', 'Less than'), ('J', 'Estimated value');
insert into TBLParameter_Codes values (10, 'Temp', 'Temperature, water'),
    (95, 'SpCond', 'Specific conductance'), (300, 'DO', 'Dissolved oxygen'), (400, 'pH', 'pH');
insert into tblsample (idloc, sample_code, project_code, station_id, start_date, missing_time,
                       medium, sample_type) values
    ('V', 1, '8', 109, '2004-01-14 09:30:00', 'N', 'W', 'G'),
    ('V', 2, '8', 112, '2004-01-14 11:15:00', 'N', 'W', 'G'),
    ('S', 1, '8', 109, '2003-06-01 10:00:00', 'N', 'W', 'G'),
    ('S', 2, 'LKM', 105, '2003-06-02 10:00:00', 'N', 'W', 'G');
insert into tblresults (idloc, sample_code, parameter_code, result_value) values
    ('V', 1, 10, 11), ('S', 1, 95, 350), ('S', 1, 300, 8.2), ('S', 1, 400, 7.9);
commit;
)sql");
}

class Walk : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetAppPath(dir.path().string());
        dialogs = testing_support::ScriptDialogs();
        store::setDb(nullptr);
        MakeOfficeDatabase(dataFile());
        testing_support::WriteFile(dir.file("datalocation.txt"), location() + "\r\n");
    }
    void TearDown() override { testing_support::ResetApp(); }

    std::string dataFile() const { return dir.file("water.db"); }
    // Where the office's data is: the file, or its schema on the test server.
    std::string location() const { return testing_support::Location(dataFile()); }

    // The main window on the remembered data file, then Data > View or Add Data.
    void OpenDataLoader() {
        auto& main = app::MainWindow();
        main.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.window()));
        ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(main.window(), "Data", "View or Add Data"));
        f = loader::DataLoaderWindow().get();
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(WaitFor([&] { return f->CmdAddSample.widget()->isVisible(); }));
    }

    // One value of the open data file ("" for Null or no row).
    std::string Value(const std::string& sql) {
        return testing_support::QueryValue(store::requireDb(), sql);
    }
    // Changes the data file as another program would, through a connection of its own.
    void Execute(const std::string& sql) {
        platform::Database::OpenDatabase(location())->ExecuteNative(sql);
    }

    // The messages shown since the last call, and forgets them.
    std::vector<std::string> Shown() {
        auto texts = dialogs->texts();
        dialogs->clear();
        return texts;
    }

    testing_support::TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
    loader::frmDataLoader* f = nullptr;
};

using Texts = std::vector<std::string>;

}  // namespace e2e
