// The About dialog: shows the version history and legal notice and opens the home page or an e-mail to the author.
#include "dialogs/about_dialog.h"

#include <shellapi.h>

#include "resources/resource.h"
#include "kit/page_frame.h"
#include "kit/app_state.h"
#include "kit/links.h"

namespace
{

constexpr char kVersionHistory[] =
    "Version 4.0\r\n"
    "\r\n"
    "- The Triplets column of the Best Results tab now shows the triplet's score instead of its period.\r\n"
    "- The Analysis tab has a new Angle Range column.\r\n"
    "- The columns of the Best Results tab can be sorted by clicking their titles.\r\n"
    "- The Completed Work Units tab draws gaussian, triplet and pulse graphs for every work unit.\r\n"
    "- The Mflops estimate now follows version 3.03 of the command-line client.\r\n"
    "\r\n"
    "Thanks to everyone who sent in ideas and bug reports. Keep those work units coming!";

constexpr char kLegalNotice[] =
    "This program is provided as is, without warranty of any kind. You use it entirely at your own risk. "
    "The author is not liable for any lost work units or for any other damages, direct or indirect, that "
    "result from using or being unable to use this program.";

void Open(HWND dialog, const char* address)
{
    ShellExecuteA(dialog, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL OnInitDialog(HWND dialog, LPARAM)
{
    SetDlgItemTextA(dialog, IDC_ABOUT_LEGAL, kLegalNotice);
    SetDlgItemTextA(dialog, IDC_ABOUT_HISTORY, kVersionHistory);
    return TRUE;
}

void OnCommand(HWND dialog, int id, int, HWND)
{
    switch (id) {
    case IDC_ABOUT_HOME_PAGE:
        Open(dialog, kHomePageUrl);
        break;
    case IDC_ABOUT_EMAIL:
        Open(dialog, kAuthorMailUrl);
        break;
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, 1);
        break;
    }
}

constexpr PageHandlers kHandlers{OnInitDialog, nullptr, nullptr, nullptr, nullptr, OnCommand};

} // namespace

void ShowAboutDialog(HWND owner)
{
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_ABOUT), owner, PageProc<kHandlers>, 0);
}
