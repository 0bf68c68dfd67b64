// Which pages the main window made, and their lists.
#include "shell/page_table.h"

TabState& Tabs()
{
    static TabState state;
    return state;
}

HWND PageList(int tab)
{
    if (tab < 0 || tab >= kTabCount)
        return nullptr;
    const HWND page = Tabs().pages[tab];
    const int listId = kPageTable[tab].listId;
    return page && listId != 0 ? GetDlgItem(page, listId) : nullptr;
}
