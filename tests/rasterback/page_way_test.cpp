#include <gtest/gtest.h>

#include "rasterback/page_way.h"

namespace tolvane {
namespace {

struct WayCase {
    int xDpi, yDpi, width, height;
    PageWay way;
    double xLabel, yLabel;
};

TEST(PageWay, FollowsTheResolutionAndShapeTable) {
    const WayCase cases[] = {
        // both fine: the shape decides
        {204, 196, 2292, 1728, PageWay::Turned, 204, 196},
        {204, 196, 1728, 2292, PageWay::Direct, 204, 196},
        {200, 200, 300, 200, PageWay::Turned, 204, 196},
        {200, 200, 200, 300, PageWay::Direct, 204, 196},
        {200, 200, 250, 250, PageWay::Direct, 204, 196},  // square is not wider than tall
        // exactly 196 counts as fine on either axis
        {196, 196, 10, 20, PageWay::Direct, 204, 196},
        {196, 196, 20, 10, PageWay::Turned, 204, 196},
        {195, 196, 10, 20, PageWay::Turned, 204, 98},
        {196, 195, 20, 10, PageWay::Direct, 204, 98},
        // coarse across, fine down: turned whatever its shape
        {98, 204, 100, 50, PageWay::Turned, 204, 98},
        {98, 204, 50, 100, PageWay::Turned, 204, 98},
        // coarse down: direct whatever its shape
        {204, 98, 1728, 1145, PageWay::Direct, 204, 98},
        {204, 98, 2000, 100, PageWay::Direct, 204, 98},
        {98, 98, 100, 50, PageWay::Direct, 204, 98},
        {0, 0, 1, 1, PageWay::Direct, 204, 98},
    };
    for (const WayCase& c : cases) {
        const PagePlan plan = PlanBilevelPage(c.xDpi, c.yDpi, c.width, c.height);
        SCOPED_TRACE(::testing::Message() << c.xDpi << "x" << c.yDpi << " " << c.width << "x" << c.height);
        EXPECT_EQ(plan.way, c.way);
        EXPECT_EQ(plan.xLabel, c.xLabel);
        EXPECT_EQ(plan.yLabel, c.yLabel);
    }
}

}  // namespace
}  // namespace tolvane
