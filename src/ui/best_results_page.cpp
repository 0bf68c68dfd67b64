// The Best Results tab page: the same rows as the Analysis list, by their best signals.
#include "ui/best_results_page.h"

#include "resources/resource.h"
#include "settings/value_names.h"
#include "settings/window_layout.h"
#include "ui/app_state.h"
#include "ui/list_view.h"

namespace {

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_BEST_LIST);
}

BOOL OnInitDialog(HWND page)
{
    const HWND list = List(page);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    MakeColumn(list, 0, "Location", kAlignLeft);
    MakeColumn(list, 1, "Peak", kAlignRight);
    MakeColumn(list, 2, "Triplet", kAlignLeft);
    MakeColumn(list, 3, "Pulses", kAlignLeft);
    MakeColumn(list, 4, "Gaussian", kAlignLeft);
    InstallHeaderPainter(list);
    return TRUE;
}

void OnDestroy(HWND page)
{
    const HWND list = List(page);
    SaveColumnWidths(list, kValueBestColumnWidths);
    ListView_DeleteAllItems(list);  // the rows belong to the Analysis list
    DeleteAllColumns(list);
}

INT_PTR CALLBACK BestResultsPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(page);
    case WM_MEASUREITEM:
        return MeasureListRow(page, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == LVN_COLUMNCLICK) {
            SortOnColumnClick(List(page), reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        OnDestroy(page);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND CreateBestResultsPage(HWND parent)
{
    return CreateDialogParamA(App().instance ? App().instance : GetModuleHandleA(nullptr),
                              MAKEINTRESOURCEA(IDD_BEST_RESULTS), parent, BestResultsPageProc, 0);
}
