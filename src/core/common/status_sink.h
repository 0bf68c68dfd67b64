// The status line as the portable core sees it: one line of text, the latest message wins.
#pragma once

#include <string>
#include <string_view>

class StatusSink
{
public:
    virtual ~StatusSink() = default;
    // Replaces the line; an empty text clears it.
    virtual void SetStatusText(std::string_view text) = 0;
};

// Keeps the latest message in memory: used by tests and by code that reports later.
class LatestStatus final : public StatusSink
{
public:
    void SetStatusText(std::string_view text) override;
    const std::string& Text() const { return text_; }
    int Count() const { return count_; }

private:
    std::string text_;
    int count_ = 0;
};

// Formats like snprintf into a std::string; used for the program's fixed message formats.
std::string Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
