#include "rasterback/page_way.h"

namespace tolvane {

PagePlan PlanBilevelPage(int xDpi, int yDpi, int width, int height) {
    const bool xHigh = xDpi >= kHighResolutionThreshold;
    const bool yHigh = yDpi >= kHighResolutionThreshold;
    if (xHigh && yHigh) return {width > height ? PageWay::Turned : PageWay::Direct, 204.0, 196.0};
    if (yHigh)  // coarse across, fine down: the page lies on its side
        return {PageWay::Turned, 204.0, 98.0};
    return {PageWay::Direct, 204.0, 98.0};
}

}  // namespace tolvane
