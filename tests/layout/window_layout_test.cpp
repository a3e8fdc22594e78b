// Every window's layout as a user meets it, at the screen scale the run was started with:
// the suite runs these tests at 100, 150 and 200 %.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <cmath>
#include <set>

#include "Connection.h"
#include "DemoData.h"
#include "MDIMain.h"
#include "AppSupport.h"
#include "TestSupport.h"
#include "Windows.h"
#include "frmDataLoader.h"
#include "frmExport.h"
#include "frmFilterResults.h"
#include "frmHistory.h"
#include "frmImportAccess.h"
#include "frmImportResults.h"
#include "frmPlot.h"
#include "frmRecordSummary.h"
#include "frmReview.h"
#include "frmSplash.h"

namespace {

class WindowLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        dialogs = testing_support::ScriptDialogs();
        store::setDb(store::CreateDemoDatabase(dir.file("water.db")));
    }
    void TearDown() override { testing_support::ResetApp(); }

    testing_support::TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
};

// Whether a boxed control shows its frame on all four sides, as its window draws it. At a
// fractional scale the white inside of a comment box once covered its right and bottom lines.
bool frameDrawnAround(QWidget* w) {
    const QImage window = w->window()->grab().toImage();
    const qreal scale = window.devicePixelRatio();
    const QPointF at = w->mapTo(w->window(), QPoint(0, 0));
    const QRect box(QPoint(std::lround(at.x() * scale), std::lround(at.y() * scale)),
                    QPoint(std::lround((at.x() + w->width()) * scale) - 1,
                           std::lround((at.y() + w->height()) * scale) - 1));
    // A frame line is darker than both the box's inside and the window around it.
    const int paler = std::min(qGray(w->palette().color(QPalette::Base).rgb()),
                               qGray(w->window()->palette().color(QPalette::Window).rgb()));
    // An edge is drawn when a device row or column near it is mostly dark: nested widgets
    // round their places on their own, so an edge may sit a device pixel or two off.
    const auto drawn = [&](QPoint from, QPoint step, QPoint inward, int steps) {
        for (int depth = -2; depth <= 2; ++depth) {
            const QPoint line = from + depth * inward;
            int dark = 0;
            for (int i = 0; i < steps; ++i)
                if (qGray(window.pixel(line + i * step)) < paler - 24) ++dark;
            if (dark * 2 > steps) return true;
        }
        return false;
    };
    return drawn(box.topLeft(), {0, 1}, {1, 0}, box.height()) &&
           drawn(box.topRight(), {0, 1}, {-1, 0}, box.height()) &&
           drawn(box.topLeft(), {1, 0}, {0, 1}, box.width()) &&
           drawn(box.bottomLeft(), {1, 0}, {0, -1}, box.width());
}

// What a visible control does wrong where it stands, as readable lines.
void findFaults(const controls::Form& f, std::set<std::string>& faults) {
    std::vector<const controls::Control*> shown;
    for (auto* c : f.Controls())
        if (c->widget()->isVisible()) shown.push_back(c);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        QWidget* w = shown[i]->widget();
        const std::string name = f.Name() + "." + shown[i]->Name();
        const QWidget* parent = w->parentWidget();
        QRect room = parent->rect();
        // A frame's caption is no room for its controls.
        if (auto* frame = qobject_cast<const QGroupBox*>(parent);
            frame && !frame->title().isEmpty())
            room.setTop(frame->fontMetrics().height());
        if (!room.contains(w->geometry())) faults.insert(name + " sticks out of its container");
        for (std::size_t j = 0; j < i; ++j) {
            const QWidget* other = shown[j]->widget();
            if (other->parentWidget() == parent && other->geometry().intersects(w->geometry()))
                faults.insert(name + " overlaps " + shown[j]->Name());
        }

        // Captions and the lists' choices are shown whole.
        int needed = 0;
        if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            needed = frame->minimumSizeHint().width();
        } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) {
            needed = label->sizeHint().width();
        } else if (auto* box = qobject_cast<QAbstractButton*>(w); box && !box->text().isEmpty()) {
            needed = qobject_cast<QPushButton*>(w)
                         ? box->fontMetrics().horizontalAdvance(box->text())
                         : box->sizeHint().width();
        } else if (auto* list = qobject_cast<QComboBox*>(w); list && !list->isEditable()) {
            // A list-only box cannot scroll its text: its widest entry must fit.
            int widest = 0;
            for (int k = 0; k < list->count(); ++k)
                widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(k)));
            QStyleOptionComboBox option;
            option.initFrom(list);
            needed = list->style()
                         ->sizeFromContents(QStyle::CT_ComboBox, &option,
                                            {widest, list->fontMetrics().height()}, list)
                         .width();
        }
        if (auto* boxed = qobject_cast<QFrame*>(w);
            boxed && boxed->frameShape() != QFrame::NoFrame && !frameDrawnAround(w))
            faults.insert(name + " is drawn without part of its frame");
        // A wrapping caption needs its lines' height instead.
        if (auto* label = qobject_cast<QLabel*>(w);
            label && label->wordWrap() && label->heightForWidth(w->width()) > w->height())
            faults.insert(name + " is cut below its first lines");
        if (w->width() < needed)
            faults.insert(name + " is " + std::to_string(w->width()) + " px wide, needs " +
                          std::to_string(needed));
    }
}

}  // namespace

TEST_F(WindowLayout, EveryTabWithEveryFilterOpenShowsEachControlWholeAndApart) {
    auto& f = loader::DataLoaderWindow()();
    f.Show();
    for (auto* box : {&f.Check2, &f.chkProjectStation, &f.ChkLocationStation, &f.ChkWaterStation,
                      &f.Check10, &f.Check9, &f.Check8})
        box->SetValue(1);
    // What finding and locating bring up.
    for (controls::Control* c : std::initializer_list<controls::Control*>{
             &f.cmddeleteS, &f.cmdDeleteR, &f.frmLoaded, &f.lblReplicateNote})
        c->SetVisible(true);

    std::set<std::string> faults;
    for (bool allSources : {false, true}) {
        // "View Results" shows either the sample number or the station and parameter chosen.
        f.Frame4.SetVisible(!allSources);
        f.Frame5.SetVisible(allSources);
        for (int tab = 0; tab < f.SSTab1.Tabs(); ++tab) {
            f.SSTab1.SetTab(tab);
            findFaults(f, faults);
        }
    }
    EXPECT_EQ(std::vector<std::string>(faults.begin(), faults.end()), std::vector<std::string>{});
}

TEST_F(WindowLayout, EveryOtherWindowShowsEachControlWholeAndApart) {
    std::set<std::string> faults;
    const auto walk = [&](controls::Form& window) {
        window.Show();
        QApplication::processEvents();
        findFaults(window, faults);
        window.Unload();
    };
    {
        app::frmSplash splash;
        splash.Show();
        findFaults(splash, faults);
    }
    loader::frmFilterResults::owner = &loader::DataLoaderWindow()();
    walk(loader::FilterResultsWindow()());
    walk(exporter::ExportWindow()());
    walk(accessdb::ImportAccessWindow()());
    walk(importui::ImportResultsWindow()());
    walk(loader::HistoryWindow()());
    // The review with its findings listed, the summary with its lists filled.
    auto& review = review::ReviewWindow()();
    review.cmdRun_Click();
    walk(review);
    auto& summary = review::RecordSummaryWindow()();
    ASSERT_TRUE(summary.ShowScope({}, "Every project, every station"));
    for (int tab = 0; tab < summary.tabSummary.Tabs(); ++tab) {
        summary.Show();
        summary.tabSummary.SetTab(tab);
        summary.cmbPlotBy.SetListIndex(review::frmRecordSummary::ByMonth);
        QApplication::processEvents();
        findFaults(summary, faults);
    }
    summary.Unload();
    auto& plot = plot::PlotWindow()();
    ASSERT_TRUE(plot.ShowSeries("107", "400"));
    walk(plot);
    EXPECT_EQ(std::vector<std::string>(faults.begin(), faults.end()), std::vector<std::string>{});
}

// On a 1366 x 768 screen, less a task bar and the title bar, the data window opens whole, and
// the results of a sample fill ten rows and more across the grid's width.
TEST_F(WindowLayout, TheDataWindowFitsASmallLaptopScreenAndShowsTenResults) {
    auto& main = app::MainWindow();
    main.resize(1366, 768 - 40 - 30);
    main.Show();
    auto& f = loader::DataLoaderWindow()();
    f.Show();
    f.SSTab1.SetTab(loader::tab::Results);
    f.txtResultSampleNum.SetText("1");
    f.cmdFindSample_Click();
    QApplication::processEvents();
    // Its designed size, to the twips of a pixel: not shrunk to fit.
    EXPECT_NEAR(f.ScaleHeight(), 9100, 15);
    EXPECT_NEAR(f.ScaleWidth(), 11400, 15);

    auto* grid = qobject_cast<QTableView*>(f.MSFlexGrid5.widget());
    ASSERT_NE(grid, nullptr);
    ASSERT_GE(f.MSFlexGrid5.Rows(), 11);
    EXPECT_GE(grid->viewport()->height(), 10 * grid->rowHeight(0));
    EXPECT_GE(grid->horizontalHeader()->length(), grid->viewport()->width());
    app::ResetMainWindow();
}
