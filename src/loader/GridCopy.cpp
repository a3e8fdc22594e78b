// Copying a browse grid to the clipboard: every cell followed by a tab, every row by a line
// feed, header and blank rows included, so a paste into a spreadsheet lands cell by cell.
#include "App.h"
#include "frmDataLoader.h"

namespace loader {

namespace {

void copyGrid(const platform::MSFlexGrid& grid) {
    platform::Clipboard::Clear();
    platform::Clipboard::SetText(grid.ClipText());
}

}  // namespace

void frmDataLoader::mnucopy1_Click() { copyGrid(MSFlexGrid1); }
void frmDataLoader::mnucopy2_Click() { copyGrid(MSFlexGrid2); }
void frmDataLoader::mnucopy3_Click() { copyGrid(MSFlexGrid3); }
void frmDataLoader::mnucopy4_Click() { copyGrid(MSFlexGrid4); }

}  // namespace loader
