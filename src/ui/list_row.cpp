// List row records: cells, their sort keys and the work-unit record.
#include "ui/list_row.h"

namespace {

const std::string kEmpty;

std::optional<std::string> Copy(std::optional<std::string_view> text)
{
    return text ? std::optional<std::string>(std::in_place, *text) : std::nullopt;
}

}  // namespace

std::string FilterSortKey(std::string_view text)
{
    std::string key;
    key.reserve(text.size());
    for (const char c : text)
        if (c >= '.' && c <= '9')
            key.push_back(c);
    return key;
}

void ListRow::SetCell(int index, int32_t kind, std::optional<std::string_view> text,
                      std::optional<std::string_view> second)
{
    if (!Valid(index))
        return;
    // Copies first: the caller may pass views into this cell's own texts.
    std::optional<std::string> newText = Copy(text);
    std::optional<std::string> newSecond =
        kind == kNumberCell && second ? std::optional<std::string>(FilterSortKey(*second)) : Copy(second);
    ListCell& cell = cells_[index];
    cell.kind = kind;
    cell.text = std::move(newText);
    cell.second = std::move(newSecond);
}

void ListRow::ReplaceCell(int index, std::optional<std::string_view> text, std::optional<std::string_view> second)
{
    if (!HasText(index))
        return;
    SetCell(index, cells_[index].kind, text, second);
}

const std::string& ListRow::Text(int index) const
{
    return Valid(index) && cells_[index].text ? *cells_[index].text : kEmpty;
}

const std::string& ListRow::Second(int index) const
{
    return Valid(index) && cells_[index].second ? *cells_[index].second : kEmpty;
}

int32_t ListRow::Kind(int index) const
{
    return Valid(index) ? cells_[index].kind : kTextCell;
}
