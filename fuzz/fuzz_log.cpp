// Fuzzes SETILog.csv reading: record splitting, the column table, field lookup, the work-unit test,
// and the detail and totals conversions of whole files.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>

#include "core/completed/completed_load.h"
#include "core/completed/log_reader.h"
#include "fuzz_check.h"

namespace
{

constexpr size_t kLongestNumberText = 330;

// Bytes handed over in pieces of a fuzzed size, as a file read in blocks would give them.
class PieceSource final : public LogByteSource
{
public:
    PieceSource(std::string_view bytes, size_t piece) : bytes_(bytes), piece_(piece ? piece : 1) {}
    size_t Read(char* buffer, size_t capacity) override
    {
        const size_t count = std::min({capacity, piece_, bytes_.size()});
        std::copy_n(bytes_.data(), count, buffer);
        bytes_.remove_prefix(count);
        return count;
    }

private:
    std::string_view bytes_;
    size_t piece_;
};

void CheckTable(const LogColumnTable& table)
{
    FuzzCheck(table.size() <= kLogColumnCapacity, "column table over its capacity");
    for (const std::string& name : table) {
        FuzzCheck(!name.empty(), "empty name in the column table");
        CheckCopied(name, kLogColumnNameCapacity, "column name over its capacity");
        for (const char c : name)
            FuzzCheck(!std::islower(static_cast<unsigned char>(c)), "column name not upper-cased", name);
    }
}

void CheckWorkUnitRow(const WorkUnitRow& row)
{
    for (const int cell : {kCellCpuTime, kCellPercentPerHour, kCellPeak, kCellTriplet, kCellPulses, kCellGaussian,
                           kCellFrom, kCellBaseFrequency, kCellAngleRange, kCellColour})
        CheckFormatted(row.cells.Text(cell), kLongestNumberText, "completed cell not short and printable");
    for (int cell = 0; cell < kCompletedCellCount; ++cell) {
        CheckCopied(row.cells.Text(cell), kLogLineCapacity, "completed cell over the line's capacity");
        CheckNumberKey(row.cells, cell);
    }
    CheckCopied(row.best.gaussianPot, kGaussianPotCapacity, "gaussian pot over its capacity");
    FuzzCheck(row.best.pulsePot.size() <= kHexPotBytes, "pulse pot over its capacity");
    FuzzCheck(row.best.tripletPot.size() <= kHexPotBytes, "triplet pot over its capacity");
}

void CheckTotalsRow(const WorkUnitRow& row)
{
    for (int cell = kTotalsWorkUnits; cell < kTotalsCellCount; ++cell) {
        CheckFormatted(row.cells.Text(cell), 3 * kLongestNumberText, "totals cell not short and printable");
        CheckNumberKey(row.cells, cell);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const size_t piece = input.ConsumeIntegralInRange<size_t>(1, 9000);
    const std::string wanted = input.ConsumeRandomLengthString(300);
    const std::string file = input.ConsumeRemainingBytesAsString();

    // Record by record, with the header loaded as the first line.
    LogReader reader;
    PieceSource source(file, piece);
    reader.Start(source);
    size_t consumed = 0;
    bool header = true;
    CompletedColumns columns{};
    while (const LogRecord* record = reader.ReadLogRecord()) {
        size_t fieldBytes = 0;
        for (int i = 0; i < record->FieldCount(); ++i)
            fieldBytes += record->Field(i).size();
        FuzzCheck(fieldBytes <= kLogLineCapacity, "record over the line's capacity");
        FuzzCheck(record->Field(record->FieldCount()).empty() && record->Field(-1).empty(), "field past the end");
        if (header) {
            reader.LoadColumnTable(*record);
            CheckTable(reader.Columns());
            // Found once, as the loads do; each must be the name's first column or -1.
            columns = FindCompletedColumns(reader);
            for (const int at : columns.at)
                FuzzCheck(at >= -1 && at < static_cast<int>(reader.Columns().size()), "column position");
            header = false;
        }
        (void)IsWorkUnitRecord(*record);
        if (const auto found = reader.FindField(*record, wanted))
            CheckCopied(*found, kLogLineCapacity, "found field over the line's capacity");
        for (const int at : columns.at)
            if (const auto field = FieldAt(*record, at))
                CheckCopied(*field, kLogLineCapacity, "field over the line's capacity");
        // Every record takes at least one byte of the file, so the loop ends.
        FuzzCheck(++consumed <= file.size() + 1, "more records than bytes");
    }

    // The whole file as the Completed tab loads it: detail rows and the location's totals.
    LocationNode node;
    node.colour = static_cast<int32_t>(piece);
    PieceSource detailSource(file, piece);
    reader.Start(detailSource);
    const DetailLoad detail = LoadDetail(reader, node);
    CheckTable(reader.Columns());
    FuzzCheck(detail.count >= 0 && static_cast<size_t>(detail.count) <= detail.rows.size(), "detail count");
    CheckFinite(node.perDay, "daily rate not finite");
    for (const auto& row : detail.rows)
        CheckWorkUnitRow(*row);

    MemoryByteSource totalsSource(file);
    reader.Start(totalsSource);
    const LocationTotals totals = LoadTotals(reader);
    FuzzCheck(totals.count >= detail.count, "totals count below the detail count");
    CheckTotalsRow(*MakeTotalsRow("Home", totals));
    LocationTotals grand;
    AddToGrandTotal(grand, totals);
    AddToGrandTotal(grand, totals);
    CheckTotalsRow(*MakeTotalsRow(kGrandTotalName, grand));
    return 0;
}
