// Where the tab pages put their lists and bar controls, for sizes met in the window tests.
#include <gtest/gtest.h>

#include "core/pages/page_layout.h"

namespace
{

TEST(PageLayout, ListsFillTheAreaAboveTheBarAndControlsKeepTheirOffsets)
{
    const struct {
        const char* page;
        PageLayout layout;
        PageBox list;
        PageBox tree;
        std::vector<PagePlace> controls;
    } cases[] = {
        {"Analysis", LayoutAnalysisPage({600, 400}, {75, 23}, {90, 25}), {0, 0, 600, 377}, {}, {{0, 380}, {510, 380}}},
        {"Best Results",
         LayoutBestResultsPage({600, 400}, {75, 23}, {80, 13}, {120, 20}, {70, 15}),
         {0, 0, 600, 377},
         {},
         {{0, 380}, {95, 384}, {175, 380}, {295, 384}}},
        {"Data Info", LayoutOneButtonPage({500, 300}, {60, 20}), {0, 0, 500, 280}, {}, {{0, 283}}},
        // The two buttons may differ in height: each sits by its own.
        {"User Info",
         LayoutUserInfoPage({500, 300}, {110, 20}, {150, 24}),
         {0, 0, 500, 280},
         {},
         {{0, 283}, {120, 279}}},
        // The tree's width is truncated: 15% of 610 is 91.5.
        {"Completed",
         LayoutCompletedPage({610, 400}, {80, 13}, {120, 30}),
         {92, 0, 519, 370},
         {0, 0, 91, 370},
         {{0, 377}, {80, 373}, {200, 377}}},
        // A page smaller than its bar gives a list of negative height, which the system treats as empty.
        {"tiny", LayoutOneButtonPage({10, 5}, {60, 20}), {0, 0, 10, -15}, {}, {{0, -12}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(c.layout.list, c.list);
        EXPECT_EQ(c.layout.tree, c.tree);
        EXPECT_EQ(c.layout.controls, c.controls);
    }
}

} // namespace
