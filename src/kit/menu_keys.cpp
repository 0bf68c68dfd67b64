// Where a context menu opened from the keyboard goes.
#include "kit/menu_keys.h"

#include <algorithm>

POINT MenuPointBelow(HWND control, const RECT& item)
{
    RECT client{};
    GetClientRect(control, &client);
    POINT point{std::clamp(item.left, client.left, client.right), std::clamp(item.bottom, client.top, client.bottom)};
    ClientToScreen(control, &point);
    return point;
}
