// Formats operating-system errors the way every status message shows them.
#include "core/client/error_text.h"

#include "core/common/status_sink.h"

std::string FormatErrorText(unsigned long code, std::string_view systemText)
{
    // The code is shown as a signed number, as the system's own tools print HRESULT-style codes.
    const int shown = static_cast<int>(code);
    std::string text =
        systemText.empty() ? Format("Error #%d", shown) : Format("Error #%d.  ", shown) + std::string(systemText);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    if (text.size() > kErrorTextCapacity)
        text.resize(kErrorTextCapacity);
    return text;
}
