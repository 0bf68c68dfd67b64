// Column-title tooltips: the tooltip window, its tools and the header procedure that supplies the texts.
#include "kit/header_tips.h"

#include <commctrl.h>

#include <new>
#include <string>
#include <vector>

#include "kit/app_state.h"
#include "kit/page_frame.h"

namespace
{

constexpr char kTipsProperty[] = "VantorelHeaderTips";
constexpr char kNoTip[] = "No Tip";
// Long texts wrap at this width, and their \r\n breaks start new lines.
constexpr LPARAM kMaxTipWidth = 400;

// Everything one list's tips need, reached from the header's window property.
struct HeaderTips {
    HWND list = nullptr;
    HWND header = nullptr;
    HWND tooltip = nullptr;
    WNDPROC original = nullptr;
    HeaderTipSource source{};
    int tools = 0; // tools with ids 0 .. tools - 1 exist on the header
    // The tooltip reads the answered text after the request returns, so it lives here. Both
    // grow to the whole string: the longest tip (401 characters) would not fit a fixed 400.
    std::string text;
    std::wstring wide;
};

HeaderTips* TipsOf(HWND header)
{
    return header ? static_cast<HeaderTips*>(GetPropA(header, kTipsProperty)) : nullptr;
}

int HeaderColumns(HWND header)
{
    return Header_GetItemCount(header);
}

// A string table entry whole, or nothing when the table has none for the id.
std::string LoadWholeString(UINT id)
{
    std::vector<char> buffer(512);
    for (;;) {
        const int length = LoadStringA(AppInstance(), id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0)
            return {};
        // A text that filled the buffer may have been cut: try again with room to spare.
        if (length < static_cast<int>(buffer.size()) - 1 || buffer.size() > 0x20000)
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring WideText(const std::string& text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

TTTOOLINFOA ToolInfo(HWND header, int column)
{
    // The V2 size is accepted by every version of the common controls; the full structure is not.
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = header;
    tool.uId = static_cast<UINT_PTR>(column);
    return tool;
}

// One tool per column; tools of columns that no longer exist go, so reloads do not pile them up.
void SyncTools(HeaderTips& tips)
{
    const int columns = HeaderColumns(tips.header);
    while (tips.tools > columns) {
        TTTOOLINFOA tool = ToolInfo(tips.header, tips.tools - 1);
        SendMessageA(tips.tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        --tips.tools;
    }
    while (tips.tools < columns) {
        TTTOOLINFOA tool = ToolInfo(tips.header, tips.tools);
        tool.rect = RECT{0, 0, 1, 1};
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        if (!SendMessageA(tips.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)))
            return;
        ++tips.tools;
    }
}

// Each tool covers its column's part of the header; scrolling the list sideways does not move it.
void LayOutTools(const HeaderTips& tips)
{
    RECT client{};
    GetClientRect(tips.header, &client);
    int x = 0;
    for (int column = 0; column < tips.tools; ++column) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        if (!Header_GetItem(tips.header, column, &item))
            break;
        TTTOOLINFOA tool = ToolInfo(tips.header, column);
        tool.rect = RECT{x, 0, x + item.cxy, client.bottom};
        SendMessageA(tips.tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
        x += item.cxy;
    }
}

// Fills tips.text for a column: its string, the list's fallback where the table has none, and
// nothing for a column the list does not have (any more).
void LoadTipText(HeaderTips& tips, UINT_PTR column)
{
    tips.text = tips.source.noTipFallback ? kNoTip : "";
    const int columns = HeaderColumns(tips.header);
    if (column >= static_cast<UINT_PTR>(columns)) {
        tips.text.clear();
        return;
    }
    const HeaderTipSource& source = tips.source;
    const int base = source.totalsBase != 0 && columns == source.totalsColumns ? source.totalsBase : source.base;
    std::string loaded = LoadWholeString(static_cast<UINT>(base + static_cast<int>(column)));
    if (!loaded.empty())
        tips.text = std::move(loaded);
}

// Answers the tooltip's text request; false for any other notification.
bool AnswerTextRequest(HeaderTips& tips, NMHDR* notify)
{
    if (notify->hwndFrom != tips.tooltip || (notify->code != TTN_NEEDTEXTA && notify->code != TTN_NEEDTEXTW))
        return false;
    SendMessageA(tips.tooltip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    LoadTipText(tips, notify->idFrom);
    if (notify->code == TTN_NEEDTEXTA) {
        auto* request = reinterpret_cast<NMTTDISPINFOA*>(notify);
        request->hinst = AppInstance();
        // The tooltip shows the whole text through the pointer; the request's own 80 characters
        // keep its start for anyone who reads only those.
        const size_t copied = tips.text.copy(request->szText, sizeof(request->szText) - 1);
        request->szText[copied] = '\0';
        request->lpszText = tips.text.data();
    } else {
        auto* request = reinterpret_cast<NMTTDISPINFOW*>(notify);
        request->hinst = AppInstance();
        tips.wide = WideText(tips.text);
        request->szText[0] = L'\0';
        request->lpszText = tips.wide.data();
    }
    return true;
}

void Relay(const HeaderTips& tips, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(tips.tooltip))
        return;
    MSG relayed{};
    relayed.hwnd = tips.header;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = static_cast<DWORD>(GetMessageTime());
    const DWORD position = GetMessagePos();
    relayed.pt = POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    SendMessageA(tips.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

LRESULT CALLBACK HeaderTipsProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT OnNcDestroy(HWND header, HeaderTips* tips, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC original = tips->original;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(header, GWLP_WNDPROC)) == HeaderTipsProc)
        SetWindowLongPtrA(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(header, kTipsProperty);
    // A tooltip made with a child window as owner belongs to the child's top-level window, which
    // outlives the list: without this it would stay behind, one per destroyed list.
    if (IsWindow(tips->tooltip))
        DestroyWindow(tips->tooltip);
    delete tips;
    return CallWindowProcA(original, header, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK HeaderTipsProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam)
{
    HeaderTips* tips = TipsOf(header);
    if (!tips)
        return DefWindowProcA(header, message, wParam, lParam);
    switch (message) {
    case WM_NOTIFY:
        try {
            if (lParam && AnswerTextRequest(*tips, reinterpret_cast<NMHDR*>(lParam)))
                return 0;
        } catch (const std::bad_alloc&) {
            return 0; // no memory for the text: the tooltip shows what the request already held
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        Relay(*tips, message, wParam, lParam);
        break;
    case WM_LBUTTONUP: {
        // The header tells the end of a divider drag (HDN_ENDTRACK) before it stores the new
        // width, so the areas are laid out again once it has.
        Relay(*tips, message, wParam, lParam);
        const LRESULT result = CallWindowProcA(tips->original, header, message, wParam, lParam);
        // The click may have ended in a handler that destroyed the list.
        if (const HeaderTips* still = TipsOf(header))
            LayOutTools(*still);
        return result;
    }
    case WM_NCDESTROY:
        return OnNcDestroy(header, tips, wParam, lParam);
    }
    return CallWindowProcA(tips->original, header, message, wParam, lParam);
}

} // namespace

HWND InstallHeaderTips(HWND list, const HeaderTipSource& source)
{
    const HWND header = ListView_GetHeader(list);
    if (!header)
        return nullptr;
    if (const HeaderTips* existing = TipsOf(header))
        return existing->tooltip;
    const HWND tooltip =
        CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr, AppInstance(), nullptr);
    if (!tooltip)
        return nullptr;
    auto* tips = new (std::nothrow) HeaderTips;
    if (!tips) {
        DestroyWindow(tooltip);
        return nullptr;
    }
    tips->list = list;
    tips->header = header;
    tips->tooltip = tooltip;
    tips->source = source;
    if (!SetPropA(header, kTipsProperty, tips)) {
        DestroyWindow(tooltip);
        delete tips;
        return nullptr;
    }
    tips->original =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HeaderTipsProc)));
    if (!tips->original) {
        RemovePropA(header, kTipsProperty);
        DestroyWindow(tooltip);
        delete tips;
        return nullptr;
    }
    SyncTools(*tips);
    return tooltip;
}

void PlaceHeaderTips(HWND list)
{
    HeaderTips* tips = TipsOf(ListView_GetHeader(list));
    if (!tips)
        return;
    SyncTools(*tips);
    LayOutTools(*tips);
}

HWND HeaderTipWindow(HWND list)
{
    const HeaderTips* tips = TipsOf(ListView_GetHeader(list));
    return tips ? tips->tooltip : nullptr;
}
