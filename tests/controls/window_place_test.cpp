// Windows open inside the screen's free area, at the place the user left them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "TestSupport.h"
#include "WindowPlace.h"

namespace {

class WindowPlace : public ::testing::Test {
  protected:
    void TearDown() override { testing_support::ResetProgram(); }
};

}  // namespace

// A full-HD screen with a task bar, at 100, 150 and 200 % scaling, in the logical pixels
// windows are placed in.
TEST_F(WindowPlace, AWindowFitsTheScreenAtEveryScaling) {
    struct Case {
        QRect wanted, area, fitted;
    };
    const Case cases[] = {
        {{0, 0, 1024, 768}, {0, 0, 1920, 1040}, {0, 0, 1024, 768}},
        {{0, 0, 1024, 768}, {0, 0, 1280, 693}, {0, 0, 1024, 693}},
        {{0, 0, 1024, 768}, {0, 0, 960, 520}, {0, 0, 960, 520}},
        // left where a larger or second screen stood: moved back inside
        {{1500, 900, 600, 400}, {0, 0, 1280, 693}, {680, 293, 600, 400}},
        {{-700, -50, 600, 400}, {0, 30, 1280, 693}, {0, 30, 600, 400}},
        // a screen that is not the first one
        {{0, 0, 800, 600}, {1920, 0, 1280, 693}, {1920, 0, 800, 600}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(controls::FitInto(c.wanted, c.area), c.fitted) << c.area.width();
}

TEST_F(WindowPlace, AWindowOpensWhereItWasLeftAndStillOnTheScreen) {
    const QRect screen(0, 0, 1000, 700);
    {
        QWidget first;
        first.resize(300, 200);
        controls::PlaceWindow(&first, "Probe", screen);
        first.show();
        first.setGeometry(100, 120, 500, 300);
        first.hide();  // closing saves at once
    }
    QWidget again;
    controls::PlaceWindow(&again, "Probe", screen);
    EXPECT_EQ(again.geometry(), QRect(100, 120, 500, 300));

    // On a smaller screen the title bar and the whole window stay on it.
    QWidget smaller;
    const QRect small(0, 0, 400, 250);
    controls::PlaceWindow(&smaller, "Probe", small);
    EXPECT_GT(smaller.geometry().top(), small.top());
    EXPECT_LE(smaller.geometry().bottom(), small.bottom());
    EXPECT_EQ(smaller.geometry().width(), 400);

    // Left maximised, it opens maximised, and keeps the size it had before for later.
    {
        QWidget first;
        controls::PlaceWindow(&first, "Probe", screen);
        first.show();
        first.showMaximized();
        QApplication::processEvents();
        first.hide();
    }
    QWidget maximised;
    controls::PlaceWindow(&maximised, "Probe", screen);
    EXPECT_TRUE(maximised.windowState() & Qt::WindowMaximized);
    maximised.show();
    maximised.showNormal();
    EXPECT_EQ(maximised.geometry(), QRect(100, 120, 500, 300));

    QWidget unnamed;
    unnamed.resize(300, 200);
    controls::PlaceWindow(&unnamed, "", screen);
    EXPECT_EQ(unnamed.size(), QSize(300, 200));
}
