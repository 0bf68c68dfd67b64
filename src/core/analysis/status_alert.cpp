// Which status changes raise an alert, and their texts.
#include "core/analysis/status_alert.h"

#include "core/analysis/analysis.h"

namespace
{

// Which change of status raises which alert: the status it came from (null: any other), the one
// it went to, the words after the location's short name (followed by the % Done figure and "%"
// when withPercent is set), and whether it is a warning rather than a notice.
struct AlertRule {
    StatusEvent event;
    const char* from;
    const char* to;
    const char* text;
    bool withPercent;
    bool warning;
};

constexpr AlertRule kAlertRules[] = {
    {StatusEvent::Stopped, kStatusRun, kStatusStop, " stopped at ", true, true},
    {StatusEvent::CannotRead, nullptr, kStatusNotValid, " cannot read state.sah", false, true},
    {StatusEvent::NetworkPath, nullptr, kStatusErr53, " network path not found", false, true},
    {StatusEvent::Finished, nullptr, kStatusDone, " finished its work unit", false, false},
};

const AlertRule* RuleOf(StatusEvent event)
{
    for (const AlertRule& rule : kAlertRules)
        if (rule.event == event)
            return &rule;
    return nullptr;
}

} // namespace

StatusEvent DecideStatusEvent(std::string_view previous, std::string_view current, bool firstLook)
{
    if (firstLook || previous == current)
        return StatusEvent::None;
    for (const AlertRule& rule : kAlertRules)
        if (current == rule.to && (!rule.from || previous == rule.from))
            return rule.event;
    return StatusEvent::None;
}

StatusEvent LookForStatusEvent(WorkUnitRow& row, AnalysisFiles& files, int threshold, int64_t now, StatusSink& status)
{
    const std::string previous(row.cells.Text(kCellStatus));
    const bool firstLook = !row.looked;
    if (!LookAtLocation(row, files, threshold, now, status))
        return StatusEvent::None;
    row.looked = true;
    return DecideStatusEvent(previous, row.cells.Text(kCellStatus), firstLook);
}

std::string StatusEventText(StatusEvent event, std::string_view shortName, std::string_view percent)
{
    const AlertRule* rule = RuleOf(event);
    if (!rule)
        return {};
    std::string text(shortName);
    text += rule->text;
    if (rule->withPercent)
        text.append(percent).append("%");
    return text;
}

bool IsWarningEvent(StatusEvent event)
{
    const AlertRule* rule = RuleOf(event);
    return rule && rule->warning;
}

std::string BalloonText(const std::vector<std::string>& lines, size_t capacity)
{
    const size_t room = capacity > 0 ? capacity - 1 : 0;
    std::string text;
    for (const std::string& line : lines) {
        const size_t needed = text.empty() ? line.size() : text.size() + 1 + line.size();
        if (needed > room) {
            // Only a first line too long for the field is cut inside; others wait for no one.
            if (text.empty())
                text = line.substr(0, room);
            break;
        }
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}
