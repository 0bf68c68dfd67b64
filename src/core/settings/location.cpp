// Location string parse and format, and the walks over the stored list.
#include "core/settings/location.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "core/settings/value_names.h"

namespace
{

// Decimal number the way the C library's atol reads it: leading blanks, a sign, digits up to the
// first non-digit; saturated to 32 bits so every platform reads the same colour.
int32_t ReadColour(std::string_view text)
{
    const std::string copy(text);
    const long long value = std::strtoll(copy.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

std::vector<std::string_view> SplitAll(std::string_view text)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t separator = text.find(';', start);
        if (separator == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, separator - start));
        start = separator + 1;
    }
}

// Cuts the text at its last ';' and returns what stood after it.
std::string_view TakeLast(std::string_view& text)
{
    const size_t separator = text.rfind(';');
    const std::string_view last = text.substr(separator + 1);
    text = text.substr(0, separator);
    return last;
}

} // namespace

bool IsSwitchOn(std::string_view value)
{
    return !value.empty() && value.front() == 'Y';
}

Location ParseLocation(std::string_view text, std::string_view currentDirectory)
{
    // The stored string is read through a 1024-byte buffer.
    text = text.substr(0, kLocationTextCapacity - 1);
    const auto separators = std::count(text.begin(), text.end(), ';');

    Location location;
    if (separators == 0) {
        location.path.assign(currentDirectory);
        location.shortName = kDefaultShortName;
    } else if (separators == 1 || separators == 2 || separators >= 6) {
        std::string_view rest = text;
        if (separators >= 6) {
            location.completed.assign(TakeLast(rest));
            location.userinfo.assign(TakeLast(rest));
            location.datainfo.assign(TakeLast(rest));
            location.analysis.assign(TakeLast(rest));
        }
        if (separators >= 2)
            location.colour = ReadColour(TakeLast(rest));
        location.shortName.assign(TakeLast(rest));
        location.path.assign(rest);
    } else {
        // Three to five separators: no writer of this program produces them, so read what is
        // there from the left and leave the switches that are not given on.
        const std::vector<std::string_view> fields = SplitAll(text);
        location.path.assign(fields[0]);
        location.shortName.assign(fields[1]);
        location.colour = ReadColour(fields[2]);
        std::string* switches[] = {&location.analysis, &location.datainfo, &location.userinfo, &location.completed};
        for (size_t i = 3; i < fields.size(); ++i)
            switches[i - 3]->assign(fields[i]);
    }
    if (!location.path.empty() && location.path.back() == '\\')
        location.path.pop_back();
    return location;
}

std::string FormatLocation(const Location& location)
{
    return location.path + ';' + location.shortName + ';' + std::to_string(location.colour) + ';' + location.analysis +
           ';' + location.datainfo + ';' + location.userinfo + ';' + location.completed;
}

int EnumerateLocations(LocationWalk walk, const LocationReader& read, std::string_view currentDirectory,
                       const std::function<void(const Location&)>& consumer)
{
    int count = 0;
    for (int index = 1; index < INT_MAX; ++index) {
        std::optional<std::string> text = read(index);
        if (!text) {
            if (walk == LocationWalk::StoredOnly || index >= 2)
                break;
            text.emplace(); // no "Location1": the default location stands in for it
        }
        consumer(ParseLocation(*text, currentDirectory));
        ++count;
    }
    return count;
}
