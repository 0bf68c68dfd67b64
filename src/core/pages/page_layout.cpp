// Where each tab page puts its list and the controls of the bar below it.
#include "core/pages/page_layout.h"

namespace
{

constexpr int kButtonDrop = 3; // buttons and sliders sit this far below the bar's top
constexpr int kTextDrop = 7;   // labels and check boxes, whose text is lower in their box

PageLayout ListAbove(ControlSize area, int barHeight)
{
    PageLayout layout;
    layout.list = {0, 0, area.width, area.height - barHeight};
    return layout;
}

} // namespace

PageLayout LayoutAnalysisPage(ControlSize area, ControlSize refresh, ControlSize homePage)
{
    PageLayout layout = ListAbove(area, refresh.height);
    const int top = area.height - refresh.height;
    layout.controls = {{0, top + kButtonDrop}, {area.width - homePage.width, top + kButtonDrop}};
    return layout;
}

PageLayout LayoutBestResultsPage(ControlSize area, ControlSize refresh, ControlSize label, ControlSize slider,
                                 ControlSize showText)
{
    PageLayout layout = ListAbove(area, refresh.height);
    const int top = area.height - refresh.height;
    layout.controls = {{0, top + kButtonDrop},
                       {refresh.width + 20, top + kTextDrop},
                       {refresh.width + label.width + 20, top + kButtonDrop},
                       {refresh.width + slider.width + showText.width + 30, top + kTextDrop}};
    return layout;
}

PageLayout LayoutOneButtonPage(ControlSize area, ControlSize button)
{
    PageLayout layout = ListAbove(area, button.height);
    layout.controls = {{0, area.height - button.height + kButtonDrop}};
    return layout;
}

PageLayout LayoutUserInfoPage(ControlSize area, ControlSize future, ControlSize override)
{
    PageLayout layout = ListAbove(area, future.height);
    layout.controls = {{0, area.height - future.height + kButtonDrop},
                       {future.width + 10, area.height - override.height + kButtonDrop}};
    return layout;
}

PageLayout LayoutCompletedPage(ControlSize area, ControlSize label, ControlSize slider)
{
    PageLayout layout;
    const int top = area.height - slider.height;
    const int treeWidth = static_cast<int>(area.width * 0.15);
    layout.tree = {0, 0, treeWidth, top};
    layout.list = {treeWidth + 1, 0, area.width - treeWidth, top};
    layout.controls = {
        {0, top + kTextDrop}, {label.width, top + kButtonDrop}, {label.width + slider.width, top + kTextDrop}};
    return layout;
}
