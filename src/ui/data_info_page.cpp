// The Data Info tab page: its template and an empty procedure until the tab's lists are built.
#include "ui/data_info_page.h"

#include "resources/resource.h"
#include "ui/app_state.h"

namespace {

INT_PTR CALLBACK DataInfoPageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

HWND CreateDataInfoPage(HWND parent)
{
    return CreateDialogParamA(App().instance, MAKEINTRESOURCEA(IDD_DATA_INFO), parent, DataInfoPageProc, 0);
}

void RefreshDataInfo() {}
