// Proportional layout: a window's controls keep their share of its inner area.
#include "Resize.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "ComboBox.h"
#include "CommandButton.h"
#include "Form.h"
#include "Label.h"

using controls::Geometry;

namespace {

// A window that lays itself out as the program's windows do, from its resize event.
class TestWindow : public controls::Form {
  public:
    explicit TestWindow(bool mdiChild = false, int width = 6000, int height = 4500)
        : controls::Form("frmResizeTest", "Resize test", mdiChild),
          Label1(*this, "Label1", "Name", {300, 600, 1500, 300}),
          Command1a(*this, "Command1", "First", {300, 1500, 1200, 450}, 0),
          Command1b(*this, "Command1", "Second", {3000, 1500, 1200, 450}, 1),
          Combo1(*this, "Combo1", {1800, 600, 2400, 315}) {
        SetClientSize(width, height);
    }
    void Form_Resize() override { Resize::ResizeForm(*this); }

    controls::Label Label1;
    controls::CommandButton Command1a;
    controls::CommandButton Command1b;
    controls::ComboBox Combo1;
};

Geometry geometryOf(const controls::Control& c) {
    return {c.Left(), c.Top(), c.Width(), c.Height()};
}

bool operator==(const Geometry& a, const Geometry& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

class ResizeTest : public ::testing::Test {
  protected:
    void SetUp() override { Resize::Forget(); }
    void TearDown() override { Resize::Forget(); }
    static void settle() { QApplication::processEvents(); }
};

}  // namespace

TEST_F(ResizeTest, ControlsScaleWithTheInnerArea) {
    TestWindow w;
    w.Show();
    settle();
    ASSERT_EQ(Resize::FindForm(w), 0);  // the first layout is recorded
    const Geometry label = geometryOf(w.Label1), first = geometryOf(w.Command1a),
                   second = geometryOf(w.Command1b), combo = geometryOf(w.Combo1);

    // Twice as wide: lefts and widths double, tops and heights stay.
    w.SetClientSize(12000, 4500);
    settle();
    EXPECT_TRUE((geometryOf(w.Label1) == Geometry{600, 600, 3000, 300}));
    // Control-array members keep their own places.
    EXPECT_TRUE((geometryOf(w.Command1a) == Geometry{600, 1500, 2400, 450}));
    EXPECT_TRUE((geometryOf(w.Command1b) == Geometry{6000, 1500, 2400, 450}));

    // Twice as high as well: tops and heights double, but a combo keeps its height.
    w.SetClientSize(12000, 9000);
    settle();
    EXPECT_TRUE((geometryOf(w.Label1) == Geometry{600, 1200, 3000, 600}));
    EXPECT_EQ(w.Combo1.Top(), 1200);
    EXPECT_EQ(w.Combo1.Height(), combo.height);

    // Back to the recorded size: everything where it started.
    w.SetClientSize(6000, 4500);
    settle();
    EXPECT_TRUE(geometryOf(w.Label1) == label);
    EXPECT_TRUE(geometryOf(w.Command1a) == first);
    EXPECT_TRUE(geometryOf(w.Command1b) == second);
    EXPECT_EQ(w.Combo1.Width(), combo.width);
}

TEST_F(ResizeTest, FactorsAreWholePercentages) {
    TestWindow w;
    w.Show();
    settle();
    // 6000 to 6045 twips is 0.75 %: the factor stays 100 and nothing moves.
    w.SetClientSize(6045, 4500);
    settle();
    EXPECT_EQ(Resize::WidthFactor(w), 100);
    EXPECT_EQ(w.Command1b.Left(), 3000);
    EXPECT_EQ(w.Command1b.Width(), 1200);
    // 6060 is 101 %.
    w.SetClientSize(6060, 4500);
    settle();
    EXPECT_EQ(Resize::WidthFactor(w), 101);
    EXPECT_EQ(w.Command1b.Left(), 3030);
}

// Another window's control of the same name is not this one; a window of a name already
// recorded shares its records; a control parked far left counts from its real place.
TEST_F(ResizeTest, RecordsAreKeptPerWindowName) {
    TestWindow w;
    Resize::AddForm(w);
    ASSERT_EQ(Resize::ControlSizes.size(), 4u);
    EXPECT_EQ(Resize::FindControl(w.Label1, "frmOther"), -1);
    TestWindow again;
    Resize::ResizeForm(again);
    EXPECT_EQ(Resize::FormSizes.size(), 1u);
    EXPECT_EQ(Resize::ControlSizes.size(), 4u);
    EXPECT_EQ(Resize::RealLeft(-74000), 1000);
    EXPECT_EQ(Resize::RealLeft(250), 250);
}

TEST_F(ResizeTest, AWindowParkedOutOfSightOrWithNoInnerAreaIsLeftAlone) {
    {
        TestWindow parked;
        parked.Move(0, 30000);
        Resize::ResizeForm(parked);
        EXPECT_EQ(Resize::FindForm(parked), -1);
    }
    // Recorded with no inner area, a window cannot be scaled: its controls stay.
    TestWindow empty(false, 0, 0);
    Resize::AddForm(empty);
    empty.SetClientSize(9000, 6000);
    Resize::ResizeForm(empty);
    EXPECT_EQ(Resize::WidthFactor(empty), std::nullopt);
    EXPECT_EQ(empty.Command1b.Left(), 3000);
    EXPECT_EQ(empty.Command1b.Width(), 1200);
}

TEST_F(ResizeTest, AChildWindowsFirstLayoutLeavesMarginsThenFillsTheWindow) {
    controls::MdiForm host("frmHost", "Host");
    host.resize(1000, 800);
    host.Show();
    TestWindow w(true, 9000, 6000);
    w.Show();
    settle();
    ASSERT_EQ(Resize::FindForm(w), 0);
    const Resize::SizeRecord& r = Resize::FormSizes[0];
    // Shrunk around the controls: 200 right of the furthest (3000 + 1200), 500 below the
    // lowest (1500 + 450); to the pixel.
    EXPECT_NEAR(r.Width, 4400, 15);
    EXPECT_NEAR(r.Height, 2450, 15);
    // Then stretched back: the window keeps its size and the layout fills it.
    EXPECT_EQ(w.ScaleWidth(), 9000);
    const int widthFactor = 9000 * 100 / r.ScaleWidth;
    EXPECT_EQ(w.Command1b.Left(), 3000 * widthFactor / 100);
    EXPECT_EQ(w.Command1b.Width(), 1200 * widthFactor / 100);
    EXPECT_GT(w.Command1b.Left(), 3000);
}
