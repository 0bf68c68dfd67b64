// Key lookup and value conversions shared by every reader of the client's files.
#include "core/client/find_value.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

std::optional<std::string> FindValue(std::string_view text, std::string_view key, StatusSink& status)
{
    const size_t found = text.find(key);
    if (found == std::string_view::npos) {
        status.SetStatusText(Format("Could not find \"%.*s\" in file.", static_cast<int>(key.size()), key.data()));
        return std::nullopt;
    }
    const size_t start = found + key.size();
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
        status.SetStatusText(
            Format("Could not find end of \"%.*s\" in file.", static_cast<int>(key.size()), key.data()));
        return std::nullopt;
    }
    return std::string(text.substr(start, std::min(end - start, kValueCapacity)));
}

namespace
{

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

double StrtodNumber(std::string_view value)
{
    const std::string copy(value);
    return std::strtod(copy.c_str(), nullptr);
}

} // namespace

double ToNumber(std::string_view value)
{
    value = value.substr(0, kValueCapacity);
    // strtod's leading blanks and sign are read here and the rest by from_chars, which gives
    // strtod's value for every decimal text at a small part of its cost (a list of 100,000 work
    // units converts one and a half million numbers). Hexadecimal texts and anything from_chars
    // refuses or finds out of range go to strtod itself.
    size_t at = 0;
    while (at < value.size() && IsCSpace(value[at]))
        ++at;
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-'))
        negative = value[at++] == '-';
    const std::string_view rest = value.substr(at);
    double number = 0;
    const bool hexadecimal = rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X');
    const bool secondSign = !rest.empty() && (rest[0] == '+' || rest[0] == '-');
    if (secondSign)
        return 0.0; // "+-1": strtod reads nothing
    if (hexadecimal || std::from_chars(rest.data(), rest.data() + rest.size(), number).ec != std::errc()) {
        number = StrtodNumber(value);
        negative = false;
    }
    if (negative)
        number = -number;
    return std::isfinite(number) ? number : 0.0;
}

long ToInteger(std::string_view value)
{
    const std::string copy(value.substr(0, kValueCapacity));
    errno = 0;
    const long long number = std::strtoll(copy.c_str(), nullptr, 10);
    if (errno == ERANGE || number > LONG_MAX || number < LONG_MIN)
        return 0;
    return static_cast<long>(number);
}

double FindNumber(std::string_view text, std::string_view key, StatusSink& status)
{
    const std::optional<std::string> value = FindValue(text, key, status);
    return value ? ToNumber(*value) : 0.0;
}

long FindInteger(std::string_view text, std::string_view key, StatusSink& status)
{
    const std::optional<std::string> value = FindValue(text, key, status);
    return value ? ToInteger(*value) : 0;
}

std::string_view WithoutCarriageReturn(std::string_view value)
{
    if (!value.empty() && value.back() == '\r')
        value.remove_suffix(1);
    return value;
}

std::string_view SkipBlanks(std::string_view value)
{
    const size_t first = value.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : value.substr(first);
}
