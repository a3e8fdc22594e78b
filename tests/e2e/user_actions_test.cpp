// The walks' clicks refuse what a user could not click, so a covered control fails a walk.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "UserActions.h"

using namespace e2e;

TEST(UserActions, AControlIsReachableOnlyWhenShownEnabledAndUncovered) {
    QWidget window;
    window.resize(300, 200);
    auto* button = new QPushButton("Add", &window);
    button->setGeometry(20, 20, 100, 30);
    auto* cover = new QLabel("Date", &window);
    cover->setGeometry(60, 10, 100, 50);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint middle = button->rect().center();

    // The label lies over the button's middle, though not over its left end.
    const auto covered = Reachable(button, middle, "cmdAdd");
    EXPECT_FALSE(covered);
    EXPECT_STREQ(covered.message(), "cmdAdd is covered by QLabel \"Date\" at (49,14)");
    EXPECT_TRUE(Reachable(button, QPoint(10, 15), "cmdAdd"));

    cover->hide();
    EXPECT_TRUE(Reachable(button, middle, "cmdAdd"));
    // A point outside the window is not on screen for the user either.
    button->move(280, 20);
    EXPECT_FALSE(Reachable(button, middle, "cmdAdd"));
    button->move(20, 20);

    button->setEnabled(false);
    EXPECT_STREQ(Reachable(button, middle, "cmdAdd").message(), "cmdAdd is disabled");
    button->setEnabled(true);
    button->hide();
    EXPECT_STREQ(Reachable(button, middle, "cmdAdd").message(), "cmdAdd is not on screen");
}
