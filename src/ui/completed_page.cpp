// The Completed Work Units tab page: its template and an empty procedure until the tab's lists are built.
#include "ui/completed_page.h"

#include "resources/resource.h"
#include "ui/app_state.h"

namespace {

INT_PTR CALLBACK CompletedPageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

HWND CreateCompletedPage(HWND parent)
{
    return CreateDialogParamA(App().instance, MAKEINTRESOURCEA(IDD_COMPLETED), parent, CompletedPageProc, 0);
}

void ReloadCompleted() {}
