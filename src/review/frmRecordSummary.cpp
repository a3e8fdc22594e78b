// The summary window: the record of a scope in figures and in box plots.
#include "frmRecordSummary.h"

#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QEvent>
#include <memory>
#include <set>

#include "Connection.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "EventGuard.h"
#include "GridFill.h"
#include "PlotChart.h"
#include "RecordSummary.h"
#include "Resize.h"

namespace review {

namespace {

using List = controls::ComboBox::Style;

constexpr int kChartGap = 90;  // twips between the buttons and the chart

const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

// Calls back whenever the watched widget changes size: a tab page is laid out only once it
// is on show.
class OnResize : public QObject {
  public:
    OnResize(QWidget* watched, std::function<void()> resized)
        : QObject(watched), resized_(std::move(resized)) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) resized_();
        return false;
    }

  private:
    std::function<void()> resized_;
};

}  // namespace

frmRecordSummary::frmRecordSummary()
    : controls::Form("frmRecordSummary", "Summary of the Record"),
      lblScope(*this, "lblScope", "", {120, 120, 12960, 255}),
      tabSummary(*this, "tabSummary", {"Summary", "Box Plots"}, {120, 480, 12960, 7800}),
      grdSummary(tabSummary.Page(0), "grdSummary", 2,
                 static_cast<int>(store::RecordSummary::kHeaders.size()), 1, 0,
                 {120, 120, 12600, 6600}),
      lblSummaryCount(tabSummary.Page(0), "lblSummaryCount", "", {120, 6840, 6000, 255}),
      lblPlotParameter(tabSummary.Page(1), "lblPlotParameter", "Parameter", {120, 165, 1000, 255}),
      cmbPlotParameter(tabSummary.Page(1), "cmbPlotParameter", {1140, 120, 3000, 315},
                       List::DropDownList),
      lblPlotBy(tabSummary.Page(1), "lblPlotBy", "Boxes by", {4320, 165, 1000, 255}),
      cmbPlotBy(tabSummary.Page(1), "cmbPlotBy", {5340, 120, 2280, 315}, List::DropDownList),
      lblPlotStation(tabSummary.Page(1), "lblPlotStation", "at station", {7800, 165, 1000, 255}),
      cmbPlotStation(tabSummary.Page(1), "cmbPlotStation", {8820, 120, 3900, 315},
                     List::DropDownList),
      cmdResetZoom(tabSummary.Page(1), "cmdResetZoom", "Reset Zoom", {120, 540, 1400, 390}),
      cmdSaveImage(tabSummary.Page(1), "cmdSaveImage", "Save Image...", {1640, 540, 1600, 390}),
      cmdCopyImage(tabSummary.Page(1), "cmdCopyImage", "Copy Image", {3360, 540, 1500, 390}),
      mnuCopySummary(mnuSummary.AddItem("mnuCopySummary", "Copy")),
      mnuSaveSummary(mnuSummary.AddItem("mnuSaveSummary", "Save as CSV")),
      view_(new plot::PlotView(*this, tabSummary.Page(1).area())) {
    SetClientSize(13200, 8400);
    lblPlotParameter.SetBuddy(cmbPlotParameter);
    lblPlotBy.SetBuddy(cmbPlotBy);
    lblPlotStation.SetBuddy(cmbPlotStation);
    cmbPlotBy.AddItems({"Station", "Month of the year"}, {"station", "month"});
    grdSummary.SetAccessibleName("Summary");
    ON_EVENT(cmbPlotParameter, Click);
    ON_EVENT(cmbPlotBy, Click);
    ON_EVENT(cmbPlotStation, Click);
    ON_EVENT(cmdResetZoom, Click);
    ON_EVENT(cmdSaveImage, Click);
    ON_EVENT(cmdCopyImage, Click);
    ON_EVENT(mnuCopySummary, Click);
    ON_EVENT(mnuSaveSummary, Click);
    ON_EVENT(grdSummary, DblClick);
    grdSummary.MouseUp = [this](int button, int, int, int) {
        if (button == 2) PopupMenu(mnuSummary);
    };
    grdSummary.RowsChanged = [this] { lblSummaryCount.SetCaption(grdSummary.RowCountText()); };
    loader::WriteHeaders(grdSummary, store::RecordSummary::kHeaders);
    new OnResize(tabSummary.Page(1).area(), [this] { placeChart(); });
}

frmRecordSummary::~frmRecordSummary() = default;

void frmRecordSummary::Form_Load() {
    cmbPlotBy.SetListIndex(ByStation);
    cmbPlotBy_Click();
    lblSummaryCount.SetCaption(grdSummary.RowCountText());
    placeChart();
}

void frmRecordSummary::Form_Resize() {
    Resize::ResizeForm(*this);
    placeChart();
}

void frmRecordSummary::placeChart() {
    QWidget* page = tabSummary.Page(1).area();
    const int top =
        (cmdResetZoom.Top() + cmdResetZoom.Height() + kChartGap) / controls::TwipsPerPixel;
    view_->setGeometry(0, top, page->width(), std::max(0, page->height() - top));
}

QChartView& frmRecordSummary::View() const { return *view_; }

bool frmRecordSummary::ShowScope(const store::ReviewScope& scope, const std::string& described) {
    store::GridRows rows;
    std::map<std::string, std::string> stations;
    std::map<long long, std::string> parameters;
    bool cancelled = false;
    {
        controls::Hourglass wait(*this);
        auto progress = controls::Dialogs().Progress("Summarising the record...", 0);
        try {
            store::RecordSummary(store::requireDb())
                .Rows(
                    scope,
                    [&](const store::SummaryRow& row) {
                        rows.push_back(store::RecordSummary::Cells(row));
                        stations.emplace(row.station, row.stationName);
                        parameters.emplace(row.parameterCode, row.parameterName);
                    },
                    [&](long long read) {
                        cancelled = cancelled || !progress->Step(read);
                        return !cancelled;
                    });
        } catch (const store::Refused& refused) {
            SetMousePointer(0);
            controls::MsgBox(refused.what(), controls::mb::Exclamation);
            return false;
        } catch (const platform::EngineError& e) {
            SetMousePointer(0);
            controls::MsgBox("The record could not be summarised.\n\n" + e.Description(),
                             controls::mb::Exclamation);
            return false;
        }
    }
    if (cancelled) return false;
    scope_ = scope;
    stationNames_ = std::move(stations);
    lblScope.SetCaption(described);
    grdSummary.SetRows(2);
    loader::WriteHeaders(grdSummary, store::RecordSummary::kHeaders);
    grdSummary.AddRows(std::move(rows));

    cmbPlotParameter.Clear();
    std::vector<std::string> texts, codes;
    for (const auto& [code, name] : parameters) {
        texts.push_back(name == std::to_string(code) ? name
                                                     : name + " (" + std::to_string(code) + ")");
        codes.push_back(std::to_string(code));
    }
    cmbPlotParameter.AddItems(texts, codes);
    texts.clear();
    codes.clear();
    for (const auto& [id, name] : stationNames_) {
        texts.push_back(name.empty() ? id : id + "-" + name);
        codes.push_back(id);
    }
    cmbPlotStation.Clear();
    cmbPlotStation.AddItems(texts, codes);
    if (cmbPlotStation.ListCount()) cmbPlotStation.SetListIndex(0);
    if (cmbPlotParameter.ListCount()) cmbPlotParameter.SetListIndex(0);
    draw();
    return true;
}

void frmRecordSummary::cmbPlotBy_Click() {
    const bool byMonth = cmbPlotBy.ListIndex() == ByMonth;
    lblPlotStation.SetEnabled(byMonth);
    cmbPlotStation.SetEnabled(byMonth);
    draw();
}

void frmRecordSummary::draw() {
    const auto parameter = cmbPlotParameter.ItemCode(cmbPlotParameter.ListIndex());
    const bool byMonth = cmbPlotBy.ListIndex() == ByMonth;
    const auto station = cmbPlotStation.ItemCode(cmbPlotStation.ListIndex());
    if (!parameter || (byMonth && !station)) return;
    BoxPlot plot;
    const std::string parameterText = cmbPlotParameter.List(cmbPlotParameter.ListIndex());
    plot.valueName = parameterText;
    try {
        controls::Hourglass wait(*this);
        store::RecordSummary summary(store::requireDb());
        if (byMonth) {
            plot.boxes = summary.ByMonth(scope_, *station, *parameter);
            plot.title =
                parameterText + " by month at " + cmbPlotStation.List(cmbPlotStation.ListIndex());
            plot.groupName = "Month of the year";
            for (const char* month : kMonthNames) plot.boxNames.push_back(month);
        } else {
            plot.boxes = summary.ByStation(scope_, *parameter);
            plot.title = parameterText + " by station";
            plot.groupName = "Station";
            for (const auto& box : plot.boxes) {
                const auto name = stationNames_.find(box.label);
                plot.boxNames.push_back("Station " + box.label +
                                        (name != stationNames_.end() && !name->second.empty()
                                             ? ", " + name->second
                                             : std::string()));
            }
        }
    } catch (const platform::EngineError& e) {
        controls::MsgBox("The box plot could not be drawn.\n\n" + e.Description(),
                         controls::mb::Exclamation);
        return;
    }
    plot_ = std::move(plot);
    std::unique_ptr<QChart> old(view_->chart());
    view_->setChart(BuildBoxChart(plot_));
    plot::SettleChart(view_->chart());
}

void frmRecordSummary::grdSummary_DblClick() {
    const long long row = grdSummary.Row();
    if (row < 2 || row >= grdSummary.Rows()) return;
    const std::string station = grdSummary.TextMatrix(row, 0),
                      parameter = grdSummary.TextMatrix(row, 2);
    auto choose = [](controls::ComboBox& list, const std::string& code) {
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.ItemCode(i) == code) return list.SetListIndex(i), true;
        return false;
    };
    if (!choose(cmbPlotStation, station) || !choose(cmbPlotParameter, parameter)) return;
    cmbPlotBy.SetListIndex(ByMonth);
    tabSummary.SetTab(1);
}

void frmRecordSummary::cmdResetZoom_Click() {
    if (!view_->chart()) return;
    view_->chart()->zoomReset();
    plot::SettleChart(view_->chart());
}

void frmRecordSummary::cmdSaveImage_Click() {
    if (!view_->chart()) return;
    const auto path = controls::Dialogs().SaveFile(
        {"Save Image", "png", "PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg", ""});
    if (!path) return;
    if (!plot::SaveChart(view_->chart(), *path, view_->size()))
        controls::MsgBox("The picture could not be written to " + *path + ".",
                         controls::mb::Exclamation);
}

void frmRecordSummary::cmdCopyImage_Click() { QApplication::clipboard()->setPixmap(view_->grab()); }

void frmRecordSummary::mnuSaveSummary_Click() { loader::SaveGridAsCsv(grdSummary); }

namespace {

// Chart positions of a value of the box series, and back.
QPointF toView(const QChartView& view, QPointF value) {
    QChart* chart = view.chart();
    return view.mapFromScene(
        chart->mapToScene(chart->mapToPosition(value, chart->series().front())));
}

}  // namespace

QPoint frmRecordSummary::PositionOf(std::size_t box, double value) const {
    if (!view_->chart() || view_->chart()->series().isEmpty()) return {};
    return toView(*view_, QPointF(static_cast<double>(box), value)).toPoint();
}

std::string frmRecordSummary::TipAt(const QPoint& viewPosition) const {
    QChart* chart = view_->chart();
    if (!chart || chart->series().isEmpty() || plot_.boxes.empty()) return "";
    const QPointF value = chart->mapToValue(chart->mapFromScene(view_->mapToScene(viewPosition)),
                                            chart->series().front());
    const QPointF step = toView(*view_, value + QPointF(1, 1)) - toView(*view_, value);
    const auto box = BoxAt(plot_, value, step);
    return box ? BoxTip(plot_, *box) : "";
}

controls::FormInstance<frmRecordSummary>& RecordSummaryWindow() {
    static controls::FormInstance<frmRecordSummary> instance;
    return instance;
}

}  // namespace review
