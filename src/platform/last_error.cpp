// Renders a system error code with the system's own message text.
#include "platform/last_error.h"

#include "core/client/error_text.h"

std::string LastErrorText(DWORD code)
{
    char* systemText = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                            FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                        nullptr, code, 0, reinterpret_cast<char*>(&systemText), 0, nullptr);
    std::string text =
        FormatErrorText(code, length > 0 && systemText ? std::string(systemText, length) : std::string());
    if (systemText)
        LocalFree(systemText);
    return text;
}

std::string LastErrorText()
{
    return LastErrorText(GetLastError());
}
