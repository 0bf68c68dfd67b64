// The taskbar button's progress through the shell's taskbar list.
#include "kit/taskbar_progress.h"

#include <objbase.h>
#include <shobjidl.h>

namespace
{

// The shell's taskbar list, made once for the window thread; null where the system has none.
ITaskbarList3* ShellTaskbar()
{
    static ITaskbarList3* list = [] {
        ITaskbarList3* made = nullptr;
        const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(started) && started != RPC_E_CHANGED_MODE)
            return made;
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList3),
                                    reinterpret_cast<void**>(&made))) ||
            !made || FAILED(made->HrInit())) {
            if (made)
                made->Release();
            made = nullptr;
        }
        return made;
    }();
    return list;
}

} // namespace

void ShowTaskbarProgress(HWND window, uint64_t done, uint64_t total)
{
    if (ITaskbarList3* list = window ? ShellTaskbar() : nullptr)
        list->SetProgressValue(window, done, total > 0 ? total : 1);
}

void EndTaskbarProgress(HWND window)
{
    if (ITaskbarList3* list = window ? ShellTaskbar() : nullptr)
        list->SetProgressState(window, TBPF_NOPROGRESS);
}
