// Where each tab page puts its list (and tree) and the controls of the bar below them.
#pragma once

#include <vector>

struct PageBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PageBox&) const = default;
};

struct PagePlace {
    int x = 0;
    int y = 0;
    bool operator==(const PagePlace&) const = default;
};

// A control's size as the window manager reports it.
struct ControlSize {
    int width = 0;
    int height = 0;
};

// The bar's controls keep their sizes and are moved to their places, in the order given.
struct PageLayout {
    PageBox list;
    PageBox tree; // the Completed page's tree; empty elsewhere
    std::vector<PagePlace> controls;
};

// Every page fills the area left inside the tab control. The list reaches down
// to the top of the bar, whose height is that of the first control; the controls sit 3 pixels
// (buttons, sliders) or 7 pixels (labels, check boxes) below the bar's top.

// Refresh at the left, Home Page against the right edge.
PageLayout LayoutAnalysisPage(ControlSize area, ControlSize refresh, ControlSize homePage);
// Refresh, the row height label 20 pixels right of it, the slider after the label, Show Text.
PageLayout LayoutBestResultsPage(ControlSize area, ControlSize refresh, ControlSize label, ControlSize slider,
                                 ControlSize showText);
// One button: Data Info's Sky Map.
PageLayout LayoutOneButtonPage(ControlSize area, ControlSize button);
// Future Work Units, and Override Work Units Per Day 10 pixels right of it.
PageLayout LayoutUserInfoPage(ControlSize area, ControlSize future, ControlSize override);
// The tree takes 15% of the width, the list the rest; below both the row height label, its
// slider and Show Text, the bar as high as the slider.
PageLayout LayoutCompletedPage(ControlSize area, ControlSize label, ControlSize slider);
