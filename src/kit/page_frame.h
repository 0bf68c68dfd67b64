// The skeleton every tab page and dialog shares: creation, per-window state, and one message
// dispatch that hands each message to a named handler inside one exception guard.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

// The module the resources load from: the program's, or the running module's before the
// program has set it (the window tests).
HINSTANCE AppInstance();

// A modeless dialog from a template: a tab page when parent is the tab control or main window.
HWND CreatePage(HWND parent, int templateId, DLGPROC procedure);

// Per-window state, attached one way: made at the first message that asks for it (a list asks
// for its row height while the dialog creates it, before WM_INITDIALOG), kept in the window's
// user slot, and freed by FreeWindowState when the window is gone (WM_NCDESTROY).
// Dialogs keep it in DWLP_USER, plain windows in GWLP_USERDATA.
template <typename State, int Slot = DWLP_USER> State& WindowState(HWND hwnd)
{
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, Slot));
    if (!state) {
        state = new State;
        SetWindowLongPtrA(hwnd, Slot, reinterpret_cast<LONG_PTR>(state));
    }
    return *state;
}

template <typename State, int Slot = DWLP_USER> void FreeWindowState(HWND hwnd)
{
    delete reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, Slot));
    SetWindowLongPtrA(hwnd, Slot, 0);
}

// What a page or dialog does with the messages it handles; a missing handler (null) leaves the
// message to the system. Handlers returning BOOL say whether they handled it. A page's table
// names its handlers in this order, from WM_INITDIALOG to its own messages.
struct PageHandlers {
    BOOL (*initDialog)(HWND page, LPARAM param) = nullptr;
    void (*size)(HWND page) = nullptr;
    BOOL (*measureItem)(HWND page, MEASUREITEMSTRUCT* measure) = nullptr;
    BOOL (*drawItem)(HWND page, const DRAWITEMSTRUCT* draw) = nullptr;
    BOOL (*notify)(HWND page, const NMHDR* header) = nullptr;
    void (*command)(HWND page, int id, int code, HWND control) = nullptr;
    void (*horizontalScroll)(HWND page, HWND control) = nullptr;
    void (*destroy)(HWND page) = nullptr;
    void (*freeState)(HWND page) = nullptr; // at WM_NCDESTROY
    // Any other message: the page's own; returns FALSE for messages it leaves to the system.
    INT_PTR (*other)(HWND page, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
    // Where a page that others drive keeps its window: set from WM_INITDIALOG on, null again once
    // the window is gone (WM_NCDESTROY).
    HWND* window = nullptr;
};

// The dialog procedure's body. An exception never leaves it: a failed allocation puts
// "Out of memory" on the status line, and the message counts as handled.
INT_PTR HandlePageMessage(const PageHandlers& handlers, HWND page, UINT message, WPARAM wParam, LPARAM lParam);

struct PageLayout;
struct ControlSize;

// The size of the page's area inside the tab control: what a page lays out in.
ControlSize PageSize(HWND page);
// A control's size as the window manager has it.
ControlSize SizeOf(HWND page, int controlId);
// Moves the list (and tree, when given) into its box and the bar's controls, in order, to their
// places, keeping their sizes.
void ApplyLayout(HWND page, const PageLayout& layout, int listId, std::initializer_list<int> controlIds,
                 int treeId = 0);

// The dialog procedure of a page or dialog whose handlers are the given table.
template <const PageHandlers& Handlers> INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandlePageMessage(Handlers, page, message, wParam, lParam);
}
