// The records behind list rows and column headers: cells with a display text, a kind and a sort key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/client/best_signals.h"

enum CellKind : int32_t {
    kTextCell = 0,   // sorted as text, without regard to case
    kNumberCell = 1, // sorted by numeric value
};

// The cells of one list row. All texts live back to back in one buffer with a small slot per
// cell, so a row costs two allocations however many cells it has: a list of 100,000 work units
// would otherwise make millions of small strings.
class ListRow
{
public:
    explicit ListRow(int cellCount) : slots_(cellCount > 0 ? static_cast<size_t>(cellCount) : 0) {}
    virtual ~ListRow() = default;

    int Count() const { return static_cast<int>(slots_.size()); }
    // Gives a cell its kind and copies of its texts; a number cell's second text keeps only
    // the characters from '.' to '9'. The texts may be views into this row's own cells.
    void SetCell(int index, int32_t kind, std::optional<std::string_view> text,
                 std::optional<std::string_view> second = std::nullopt);
    // Sets a cell again with its own kind; a cell that never had a text stays as it is. The texts
    // may be the cell's own current ones.
    void ReplaceCell(int index, std::optional<std::string_view> text,
                     std::optional<std::string_view> second = std::nullopt);
    // Room for this many bytes of texts, so a row filled once grows its buffer once.
    void Reserve(size_t bytes);
    // The texts, or "" when the cell has none (or the index is out of range). Valid until the
    // row changes.
    std::string_view Text(int index) const;
    std::string_view Second(int index) const;
    int32_t Kind(int index) const;
    bool HasText(int index) const { return Valid(index) && (slots_[static_cast<size_t>(index)].flags & kHasText); }

private:
    static constexpr uint8_t kHasText = 1;
    static constexpr uint8_t kHasSecond = 2;
    // The cell's texts: text_[at, at + textLength) and, right after it, the second text.
    struct Slot {
        uint32_t at = 0;
        uint32_t textLength = 0;
        uint32_t secondLength = 0;
        int32_t kind = kTextCell;
        uint8_t flags = 0;
    };

    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // Drops the texts no cell refers to any more once they make up most of the buffer.
    void Compact();

    std::vector<Slot> slots_;
    std::string text_;
    size_t unused_ = 0; // bytes of text_ left behind by cells set again
};

// Keeps only the characters '.' '/' and '0' to '9' (codes 46 to 57).
std::string FilterSortKey(std::string_view text);

inline constexpr uint64_t kStateTimeUnset = ~0ull;
inline constexpr int32_t kLookAtOnce = 9999999;

// The per-location record of the Analysis, Best Results and Completed lists.
struct WorkUnitRow {
    WorkUnitRow(std::string rowPath, int cellCount) : path(std::move(rowPath)), cells(cellCount) {}

    uint64_t stateTime = kStateTimeUnset; // last-write time of state.sah at the last "run" decision
    std::string path;
    int32_t unchangedCount = kLookAtOnce;
    ListRow cells;
    BestSignals best;
    double angleRange = 0;
    bool looked = false; // a look has decided the status at least once since the row was made
};

// The record each column header carries.
class ListColumn
{
public:
    explicit ListColumn(int32_t initialAscending) : ascending(initialAscending) {}
    virtual ~ListColumn() = default;

    int32_t ascending;        // 1 ascending, 0 descending
    int32_t sortedColumn = 0; // used in column 0's record only: the column the list is sorted by
};
