#pragma once
// How a bi-level page is stored: written as it comes, or turned upright first,
// and which fax resolution labels it gets. Fax machines expect pages that are
// taller than wide at 204 dpi across, so landscape and "sideways fine" pages
// are turned by 90 degrees clockwise.

namespace tolvane {

enum class PageWay { Direct, Turned };

struct PagePlan {
    PageWay way;
    double xLabel;  // dots per inch written as XResolution (scheme permitting)
    double yLabel;
};

// Resolutions of 196 dpi or more count as high (fine) on either axis.
constexpr int kHighResolutionThreshold = 196;

PagePlan PlanBilevelPage(int xDpi, int yDpi, int width, int height);

}  // namespace tolvane
