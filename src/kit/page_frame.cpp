// The skeleton every tab page and dialog shares.
#include "kit/page_frame.h"

#include "core/pages/page_layout.h"
#include "kit/app_state.h"

namespace
{

// Calls a handler that answers nothing; TRUE when there was one.
INT_PTR Call(void (*handler)(HWND), HWND page)
{
    if (!handler)
        return FALSE;
    handler(page);
    return TRUE;
}

INT_PTR Dispatch(const PageHandlers& handlers, HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (handlers.window)
            *handlers.window = page;
        return handlers.initDialog ? handlers.initDialog(page, lParam) : TRUE;
    case WM_SIZE:
        return Call(handlers.size, page);
    case WM_MEASUREITEM:
        return handlers.measureItem ? handlers.measureItem(page, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) : FALSE;
    case WM_DRAWITEM:
        return handlers.drawItem ? handlers.drawItem(page, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) : FALSE;
    case WM_NOTIFY:
        return handlers.notify ? handlers.notify(page, reinterpret_cast<const NMHDR*>(lParam)) : FALSE;
    case WM_COMMAND:
        if (!handlers.command)
            break;
        handlers.command(page, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_HSCROLL:
        if (!handlers.horizontalScroll)
            break;
        handlers.horizontalScroll(page, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_DESTROY:
        return Call(handlers.destroy, page);
    case WM_NCDESTROY:
        if (handlers.freeState)
            handlers.freeState(page);
        if (handlers.window && *handlers.window == page)
            *handlers.window = nullptr;
        return FALSE;
    }
    return handlers.other ? handlers.other(page, message, wParam, lParam) : FALSE;
}

} // namespace

HINSTANCE AppInstance()
{
    return App().instance ? App().instance : GetModuleHandleA(nullptr);
}

HWND CreatePage(HWND parent, int templateId, DLGPROC procedure)
{
    return CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(templateId), parent, procedure, 0);
}

INT_PTR HandlePageMessage(const PageHandlers& handlers, HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Nothing may unwind into the system's dialog code; a message that threw counts as handled.
    INT_PTR result = TRUE;
    RunGuarded([&] { result = Dispatch(handlers, page, message, wParam, lParam); });
    return result;
}

ControlSize PageSize(HWND page)
{
    RECT area{};
    GetClientRect(page, &area);
    if (App().tabControl)
        TabCtrl_AdjustRect(App().tabControl, FALSE, &area);
    // The area's right and bottom edges, as the pages have always used them.
    return {area.right, area.bottom};
}

ControlSize SizeOf(HWND page, int controlId)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(page, controlId), &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void ApplyLayout(HWND page, const PageLayout& layout, int listId, std::initializer_list<int> controlIds, int treeId)
{
    const auto move = [page](int id, const PageBox& box) {
        MoveWindow(GetDlgItem(page, id), box.left, box.top, box.width, box.height, TRUE);
    };
    if (treeId != 0)
        move(treeId, layout.tree);
    move(listId, layout.list);
    size_t index = 0;
    for (const int id : controlIds) {
        if (index >= layout.controls.size())
            break;
        const PagePlace& place = layout.controls[index++];
        SetWindowPos(GetDlgItem(page, id), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}
