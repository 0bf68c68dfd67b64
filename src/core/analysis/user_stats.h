// The User Info statistics of a location from user_info.sah, the per-day override and the grand total.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/work_unit_info.h"
#include "core/common/status_sink.h"
#include "core/settings/location.h"
#include "core/lists/list_row.h"

// Cells of a User Info row, in column order.
enum UserInfoCell {
    kUserLocation = 0,
    kUserName,
    kUserCompleted,
    kUserTotalCpu,
    kUserAverageCpu,
    kUserPerDay,
    kUserRegisterTime,
    kUserInfoCellCount
};

// One shown field: its display text and its sort key, each absent until filled.
struct StatField {
    std::optional<std::string> text;
    std::optional<std::string> key;
};

struct UserStats {
    StatField fields[kUserInfoCellCount];
    // The work units per day as a number, for the grand total; absent when not filled.
    std::optional<double> rate;

    StatField& operator[](UserInfoCell cell) { return fields[cell]; }
    const StatField& operator[](UserInfoCell cell) const { return fields[cell]; }
};

inline constexpr char kGrandTotalName[] = "Grand Total";
inline constexpr char kGrandTotalKey[] = "ZZZZZZZZ"; // sorts after every location, ascending
inline constexpr char kBlankCell[] = " ";

// The settings value that overrides the rate of every location of a registered name.
std::string OverrideValueName(std::string_view registeredName);

// Reads the text of a settings value by its name; nothing when the value is missing.
using OverrideReader = std::function<std::optional<std::string>(const std::string& valueName)>;

// "%d:%02d:%02d" of whole seconds; hours grow without limit.
std::string FormatCpuTime(int64_t seconds);

// The statistics of one location. now is the current time in seconds since 1970 (UTC).
UserStats ComputeUserStats(const Location& location, ClientFileReader& files, const OverrideReader& readOverride,
                           int64_t now, StatusSink& status);

// Blanks the repeated users of the rows (given in list order, index 0 first) and returns the
// grand total row. Each name counts once, with the first of its largest positive counts.
UserStats GrandTotal(std::vector<UserStats>& listOrder, double sumOfRates);

// Fills a fresh row of kUserInfoCellCount cells; absent fields leave their cells without text.
void FillUserInfoRow(const UserStats& stats, ListRow& row);

// The override dialog's check: empty (back to the computed rate), exactly "0", or a text whose
// leading decimal value is above 0.
bool IsAcceptedOverride(std::string_view text);

// Which of the page's two buttons a selection allows (null: no selection).
struct UserInfoButtons {
    bool future = false;
    bool override = false;
};
UserInfoButtons ButtonsForSelection(const ListRow* selected);

// What the future calendar starts from: the row's WU Completed and Work Units Per Day.
struct FutureStart {
    long completed = 0;
    double rate = 0;
};
FutureStart FutureStartOfRow(const ListRow& row);
