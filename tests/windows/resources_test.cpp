// Loads every compiled resource of the program and checks what the code relies on: dialog
// templates that create with the expected controls, menus, tooltip strings, images and metadata.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "version.h"

namespace
{

HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

void InitControls()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                              ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
}

INT_PTR CALLBACK TrivialDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Destroys a window when the test leaves its scope, whatever assertion failed first.
class WindowGuard
{
public:
    explicit WindowGuard(HWND hwnd) : hwnd_(hwnd) {}
    WindowGuard(const WindowGuard&) = delete;
    WindowGuard& operator=(const WindowGuard&) = delete;
    ~WindowGuard()
    {
        if (hwnd_ != nullptr)
            DestroyWindow(hwnd_);
    }
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

HWND CreateTemplate(int dialogId, HWND parent)
{
    return CreateDialogParamA(Instance(), MAKEINTRESOURCEA(dialogId), parent, TrivialDialogProc, 0);
}

std::string ClassOf(HWND hwnd)
{
    char name[128] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

std::string TextOf(HWND hwnd)
{
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

constexpr int kAnyType = -1; // the control is not a button, or its button type does not matter

struct ControlWant {
    int id;
    const char* className;
    DWORD requiredStyle; // every bit must be set
    int buttonType;      // BS_* type in the low four bits, or kAnyType
    RECT dlu;            // x, y, width, height in dialog units; width 0: not checked
};

struct DialogWant {
    int id;
    bool child;
    const char* caption;
    int cx, cy;    // template size in dialog units
    int defaultId; // 0: no default push button
    std::vector<ControlWant> controls;
};

// The list and tree views turn WS_BORDER into a client edge, so the border is not checked.
constexpr DWORD kReportOwnerDrawn = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED;

const std::vector<DialogWant>& Dialogs()
{
    static const std::vector<DialogWant> dialogs = {
        {IDD_ABOUT,
         false,
         "About Vantorel",
         374,
         236,
         IDOK,
         {{IDOK, "Button", 0, BS_DEFPUSHBUTTON, {}},
          {IDC_ABOUT_HISTORY, "Edit", ES_MULTILINE | ES_READONLY | WS_VSCROLL, kAnyType, {6, 51, 361, 129}},
          {IDC_ABOUT_LEGAL, "Static", 0, kAnyType, {6, 193, 361, 39}},
          {IDC_ABOUT_HOME_PAGE, "Button", 0, BS_PUSHBUTTON, {}},
          {IDC_ABOUT_EMAIL, "Button", 0, BS_PUSHBUTTON, {}}}},
        {IDD_ANALYSIS,
         true,
         "",
         330,
         141,
         0,
         {{IDC_ANALYSIS_LIST,
           "SysListView32",
           kReportOwnerDrawn | LVS_SINGLESEL | WS_TABSTOP,
           kAnyType,
           {7, 7, 315, 101}},
          {IDC_ANALYSIS_REFRESH, "Button", 0, BS_PUSHBUTTON, {11, 114, 62, 14}},
          {IDC_ANALYSIS_HOME_PAGE, "Button", 0, BS_PUSHBUTTON, {226, 114, 96, 14}}}},
        {IDD_LOCATIONS,
         false,
         "SETI Locations",
         452,
         157,
         IDC_LOCATIONS_OK,
         {{IDC_LOCATIONS_LIST, "SysListView32", kReportOwnerDrawn | LVS_SINGLESEL, kAnyType, {7, 7, 393, 124}},
          {IDC_LOCATIONS_ADD, "Button", 0, BS_PUSHBUTTON, {407, 7, 38, 14}},
          {IDC_LOCATIONS_EDIT, "Button", WS_DISABLED, BS_PUSHBUTTON, {407, 24, 38, 14}},
          {IDC_LOCATIONS_DELETE, "Button", WS_DISABLED, BS_PUSHBUTTON, {407, 41, 38, 14}},
          {IDC_LOCATIONS_OK, "Button", 0, kAnyType, {166, 136, 50, 14}},
          {IDCANCEL, "Button", 0, BS_PUSHBUTTON, {234, 136, 50, 14}}}},
        {IDD_SHOW_WORK_UNITS,
         false,
         "Show Work Units",
         188,
         129,
         IDOK,
         {{IDC_SHOW_WU_LIST, "SysListView32", LVS_REPORT | LVS_SORTASCENDING, kAnyType, {7, 7, 174, 93}},
          {IDC_SHOW_WU_ALL, "Button", 0, BS_PUSHBUTTON, {7, 108, 50, 14}},
          {IDC_SHOW_WU_NONE, "Button", 0, BS_PUSHBUTTON, {63, 108, 50, 14}},
          {IDOK, "Button", 0, kAnyType, {131, 108, 50, 14}}}},
        {IDD_LOCATION,
         false,
         nullptr,
         317,
         113,
         IDOK,
         {{IDC_LOCATION_SHORT_NAME, "Edit", 0, kAnyType, {93, 6, 156, 12}},
          {IDC_LOCATION_PATH, "Edit", 0, kAnyType, {93, 24, 156, 12}},
          {IDC_LOCATION_BROWSE, "Button", 0, BS_PUSHBUTTON, {254, 23, 55, 14}},
          {IDC_LOCATION_COLOR_SWATCH, "Static", 0, kAnyType, {93, 42, 156, 12}},
          {IDC_LOCATION_CHOOSE_COLOR, "Button", 0, BS_PUSHBUTTON, {254, 41, 55, 14}},
          {IDC_LOCATION_ANALYSIS, "Button", 0, BS_AUTOCHECKBOX, {93, 59, 53, 10}},
          {IDC_LOCATION_DATA_INFO, "Button", 0, BS_AUTOCHECKBOX, {93, 70, 57, 10}},
          {IDC_LOCATION_USER_INFO, "Button", 0, BS_AUTOCHECKBOX, {93, 81, 57, 10}},
          {IDC_LOCATION_COMPLETED, "Button", 0, BS_AUTOCHECKBOX, {93, 92, 76, 10}},
          {IDOK, "Button", WS_DISABLED, kAnyType, {259, 70, 50, 14}},
          {IDCANCEL, "Button", 0, BS_PUSHBUTTON, {259, 88, 50, 14}}}},
        {IDD_OVERRIDE,
         false,
         "Override Work Units Per Day",
         0,
         0,
         IDOK,
         {{IDC_OVERRIDE_PROMPT, "Static", 0, kAnyType, {}},
          {IDC_OVERRIDE_VALUE, "Edit", 0, kAnyType, {}},
          {IDC_OVERRIDE_HINTS, "Static", 0, kAnyType, {}},
          {IDCANCEL, "Button", 0, BS_PUSHBUTTON, {}}}},
        {IDD_DATA_INFO,
         true,
         "",
         186,
         94,
         0,
         {{IDC_DATA_INFO_LIST, "SysListView32", kReportOwnerDrawn | LVS_SINGLESEL, kAnyType, {7, 7, 172, 61}},
          {IDC_DATA_INFO_SKY_MAP, "Button", 0, BS_PUSHBUTTON, {7, 73, 45, 14}}}},
        {IDD_OPTIONS,
         true,
         "",
         322,
         149,
         0,
         {{IDC_OPTIONS_RATE_GROUP, "Button", 0, BS_GROUPBOX, {2, 3, 245, 40}},
          {IDC_OPTIONS_REFRESH_RATE, "msctls_trackbar32", TBS_AUTOTICKS | TBS_BOTH, kAnyType, {5, 14, 238, 22}},
          {IDC_OPTIONS_MINIMIZE_TO_TRAY, "Button", 0, BS_AUTOCHECKBOX, {7, 49, 91, 10}},
          {IDC_OPTIONS_GRAND_TOTAL, "Button", 0, BS_AUTOCHECKBOX, {7, 62, 141, 10}},
          {IDC_OPTIONS_COMMAND_GROUP, "Button", 0, BS_GROUPBOX, {2, 78, 245, 56}},
          {IDC_OPTIONS_COMMAND, "Edit", ES_AUTOHSCROLL, kAnyType, {7, 90, 233, 14}},
          {IDC_OPTIONS_ABOUT, "Button", 0, BS_PUSHBUTTON, {252, 7, 66, 14}},
          {IDC_OPTIONS_LOCATIONS, "Button", 0, BS_PUSHBUTTON, {252, 29, 66, 14}},
          {IDC_OPTIONS_ALERT, "Button", 0, BS_AUTOCHECKBOX, {7, 137, 160, 10}}}},
        {IDD_USER_INFO,
         true,
         "",
         220,
         94,
         0,
         {{IDC_USER_INFO_LIST, "SysListView32", kReportOwnerDrawn | LVS_SINGLESEL, kAnyType, {7, 7, 206, 54}},
          {IDC_USER_INFO_FUTURE, "Button", WS_DISABLED, BS_PUSHBUTTON, {7, 72, 75, 14}},
          {IDC_USER_INFO_OVERRIDE, "Button", WS_DISABLED, BS_PUSHBUTTON, {112, 72, 101, 14}}}},
        {IDD_COMPLETED,
         true,
         "",
         0,
         0,
         0,
         {{IDC_COMPLETED_TREE,
           "SysTreeView32",
           TVS_HASLINES | TVS_HASBUTTONS | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
           kAnyType,
           {}},
          {IDC_COMPLETED_LIST, "SysListView32", kReportOwnerDrawn | LVS_OWNERDATA, kAnyType, {}},
          {IDC_COMPLETED_ROW_LABEL, "Static", 0, kAnyType, {}},
          {IDC_COMPLETED_ROW_HEIGHT, "msctls_trackbar32", 0, kAnyType, {}},
          {IDC_COMPLETED_SHOW_TEXT, "Button", 0, BS_AUTOCHECKBOX, {}}}},
        {IDD_BEST_RESULTS,
         true,
         "",
         330,
         141,
         0,
         {{IDC_BEST_LIST, "SysListView32", kReportOwnerDrawn | LVS_SINGLESEL, kAnyType, {7, 7, 315, 101}},
          {IDC_BEST_REFRESH, "Button", 0, BS_PUSHBUTTON, {11, 114, 62, 14}},
          {IDC_BEST_ROW_LABEL, "Static", 0, kAnyType, {85, 117, 52, 8}},
          {IDC_BEST_ROW_HEIGHT, "msctls_trackbar32", TBS_BOTH | TBS_NOTICKS, kAnyType, {136, 113, 74, 14}},
          {IDC_BEST_SHOW_TEXT, "Button", 0, BS_AUTOCHECKBOX, {229, 116, 50, 10}}}},
    };
    return dialogs;
}

// Pixels of a dialog-unit rectangle, computed as the dialog manager places a template item.
RECT ToPixels(HWND dialog, const RECT& dlu)
{
    RECT base{0, 0, 4, 8};
    MapDialogRect(dialog, &base);
    const int left = MulDiv(dlu.left, base.right, 4);
    const int top = MulDiv(dlu.top, base.bottom, 8);
    return {left, top, left + MulDiv(dlu.right, base.right, 4), top + MulDiv(dlu.bottom, base.bottom, 8)};
}

class ResourcesTest : public ::testing::Test
{
protected:
    void SetUp() override { InitControls(); }
};

TEST_F(ResourcesTest, MainWindowTemplate)
{
    WindowGuard main(CreateTemplate(IDD_MAIN, nullptr));
    ASSERT_NE(main.get(), nullptr) << GetLastError();
    EXPECT_EQ(TextOf(main.get()), "Vantorel");
    const LONG style = GetWindowLongA(main.get(), GWL_STYLE);
    // Shown only after the placement is restored, so it must not start visible.
    EXPECT_EQ(style & WS_VISIBLE, 0);
    for (LONG bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
        EXPECT_EQ(style & bit, bit) << std::hex << bit;

    HWND status = GetDlgItem(main.get(), IDC_MAIN_STATUS);
    ASSERT_NE(status, nullptr);
    EXPECT_STRCASEEQ(ClassOf(status).c_str(), "Static");
    EXPECT_EQ(GetWindowLongA(status, GWL_STYLE) & SS_SUNKEN, SS_SUNKEN);
    RECT actual;
    GetWindowRect(status, &actual);
    MapWindowPoints(nullptr, main.get(), reinterpret_cast<POINT*>(&actual), 2);
    RECT expected = ToPixels(main.get(), {0, 79, 319, 9});
    EXPECT_TRUE(EqualRect(&actual, &expected));
}

TEST_F(ResourcesTest, EveryDialogCreatesWithItsControls)
{
    // Tab pages are children; the main window stands in for the tab control as their parent.
    WindowGuard host(CreateTemplate(IDD_MAIN, nullptr));
    ASSERT_NE(host.get(), nullptr);

    for (const DialogWant& want : Dialogs()) {
        SCOPED_TRACE("dialog " + std::to_string(want.id));
        WindowGuard dialog(CreateTemplate(want.id, want.child ? host.get() : nullptr));
        ASSERT_NE(dialog.get(), nullptr) << "error " << GetLastError();

        const LONG style = GetWindowLongA(dialog.get(), GWL_STYLE);
        EXPECT_EQ((style & WS_CHILD) != 0, want.child);
        EXPECT_EQ(style & WS_VISIBLE, 0);
        if (want.child) {
            EXPECT_EQ(style & WS_CAPTION, 0);
        }
        if (want.caption != nullptr) {
            EXPECT_EQ(TextOf(dialog.get()), want.caption);
        }

        if (want.cx != 0) {
            RECT client;
            GetClientRect(dialog.get(), &client);
            RECT expected = ToPixels(dialog.get(), {0, 0, want.cx, want.cy});
            EXPECT_EQ(client.right, expected.right);
            EXPECT_EQ(client.bottom, expected.bottom);
        }

        const LRESULT defId = SendMessageA(dialog.get(), DM_GETDEFID, 0, 0);
        if (want.defaultId != 0) {
            EXPECT_EQ(HIWORD(defId), DC_HASDEFID);
            EXPECT_EQ(LOWORD(defId), want.defaultId);
        }

        for (const ControlWant& control : want.controls) {
            SCOPED_TRACE("control " + std::to_string(control.id));
            HWND hwnd = GetDlgItem(dialog.get(), control.id);
            ASSERT_NE(hwnd, nullptr);
            EXPECT_STRCASEEQ(ClassOf(hwnd).c_str(), control.className);
            const DWORD controlStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
            EXPECT_EQ(controlStyle & control.requiredStyle, control.requiredStyle) << std::hex << controlStyle;
            if (control.buttonType != kAnyType) {
                EXPECT_EQ(static_cast<int>(controlStyle & BS_TYPEMASK), control.buttonType);
            }
            if (control.dlu.right != 0) {
                RECT actual;
                GetWindowRect(hwnd, &actual);
                MapWindowPoints(nullptr, dialog.get(), reinterpret_cast<POINT*>(&actual), 2);
                RECT expected = ToPixels(dialog.get(), control.dlu);
                EXPECT_TRUE(EqualRect(&actual, &expected))
                    << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom << " vs "
                    << expected.left << "," << expected.top << "," << expected.right << "," << expected.bottom;
            }
        }
    }
}

TEST_F(ResourcesTest, AboutDialogShowsTheProgramIcon)
{
    WindowGuard about(CreateTemplate(IDD_ABOUT, nullptr));
    ASSERT_NE(about.get(), nullptr);
    HWND icon = GetWindow(about.get(), GW_CHILD); // the first item of the template
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0);
}

// One line per item: indentation for depth, text, then "=id" or ">" for a pop-up.
void DescribeMenu(HMENU menu, int depth, std::vector<std::string>& lines)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        std::string line(depth * 2, ' ');
        line += text;
        if (info.hSubMenu != nullptr) {
            lines.push_back(line + ">");
            DescribeMenu(info.hSubMenu, depth + 1, lines);
        } else {
            lines.push_back(line + "=" + std::to_string(info.wID));
        }
    }
}

TEST_F(ResourcesTest, MenusHaveTheirItems)
{
    struct MenuWant {
        int id;
        std::vector<std::string> lines;
    };
    const MenuWant menus[] = {
        {IDR_SKY_MAP_MENU,
         {"&Options>", "  &Show Work Units...=40004", "  Show &Text=40005", "  Circle &Size>", "    &Large=40007",
          "    &Small=40008"}},
        {IDR_TRAY_MENU, {"Tray>", "  E&xit=40001"}},
        {IDR_COMPLETED_LIST_MENU, {"Work Units>", "  Sky Map=40002"}},
        {IDR_COMPLETED_TREE_MENU,
         {"Locations>", "  Sky Map=40002", "  &Calendar=40010", "  &Future Work Units Calendar=40012",
          "  Reload Locations=40011"}},
    };
    for (const MenuWant& want : menus) {
        SCOPED_TRACE("menu " + std::to_string(want.id));
        HMENU menu = LoadMenuA(Instance(), MAKEINTRESOURCEA(want.id));
        ASSERT_NE(menu, nullptr);
        std::vector<std::string> lines;
        DescribeMenu(menu, 0, lines);
        // The code tracks the pop-up at index 0, so every menu must hold exactly one.
        EXPECT_EQ(GetMenuItemCount(menu), 1);
        EXPECT_NE(GetSubMenu(menu, 0), nullptr);
        DestroyMenu(menu);
        EXPECT_EQ(lines, want.lines);
    }
}

TEST_F(ResourcesTest, TooltipStringsLoadByteExact)
{
    struct StringWant {
        int id;
        const char* text;
    };
    const StringWant strings[] = {
        {2000, "A shorter name for the folder\r\nwhere SETI@home is located"},
        {2007, "The number of Megaflops per second.\r\nOne Megaflop equals 1 million floating point operations."},
        {2008, "The angle range for the work unit."},
        {2102, "Date and time the work unit was recorded.\r\rNote the time is GMT (Greenwich Mean Time)"},
        {2104, "Base frequency of the work unit"},
        {2206, "When the user registered with SETI"},
        {2300, "Location"},
        {2306, "Top gaussian for location"},
        {2307, "Date the work unit was logged."},
        {2316,
         "Triplets are three equally spaced pulses. The screensaver looks at every pair of pulses that are above a "
         "certain threshold power. The client then looks for a pulse precisely between the two pulses."},
        {2317,
         "A series of weak repeated pulses.  Power tells us how strong the pulses are relative to the baseline power "
         "calculated above. Period is a measure of how far apart the pulses are in seconds.  The score value for a "
         "pulse is the ratio of the pulse amplitude to this threshold value. A pulse with a score of greater than 1 "
         "will be reported when your screensaver client returns a result to Berkeley."},
        {2327,
         "A gaussian is a signal that is above the average noise and also gets stronger and then weaker in a "
         "\"gaussian\" fashion as the object passes through the telescope beam.  Power tells us how strong the signal "
         "is relative to the baseline power calculated above. Fit is a measure of how well the rising and falling "
         "signal fits an ideal gaussian (bell curve) profile. A lower \"fit\" number means a better fit."},
        {2324, "The strongest signal detected thus far.\r\neg:40 would mean the signal was 40 times stronger than the "
               "typical space noise."},
        {2346, "A short name for the folder where SETI@home is located."},
        {2349, "Do you want this location to show up in the Analysis tab?"},
    };
    for (const StringWant& want : strings) {
        char buffer[1024];
        const int length = LoadStringA(Instance(), want.id, buffer, sizeof(buffer));
        EXPECT_EQ(std::string(buffer, length > 0 ? length : 0), want.text) << "string " << want.id;
    }
    // The same long texts serve the Completed and the Best Results lists.
    for (auto [completed, best] : {std::pair{2316, 2325}, {2317, 2326}, {2318, 2327}}) {
        char a[1024], b[1024];
        const int lengthA = LoadStringA(Instance(), completed, a, sizeof(a));
        const int lengthB = LoadStringA(Instance(), best, b, sizeof(b));
        ASSERT_GT(lengthA, 0);
        EXPECT_EQ(std::string(a, lengthA), std::string(b, lengthB)) << completed << " vs " << best;
    }
}

TEST_F(ResourcesTest, ColumnsWithoutTipHaveNoString)
{
    // These columns show the list's fallback text, which needs LoadString to find nothing.
    for (int id : {2105, 2350, 2351, 2352}) {
        char buffer[64] = "unchanged";
        EXPECT_EQ(LoadStringA(Instance(), id, buffer, sizeof(buffer)), 0) << "string " << id;
    }
}

// Draws every image of a masked strip onto a solid colour and checks the mask and the content.
void CheckMaskedStrip(int bitmapId, int imageWidth, int imageCount, COLORREF mask)
{
    HIMAGELIST list = ImageList_LoadImageA(Instance(), MAKEINTRESOURCEA(bitmapId), imageWidth, 1, mask, IMAGE_BITMAP,
                                           LR_CREATEDIBSECTION);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), imageCount);

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), imageWidth, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    const COLORREF background = RGB(10, 200, 30);
    HBRUSH brush = CreateSolidBrush(background);
    auto* pixels = static_cast<const DWORD*>(bits);
    auto colourAt = [&](int x, int y) {
        const DWORD p = pixels[y * imageWidth + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };

    for (int image = 0; image < imageCount; ++image) {
        SCOPED_TRACE("image " + std::to_string(image));
        RECT all{0, 0, imageWidth, 16};
        FillRect(dc, &all, brush);
        ASSERT_TRUE(ImageList_Draw(list, image, dc, 0, 0, ILD_TRANSPARENT));
        GdiFlush();
        int drawn = 0;
        int nearMask = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < imageWidth; ++x) {
                const COLORREF c = colourAt(x, y);
                if (c != background)
                    ++drawn;
                if (std::abs(GetRValue(c) - GetRValue(mask)) + std::abs(GetGValue(c) - GetGValue(mask)) +
                        std::abs(GetBValue(c) - GetBValue(mask)) <
                    24)
                    ++nearMask;
            }
        }
        EXPECT_EQ(colourAt(0, 0), background);
        EXPECT_EQ(colourAt(imageWidth - 1, 15), background);
        EXPECT_GT(drawn, 20);
        EXPECT_EQ(nearMask, 0) << "pixels close to the mask colour would show as a fringe";
    }
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    ImageList_Destroy(list);
}

TEST_F(ResourcesTest, BitmapsHaveTheirSizesAndMasks)
{
    struct BitmapWant {
        int id, width, height;
    };
    for (BitmapWant want : {BitmapWant{IDB_STATUS, 150, 16}, BitmapWant{IDB_TREE, 160, 16}}) {
        HANDLE bitmap = LoadImageA(Instance(), MAKEINTRESOURCEA(want.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        ASSERT_NE(bitmap, nullptr) << want.id;
        BITMAP info{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
        EXPECT_EQ(info.bmWidth, want.width);
        EXPECT_EQ(info.bmHeight, want.height);
        DeleteObject(bitmap);
    }
    CheckMaskedStrip(IDB_STATUS, 30, 5, RGB(255, 255, 0));
    CheckMaskedStrip(IDB_TREE, 16, 10, RGB(0, 0, 255));
}

// The width of the icon image that the group offers for a size, 0 when none fits.
int GroupIconWidth(int groupId, int size)
{
    HRSRC group = FindResourceA(Instance(), MAKEINTRESOURCEA(groupId), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    if (group == nullptr)
        return 0;
    auto* dir = static_cast<PBYTE>(LockResource(LoadResource(Instance(), group)));
    const int iconId = LookupIconIdFromDirectoryEx(dir, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC icon = FindResourceA(Instance(), MAKEINTRESOURCEA(iconId), MAKEINTRESOURCEA(3)); // RT_ICON
    if (icon == nullptr)
        return 0;
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Instance(), icon)));
    return header->biWidth;
}

TEST_F(ResourcesTest, IconsLoadInTheirSizes)
{
    struct IconWant {
        int id, size;
    };
    for (IconWant want : {IconWant{IDI_VANTOREL, 32}, IconWant{IDI_VANTOREL, 16}, IconWant{IDI_TRAY, 16}}) {
        SCOPED_TRACE("icon " + std::to_string(want.id) + " size " + std::to_string(want.size));
        HANDLE icon = LoadImageA(Instance(), MAKEINTRESOURCEA(want.id), IMAGE_ICON, want.size, want.size, 0);
        ASSERT_NE(icon, nullptr);
        DestroyIcon(static_cast<HICON>(icon));
        // Drawn for this size, not scaled from another one.
        EXPECT_EQ(GroupIconWidth(want.id, want.size), want.size);
    }
    EXPECT_NE(LoadIconA(Instance(), MAKEINTRESOURCEA(IDI_VANTOREL)), nullptr);
}

TEST_F(ResourcesTest, ManifestSelectsCommonControlsSix)
{
    HRSRC manifest = FindResourceA(Instance(), MAKEINTRESOURCEA(IDR_MANIFEST), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(Instance(), manifest))),
                           SizeofResource(Instance(), manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);

    // The loader honours the manifest: the process gets the side-by-side common controls 6.
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH), 0u);
    std::string lower(path);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("microsoft.windows.common-controls"), std::string::npos) << path;
}

// The path of a file beside the test program, where the build puts both programs.
std::string BesideTests(const char* name)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + name;
}

// Both programs carry the project version, read back from the built files as Explorer reads it.
TEST(VersionInfoTest, BothProgramsCarryTheProjectVersion)
{
    // The numbers and the text come from the same project version and must say the same.
    const std::string joined = std::to_string(VANTOREL_VERSION_MAJOR) + "." + std::to_string(VANTOREL_VERSION_MINOR) +
                               "." + std::to_string(VANTOREL_VERSION_PATCH);
    ASSERT_EQ(joined, VANTOREL_VERSION_TEXT);

    struct ProgramWant {
        const char* file;
        const char* description;
    };
    for (const ProgramWant& want : {ProgramWant{"vantorel.exe", "Vantorel - monitor for SETI@home client directories"},
                                    ProgramWant{"hoardix.exe", "Hoardix - archives SETI@home result files"}}) {
        SCOPED_TRACE(want.file);
        const std::string path = BesideTests(want.file);
        DWORD unused = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &unused);
        ASSERT_GT(size, 0u) << path << ": error " << GetLastError();
        std::vector<char> data(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));

        void* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", &value, &length));
        ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        const DWORD high = MAKELONG(VANTOREL_VERSION_MINOR, VANTOREL_VERSION_MAJOR);
        const DWORD low = MAKELONG(0, VANTOREL_VERSION_PATCH);
        EXPECT_EQ(fixed->dwFileVersionMS, high);
        EXPECT_EQ(fixed->dwFileVersionLS, low);
        EXPECT_EQ(fixed->dwProductVersionMS, high);
        EXPECT_EQ(fixed->dwProductVersionLS, low);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

        // The string table is found through the translation it announces: US English, Windows-1252.
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &value, &length));
        ASSERT_GE(length, 2 * sizeof(WORD));
        const auto* translation = static_cast<const WORD*>(value);
        EXPECT_EQ(translation[0], 0x0409);
        EXPECT_EQ(translation[1], 1252);
        char table[64];
        std::snprintf(table, sizeof(table), "\\StringFileInfo\\%04X%04X\\", translation[0], translation[1]);

        const std::pair<const char*, std::string> strings[] = {
            {"FileVersion", VANTOREL_VERSION_TEXT},
            {"ProductVersion", VANTOREL_VERSION_TEXT},
            {"ProductName", "Vantorel"},
            {"FileDescription", want.description},
            {"OriginalFilename", want.file},
            {"LegalCopyright", VANTOREL_COPYRIGHT},
        };
        for (const auto& [key, expected] : strings) {
            const std::string query = table + std::string(key);
            ASSERT_TRUE(VerQueryValueA(data.data(), query.c_str(), &value, &length)) << key;
            EXPECT_EQ(std::string(static_cast<const char*>(value)), expected) << key;
        }
    }
}

} // namespace
