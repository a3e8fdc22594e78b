// The grid's own model against a bare Qt item model, in the same run.
#include <benchmark/benchmark.h>

#include <QStandardItemModel>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "Form.h"
#include "MSFlexGrid.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 12;

std::vector<std::string> sampleLines() {
    std::vector<std::string> lines;
    lines.reserve(kRows);
    for (int r = 0; r < kRows; ++r) {
        std::string line = std::to_string(r + 1);
        for (const char* cell :
             {"Statewide Ambient Monitoring Network", "Bear River near Corinne",
              "3/4/2004 10:30:00 AM", "N", "", "Water", "Grab", "", "0.5", "Light rain", "V"})
            (line += '\t') += cell;
        lines.push_back(std::move(line));
    }
    return lines;
}

class BenchForm : public controls::Form {
  public:
    BenchForm() : controls::Form("BenchForm", "Bench", false) {}
};

// Baseline: one QStandardItem per cell.
void BM_QStandardItemModel_Append(benchmark::State& state) {
    const auto lines = sampleLines();
    for (auto _ : state) {
        QStandardItemModel model(0, kCols);
        for (const auto& line : lines) {
            QList<QStandardItem*> row;
            row.reserve(kCols);
            for (const auto& cell : QString::fromStdString(line).split(u'\t'))
                row.append(new QStandardItem(cell));
            model.appendRow(row);
        }
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_QStandardItemModel_Append)->Unit(benchmark::kMillisecond);

// Ours: the grid's flat cell store, rows appended in bulk.
void BM_FlexGrid_AddItems(benchmark::State& state) {
    const auto lines = sampleLines();
    BenchForm form;
    controls::MSFlexGrid grid(form, "MSFlexGrid3", 2, kCols, 1, 1);
    for (auto _ : state) {
        grid.SetRows(2);
        grid.AddItems(lines);
        benchmark::DoNotOptimize(grid.Rows());
    }
}
BENCHMARK(BM_FlexGrid_AddItems)->Unit(benchmark::kMillisecond);

// Ours, one AddItem per row as the windows' fill loops do.
void BM_FlexGrid_AddItemEach(benchmark::State& state) {
    const auto lines = sampleLines();
    BenchForm form;
    controls::MSFlexGrid grid(form, "MSFlexGrid3", 2, kCols, 1, 1);
    for (auto _ : state) {
        grid.SetRows(2);
        for (const auto& line : lines) grid.AddItem(line);
        benchmark::DoNotOptimize(grid.Rows());
    }
}
BENCHMARK(BM_FlexGrid_AddItemEach)->Unit(benchmark::kMillisecond);

void BM_FlexGrid_ClipText(benchmark::State& state) {
    BenchForm form;
    controls::MSFlexGrid grid(form, "MSFlexGrid3", 2, kCols, 1, 1);
    grid.AddItems(sampleLines());
    for (auto _ : state) benchmark::DoNotOptimize(grid.ClipText());
}
BENCHMARK(BM_FlexGrid_ClipText)->Unit(benchmark::kMillisecond);

}  // namespace
