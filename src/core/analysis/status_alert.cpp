// Which status changes raise an alert, and their texts.
#include "core/analysis/status_alert.h"

#include "core/analysis/analysis.h"

StatusEvent DecideStatusEvent(std::string_view previous, std::string_view current, bool firstLook)
{
    if (firstLook || previous == current)
        return StatusEvent::None;
    if (current == kStatusStop)
        return previous == kStatusRun ? StatusEvent::Stopped : StatusEvent::None;
    if (current == kStatusNotValid)
        return StatusEvent::CannotRead;
    if (current == kStatusErr53)
        return StatusEvent::NetworkPath;
    if (current == kStatusDone)
        return StatusEvent::Finished;
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
    std::string text(shortName);
    switch (event) {
    case StatusEvent::Stopped:
        return text.append(" stopped at ").append(percent).append("%");
    case StatusEvent::CannotRead:
        return text + " cannot read state.sah";
    case StatusEvent::NetworkPath:
        return text + " network path not found";
    case StatusEvent::Finished:
        return text + " finished its work unit";
    case StatusEvent::None:
        break;
    }
    return {};
}

bool IsWarningEvent(StatusEvent event)
{
    return event == StatusEvent::Stopped || event == StatusEvent::CannotRead || event == StatusEvent::NetworkPath;
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
