// Alerts: which status changes of a location are worth telling a user who is not looking, and
// the lines that tell them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class StatusEvent {
    None,
    Stopped,     // from "run" to "stop": the client stopped writing state.sah
    CannotRead,  // to "notvaild": state.sah cannot be opened or is empty
    NetworkPath, // to "Err53": the location's network path was not found
    Finished,    // to "done": the work unit finished and its result waits
};

// The event of one look. The first look at a row after it was made is none: its "stop" was
// never observed. A status that stays as it was is none too.
StatusEvent DecideStatusEvent(std::string_view previous, std::string_view current, bool firstLook);

struct WorkUnitRow;
class AnalysisFiles;
class StatusSink;

// One look at a location (LookAtLocation) and the event it raises; marks the row as looked at
// once a look has decided its status.
StatusEvent LookForStatusEvent(WorkUnitRow& row, AnalysisFiles& files, int threshold, int64_t now, StatusSink& status);

// "Home stopped at 47.791%", "Home cannot read state.sah", "Home network path not found",
// "Home finished its work unit"; percent is the row's % Done text.
std::string StatusEventText(StatusEvent event, std::string_view shortName, std::string_view percent);

// True for the events that call for a warning rather than a notice.
bool IsWarningEvent(StatusEvent event);

// The lines one per line ("\n"), cut after the last whole line that fits capacity - 1
// characters (the balloon's field holds 256 bytes with its terminator). A single line longer than
// that is cut at the capacity.
std::string BalloonText(const std::vector<std::string>& lines, size_t capacity = 256);
