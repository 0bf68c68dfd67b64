// The records behind list rows and column headers: cells with a display text, a kind and a sort key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "client/best_signals.h"

enum CellKind : int32_t {
    kTextCell = 0,    // sorted as text, without regard to case
    kNumberCell = 1,  // sorted by numeric value
};

struct ListCell {
    int32_t kind = kTextCell;
    std::optional<std::string> text;
    std::optional<std::string> second;  // sort key; for number cells only "." "/" and digits
};

class ListRow {
public:
    explicit ListRow(int cellCount) : cells_(cellCount > 0 ? cellCount : 0) {}
    virtual ~ListRow() = default;

    int Count() const { return static_cast<int>(cells_.size()); }
    // Gives a cell its kind and copies of its texts; a number cell's second text keeps only
    // the characters from '.' to '9'.
    void SetCell(int index, int32_t kind, std::optional<std::string_view> text,
                 std::optional<std::string_view> second = std::nullopt);
    // Sets a cell again with its own kind; a cell that never had a text stays as it is. The texts
    // may be the cell's own current ones.
    void ReplaceCell(int index, std::optional<std::string_view> text,
                     std::optional<std::string_view> second = std::nullopt);
    // The texts, or "" when the cell has none (or the index is out of range).
    const std::string& Text(int index) const;
    const std::string& Second(int index) const;
    int32_t Kind(int index) const;
    bool HasText(int index) const { return Valid(index) && cells_[index].text.has_value(); }

private:
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    std::vector<ListCell> cells_;
};

// Keeps only the characters '.' '/' and '0' to '9' (codes 46 to 57).
std::string FilterSortKey(std::string_view text);

inline constexpr uint64_t kStateTimeUnset = ~0ull;
inline constexpr int32_t kLookAtOnce = 9999999;

// The per-location record of the Analysis, Best Results and Completed lists.
struct WorkUnitRow {
    WorkUnitRow(std::string rowPath, int cellCount) : path(std::move(rowPath)), cells(cellCount) {}

    uint64_t stateTime = kStateTimeUnset;  // last-write time of state.sah at the last "run" decision
    std::string path;
    int32_t unchangedCount = kLookAtOnce;
    ListRow cells;
    BestSignals best;
    double angleRange = 0;
};

// The record each column header carries.
class ListColumn {
public:
    explicit ListColumn(int32_t initialAscending) : ascending(initialAscending) {}
    virtual ~ListColumn() = default;

    int32_t ascending;         // 1 ascending, 0 descending
    int32_t sortedColumn = 0;  // used in column 0's record only: the column the list is sorted by
};
