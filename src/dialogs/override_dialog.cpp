// The Override Work Units Per Day dialog: shows a name's stored rate and stores a checked new one.
#include "dialogs/override_dialog.h"

#include "core/common/program_texts.h"
#include "core/analysis/analysis.h"
#include "core/analysis/user_stats.h"
#include "resources/resource.h"
#include "kit/page_frame.h"
#include "platform/settings_store.h"
#include "kit/app_state.h"

namespace
{

constexpr char kPromptFormat[] = "Enter the average number of work units %s completes in one day.";
constexpr char kHintsFormat[] =
    "Hints:\r\tClear the above field if you want Vantorel to calculate this number for you.\r\r\tIf %s is used on "
    "multiple computers you will have to divide the above number by the number of computers used.";
// The field is read into a buffer of 80 characters, terminator included.
constexpr int kValueCapacity = 80;

struct OverrideDialogState {
    std::string name;
    std::string valueName;
};

OverrideDialogState* StateOf(HWND dialog)
{
    return reinterpret_cast<OverrideDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

BOOL OnInitDialog(HWND dialog, LPARAM param)
{
    auto* state = reinterpret_cast<OverrideDialogState*>(param);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    SetDlgItemTextA(dialog, IDC_OVERRIDE_PROMPT, Format(kPromptFormat, state->name.c_str()).c_str());
    SetDlgItemTextA(dialog, IDC_OVERRIDE_HINTS, Format(kHintsFormat, state->name.c_str()).c_str());
    std::string current;
    SettingsStore store;
    if (store.Open())
        store.ReadString(state->valueName.c_str(), current);
    SetDlgItemTextA(dialog, IDC_OVERRIDE_VALUE, current.c_str());
    return TRUE;
}

void OnOk(HWND dialog)
{
    char text[kValueCapacity] = {};
    GetDlgItemTextA(dialog, IDC_OVERRIDE_VALUE, text, kValueCapacity);
    if (!IsAcceptedOverride(text)) {
        MessageBoxA(dialog, kOverrideNotValid, kProgramTitle, MB_ICONWARNING | MB_OK);
        return;
    }
    // Stored as typed; an empty text brings the computed rate back. Without the key nothing is
    // stored, and the dialog still reports a change, so the list is read again.
    SettingsStore store;
    if (store.Open())
        store.WriteString(StateOf(dialog)->valueName.c_str(), text);
    EndDialog(dialog, 1);
}

void OnCommand(HWND dialog, int id, int, HWND)
{
    if (id == IDOK)
        OnOk(dialog);
    else if (id == IDCANCEL)
        EndDialog(dialog, 0);
}

constexpr PageHandlers kHandlers{OnInitDialog, nullptr, nullptr, nullptr, nullptr, OnCommand};

} // namespace

INT_PTR ShowOverrideDialog(HWND owner, const std::string& registeredName)
{
    OverrideDialogState state{registeredName, OverrideValueName(registeredName)};
    const INT_PTR result = DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_OVERRIDE), owner, PageProc<kHandlers>,
                                           reinterpret_cast<LPARAM>(&state));
    return result == 1 ? 1 : 0;
}
