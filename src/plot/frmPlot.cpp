// The plot window: one parameter over time at the stations the user adds.
#include "frmPlot.h"

#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QDateTime>
#include <algorithm>
#include <memory>
#include <sstream>
#include <utility>

#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "EventGuard.h"
#include "Lookups.h"
#include "PlotView.h"
#include "Plots.h"

namespace plot {

namespace {

constexpr int kChartTop = 1080;  // twips: below the two rows of controls
constexpr double kNearPixels = 6;

}  // namespace

std::function<void(const std::string&)> frmPlot::openSample;

frmPlot::frmPlot()
    : controls::Form("frmPlot", "Plot"),
      cmdResetZoom(*this, "cmdResetZoom", "Reset Zoom", {120, 120, 1300, 390}),
      lblStation(*this, "lblStation", "Station", {1560, 165, 700, 255}),
      cmbStation(*this, "cmbStation", {2280, 120, 3840, 315},
                 controls::ComboBox::Style::DropDownList),
      cmdAddStation(*this, "cmdAddStation", "Add Station", {6240, 120, 1400, 390}),
      lblBelowLimit(*this, "lblBelowLimit", "Below the limit", {120, 645, 1500, 255}),
      txtBelowLimit(*this, "txtBelowLimit", "<", {1640, 600, 1200, 315}),
      cmdBelowLimit(*this, "cmdBelowLimit", "Apply", {2940, 570, 900, 390}),
      cmdSaveImage(*this, "cmdSaveImage", "Save Image...", {7800, 120, 1500, 390}),
      cmdCopyImage(*this, "cmdCopyImage", "Copy Image", {9420, 120, 1500, 390}),
      view_(new PlotView(*this, area())) {
    SetClientSize(14400, 8400);
    txtBelowLimit.SetToolTipText("Remark codes whose values are below the limit, space apart");
    lblStation.SetBuddy(cmbStation);
    lblBelowLimit.SetBuddy(txtBelowLimit);
    ON_EVENT(cmdResetZoom, Click);
    ON_EVENT(cmdAddStation, Click);
    ON_EVENT(cmdBelowLimit, Click);
    ON_EVENT(cmdSaveImage, Click);
    ON_EVENT(cmdCopyImage, Click);
}

frmPlot::~frmPlot() = default;

void frmPlot::Form_Load() {
    std::vector<std::string> texts, codes;
    for (const auto& e : store::Lookups(store::requireDb()).Stations()) {
        texts.push_back(e.Text());
        codes.push_back(e.code);
    }
    cmbStation.AddItems(texts, codes);
    Form_Resize();
}

void frmPlot::Form_Resize() {
    const int top = kChartTop / controls::TwipsPerPixel;
    view_->setGeometry(0, top, area()->width(), std::max(0, area()->height() - top));
}

QChartView& frmPlot::View() const { return *view_; }

bool frmPlot::ShowSeries(const std::string& station, const std::string& parameter) {
    std::string parameterBefore = std::exchange(parameter_, parameter);
    std::vector<std::string> stationsBefore = std::exchange(stations_, {station});
    if (reload()) return true;
    parameter_ = std::move(parameterBefore);
    stations_ = std::move(stationsBefore);
    return false;
}

std::set<std::string> frmPlot::belowLimitRemarks() const {
    std::istringstream words(txtBelowLimit.Text());
    std::set<std::string> remarks;
    for (std::string w; words >> w;) remarks.insert(w);
    return remarks;
}

bool frmPlot::reload() {
    PlotData data;
    std::optional<std::string> none;
    std::vector<std::string> drawn;
    {
        controls::Hourglass wait(*this);
        store::Plots plots(store::requireDb());
        data.parameterName = plots.ParameterName(parameter_);
        data.range = plots.Range(parameter_);
        for (const auto& station : stations_) {
            data.series.push_back(plots.Series(station, parameter_, belowLimitRemarks()));
            if (!data.series.back().points.empty()) drawn.push_back(station);
        }
        none = TakeOutEmptyStations(data, parameter_);
    }
    if (none) controls::MsgBox(*none, controls::mb::Exclamation);
    if (data.series.empty()) return false;
    stations_ = std::move(drawn);
    data_ = std::move(data);
    std::unique_ptr<QChart> old(view_->chart());
    view_->setChart(BuildChart(data_));
    SettleChart(view_->chart());
    SetCaption("Plot - " + data_.parameterName);
    return true;
}

void frmPlot::cmdResetZoom_Click() {
    if (!view_->chart()) return;
    view_->chart()->zoomReset();
    SettleChart(view_->chart());
}

void frmPlot::cmdAddStation_Click() {
    const auto station = cmbStation.ItemCode(cmbStation.ListIndex());
    if (!station || parameter_.empty()) {
        controls::MsgBox("Choose a station to add.", controls::mb::Exclamation);
        return;
    }
    if (std::find(stations_.begin(), stations_.end(), *station) != stations_.end()) return;
    stations_.push_back(*station);
    try {
        if (!reload()) stations_.pop_back();
    } catch (const store::Refused& refused) {
        stations_.pop_back();
        controls::MsgBox(refused.what(), controls::mb::Exclamation);
    }
}

void frmPlot::cmdBelowLimit_Click() {
    if (!parameter_.empty()) reload();
}

void frmPlot::cmdSaveImage_Click() {
    const auto path = controls::Dialogs().SaveFile(
        {"Save Image", "png", "PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg", ""});
    if (!path) return;
    if (!SaveChart(view_->chart(), *path, view_->size()))
        controls::MsgBox("The picture could not be written to " + *path + ".",
                         controls::mb::Exclamation);
}

void frmPlot::cmdCopyImage_Click() { QApplication::clipboard()->setPixmap(view_->grab()); }

double PlotX(const platform::DateTime& d) {
    return double(QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second))
                      .toMSecsSinceEpoch());
}

namespace {

// Where values are drawn in the view: both axes are linear, so two points fix the mapping.
struct ViewMapping {
    QPointF origin, perUnit;
    QPointF at(double x, double y) const {
        return origin + QPointF(x * perUnit.x(), y * perUnit.y());
    }
};

std::optional<ViewMapping> mappingOf(const QChartView& view) {
    QChart* chart = view.chart();
    if (!chart || chart->series().isEmpty()) return std::nullopt;
    // The view only shifts the scene (never scales it), so whole pixels lose nothing.
    const QPointF shift = view.mapFromScene(QPointF(0, 0));
    auto toView = [&](QPointF value) {
        return shift + chart->mapToScene(chart->mapToPosition(value, chart->series().front()));
    };
    const double day = 86400000.0, base = 1.6e12;
    const QPointF a = toView(QPointF(base, 0)), b = toView(QPointF(base + day, 1));
    return ViewMapping{a - QPointF(base * (b.x() - a.x()) / day, 0),
                       QPointF((b.x() - a.x()) / day, b.y() - a.y())};
}

}  // namespace

QPoint frmPlot::PositionOf(const store::PlotPoint& point) const {
    const auto mapping = mappingOf(*view_);
    return mapping ? mapping->at(PlotX(point.date), point.value).toPoint() : QPoint();
}

std::optional<store::PlotPoint> frmPlot::PointAt(const QPoint& viewPosition) const {
    const auto mapping = mappingOf(*view_);
    if (!mapping) return std::nullopt;
    std::optional<store::PlotPoint> nearest;
    double best = kNearPixels * kNearPixels;
    for (const auto& series : data_.series) {
        for (const auto& point : series.points) {
            const QPointF d = mapping->at(PlotX(point.date), point.value) - QPointF(viewPosition);
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance <= best) {
                best = distance;
                nearest = point;
            }
        }
    }
    return nearest;
}

std::string frmPlot::TipAt(const QPoint& viewPosition) const {
    const auto point = PointAt(viewPosition);
    if (!point) return "";
    std::string text = "Sample " + point->sampleCode + "\n" + platform::DateToText(point->date) +
                       "\nValue " + point->shownValue;
    if (!point->remark.empty()) text += "\nRemark " + point->remark;
    return text;
}

bool frmPlot::OpenAt(const QPoint& viewPosition) {
    const auto point = PointAt(viewPosition);
    if (point) OpenPoint(*point);
    return point.has_value();
}

void frmPlot::OpenPoint(const store::PlotPoint& point) {
    if (point.source == "V" && openSample) {
        openSample(point.sampleCode);
        return;
    }
    controls::MsgBox("Sample " + point.sampleCode + " comes from source " + point.source +
                         ": only hand-entered samples open on the Results tab.",
                     controls::mb::Information);
}

controls::FormInstance<frmPlot>& PlotWindow() {
    static controls::FormInstance<frmPlot> instance;
    return instance;
}

}  // namespace plot
