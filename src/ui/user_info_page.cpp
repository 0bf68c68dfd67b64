// The User Info tab page: its template and an empty procedure until the tab's lists are built.
#include "ui/user_info_page.h"

#include "resources/resource.h"
#include "ui/app_state.h"

namespace {

INT_PTR CALLBACK UserInfoPageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

HWND CreateUserInfoPage(HWND parent)
{
    return CreateDialogParamA(App().instance, MAKEINTRESOURCEA(IDD_USER_INFO), parent, UserInfoPageProc, 0);
}

void RefreshUserInfo() {}
