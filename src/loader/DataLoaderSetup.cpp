// Opening and closing the window: lookup lists, the project grid, unload and the exits.
#include "Connection.h"
#include "Database.h"
#include "DateTime.h"
#include "GridFill.h"
#include "LookupLists.h"
#include "Resize.h"
#include "SharedSql.h"
#include "frmDataLoader.h"
#include "frmFilterResults.h"

namespace loader {

namespace {

constexpr int kSampleTab = 1;

struct ListSource {
    const char* table;
    const char* code;
    const char* description;
};

}  // namespace

void frmDataLoader::Form_Load() {
    const auto now = platform::DateTime::now();
    DTPicker2.SetValue(now);
    DTPicker3.SetValue(now);
    SSTab1.SetTab(kSampleTab);
    fillLookupLists();
    fillParameterList(store::kProjectParameterQuery);
    fillProjectGrid();
}

std::vector<std::string> frmDataLoader::lookupEntries(const std::string& source,
                                                      std::string_view codeColumn,
                                                      std::string_view descriptionColumn) {
    rsLookup = store::requireDb().OpenRecordset(source);
    auto entries = ReadEntries(*rsLookup, codeColumn, descriptionColumn);
    rsLookup->Close();
    return entries;
}

void frmDataLoader::fillLookupLists() {
    auto fill = [&](const ListSource& source, std::initializer_list<platform::ComboBox*> lists) {
        const auto entries = lookupEntries(source.table, source.code, source.description);
        for (auto* list : lists) list->AddItems(entries);
    };
    fill({"tblsample_type", "sample_type", "sample_type_description"}, {&CMBSample_Type});
    fillAllStations();
    fill({"tblprojects_programs", "project_code", "Program_project"},
         {&cmbProject_Code, &cmbStationProject});
    fill({"tblcomposite_statistic", "composite_statistic_code", "composite_statistic_description"},
         {&CmbComposite_Statistic});
    fill({"tblmedium", "medium", "medium_description"}, {&cmbMedium});
    fill({"tblresults_remarks", "remark_code", "remark_description"}, {&cmbRemark_code});
}

void frmDataLoader::fillProjectGrid() {
    rsProject = store::requireDb().OpenRecordset(
        "select tblprojects_programs.*, tblorganization.organization_name from "
        "tblprojects_programs left join tblOrganization on tblprojects_programs.organization_id "
        "= tblorganization.organization_id");
    WriteHeaders(MSFlexGrid2, {"Code", "Program/Project", "Organization", "Study Area", "Purpose",
                               "Start Date", "End Date", "Contact Name", "Contact Phone"});
    AppendRows(MSFlexGrid2, *rsProject,
               {"Project_code", "Program_Project", "Organization_name", "Project_study_area",
                "Project_Purpose", "project_start_date", "project_end_date", "contact_name",
                "contact_phone"});
    rsProject->Close();
}

void frmDataLoader::Form_Unload() {
    closeFilterDialog();
    for (auto* rs : {&rsLocate, &rsLocateResult, &rsBrowse}) {
        try {
            if (*rs) (*rs)->Close();
        } catch (...) {
            // Closing is best effort: the window goes either way.
        }
    }
}

void frmDataLoader::closeFilterDialog() {
    // The station-and-parameter dialog belongs to the window that opened it.
    if (frmFilterResults::owner != this) return;
    if (auto* dialog = FilterResultsWindow().get()) dialog->Unload();
    frmFilterResults::owner = nullptr;
}

void frmDataLoader::Form_Resize() { Resize::ResizeForm(*this); }

void frmDataLoader::cmdExitSample_Click() { Unload(); }

void frmDataLoader::cmdExitResult_Click() { Unload(); }

}  // namespace loader
