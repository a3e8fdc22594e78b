// The data window's layout as a user meets it: every tab with every filter open.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <set>

#include "LoaderTestSupport.h"

namespace {

class WindowLayout : public loader_test::LoaderTest {};

// What a visible control does wrong where it stands, as readable lines.
void findFaults(const loader::frmDataLoader& f, std::set<std::string>& faults) {
    std::vector<const controls::Control*> shown;
    for (auto* c : f.Controls())
        if (c->widget()->isVisible()) shown.push_back(c);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        QWidget* w = shown[i]->widget();
        const std::string& name = shown[i]->Name();
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
        if (w->width() < needed)
            faults.insert(name + " is " + std::to_string(w->width()) + " px wide, needs " +
                          std::to_string(needed));
    }
}

}  // namespace

TEST_F(WindowLayout, EveryTabWithEveryFilterOpenShowsEachControlWholeAndApart) {
    auto& f = Open();
    for (auto* box : {&f.Check2, &f.chkProjectStation, &f.ChkLocationStation, &f.ChkWaterStation,
                      &f.Check10, &f.Check9, &f.Check8})
        box->SetValue(1);
    // What finding and locating bring up.
    for (controls::Control* c : std::initializer_list<controls::Control*>{
             &f.cmddeleteS, &f.cmdDeleteR, &f.frmLoaded, &f.lblReplicateNote})
        c->SetVisible(true);
    f.Show();

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
