// The grids' popup menus: the selection (else the whole grid) to the clipboard, or the whole
// grid to a CSV file, so a spreadsheet keeps its columns.
#include <fstream>

#include "Dialogs.h"
#include "GridClipboard.h"
#include "GridFill.h"
#include "frmDataLoader.h"

namespace loader {

void SaveGridAsCsv(controls::MSFlexGrid& grid) {
    const auto path = controls::Dialogs().SaveFile(
        {"Save as CSV", "csv", "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*", ""});
    if (!path) return;
    std::ofstream out(*path, std::ios::binary | std::ios::trunc);
    out << controls::GridClipboard::Csv(grid.model());
    out.close();
    if (!out)
        controls::MsgBox("The grid could not be written to " + *path + ".",
                         controls::mb::Exclamation);
}

void frmDataLoader::mnucopy1_Click() { MSFlexGrid1.CopySelection(); }
void frmDataLoader::mnucopy2_Click() { MSFlexGrid2.CopySelection(); }
void frmDataLoader::mnucopy3_Click() { MSFlexGrid3.CopySelection(); }
void frmDataLoader::mnucopy4_Click() { MSFlexGrid4.CopySelection(); }
void frmDataLoader::mnusavecsv1_Click() { SaveGridAsCsv(MSFlexGrid1); }
void frmDataLoader::mnusavecsv2_Click() { SaveGridAsCsv(MSFlexGrid2); }
void frmDataLoader::mnusavecsv3_Click() { SaveGridAsCsv(MSFlexGrid3); }
void frmDataLoader::mnusavecsv4_Click() { SaveGridAsCsv(MSFlexGrid4); }

}  // namespace loader
