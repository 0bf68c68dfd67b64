// The row height slider and Show Text box under the graph lists.
#include "kit/graph_rows.h"

#include <commctrl.h>

#include "core/common/status_sink.h"
#include "platform/settings_store.h"
#include "kit/list_view.h"

namespace
{

constexpr int kLargestSliderHeight = 100;

void ShowRowHeight(HWND page, const GraphRowControls& controls, int height)
{
    SetDlgItemTextA(page, controls.labelId, Format("Row height %d", height).c_str());
}

int SliderPosition(HWND page, const GraphRowControls& controls)
{
    return static_cast<int>(SendDlgItemMessageA(page, controls.sliderId, TBM_GETPOS, 0, 0));
}

} // namespace

int GraphRowHeight(HWND page, const GraphRowControls& controls, GraphRowState& state)
{
    if (state.rowHeight == kRowHeightUnknown)
        state.rowHeight = FirstRowHeight(page, controls.listId, controls.rowHeightValue);
    return state.rowHeight;
}

void InitGraphRowControls(HWND page, const GraphRowControls& controls, GraphRowState& state)
{
    const int height = GraphRowHeight(page, controls, state);
    const HWND slider = GetDlgItem(page, controls.sliderId);
    SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(kSmallestRowHeight, kLargestSliderHeight));
    SendMessageA(slider, TBM_SETPOS, TRUE, height); // the slider holds it at its range's ends
    ShowRowHeight(page, controls, height);

    CheckDlgButton(page, controls.showTextId, BST_CHECKED);
    state.showText = 1;
    SettingsStore store;
    int stored = 0;
    if (store.Open() && store.ReadNumber(controls.showTextValue, stored)) {
        CheckDlgButton(page, controls.showTextId, stored == 1 ? BST_CHECKED : BST_UNCHECKED);
        state.showText = stored;
    }
    RemeasureRows(GetDlgItem(page, controls.listId));
}

bool OnGraphSliderMoved(HWND page, const GraphRowControls& controls, GraphRowState& state)
{
    const int position = SliderPosition(page, controls);
    if (position == state.rowHeight)
        return false;
    state.rowHeight = position;
    ShowRowHeight(page, controls, position);
    RemeasureRows(GetDlgItem(page, controls.listId));
    return true;
}

bool StoreShowText(HWND page, const GraphRowControls& controls, GraphRowState& state)
{
    const int checked = IsDlgButtonChecked(page, controls.showTextId) == BST_CHECKED ? 1 : 0;
    SettingsStore store;
    if (!store.Open() || !store.WriteNumber(controls.showTextValue, static_cast<DWORD>(checked))) {
        CheckDlgButton(page, controls.showTextId, state.showText == 1 ? BST_CHECKED : BST_UNCHECKED);
        return false;
    }
    state.showText = checked;
    InvalidateRect(GetDlgItem(page, controls.listId), nullptr, FALSE);
    return true;
}

void SaveGraphRowHeight(HWND page, const GraphRowControls& controls)
{
    SettingsStore store;
    if (store.Open())
        store.WriteNumber(controls.rowHeightValue, static_cast<DWORD>(SliderPosition(page, controls)));
}
