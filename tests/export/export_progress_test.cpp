#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <thread>

#include "Dialogs.h"

namespace {

QProgressDialog* shownProgress() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) return p;
    return nullptr;
}

}  // namespace

// The export's progress as the user meets it: nothing for a short export; for a long one a
// dialog counting samples whose Cancel stops the export at its next step.
TEST(ProgressDialogTest, ShowsLateCountsAndCancels) {
    using std::this_thread::sleep_for;
    platform::QtDialogs dialogs;
    {
        auto quick = dialogs.Progress("Exporting samples...", 10);
        for (int i = 1; i <= 10; ++i) EXPECT_TRUE(quick->Step(i));
        EXPECT_EQ(shownProgress(), nullptr);
    }
    auto slow = dialogs.Progress("Exporting samples...", 1000);
    EXPECT_TRUE(slow->Step(1));
    EXPECT_EQ(shownProgress(), nullptr);
    sleep_for(std::chrono::milliseconds(550));
    EXPECT_TRUE(slow->Step(400));
    QProgressDialog* shown = shownProgress();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->labelText(), "Exporting samples...");
    EXPECT_EQ(shown->maximum(), 1000);
    EXPECT_EQ(shown->value(), 400);

    const auto buttons = shown->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "Cancel");
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    sleep_for(std::chrono::milliseconds(60));
    EXPECT_FALSE(slow->Step(401));
    EXPECT_FALSE(slow->Step(402));  // stays cancelled between updates
    slow.reset();
    EXPECT_EQ(shownProgress(), nullptr);
}
