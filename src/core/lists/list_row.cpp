// List row records: cells, their sort keys and the work-unit record.
#include "core/lists/list_row.h"

#include <functional>

namespace
{

constexpr size_t kCompactAtLeast = 256;

bool IsSortKeyCharacter(char c)
{
    return c >= '.' && c <= '9';
}

} // namespace

std::string FilterSortKey(std::string_view text)
{
    std::string key;
    key.reserve(text.size());
    for (const char c : text)
        if (IsSortKeyCharacter(c))
            key.push_back(c);
    return key;
}

void ListRow::SetCell(int index, int32_t kind, std::optional<std::string_view> text,
                      std::optional<std::string_view> second)
{
    if (!Valid(index))
        return;
    // Views into this row's own buffer are copied first: appending may move the buffer.
    const auto inside = [this](std::string_view view) {
        const std::less_equal<const char*> atMost;
        return !view.empty() && atMost(text_.data(), view.data()) &&
               atMost(view.data() + view.size(), text_.data() + text_.size());
    };
    std::string ownText;
    std::string ownSecond;
    if (text && inside(*text))
        text = ownText.assign(*text);
    if (second && inside(*second))
        second = ownSecond.assign(*second);

    Slot& slot = slots_[static_cast<size_t>(index)];
    unused_ += slot.textLength + slot.secondLength;
    slot = Slot{};
    slot.at = static_cast<uint32_t>(text_.size());
    slot.kind = kind;
    if (text) {
        text_.append(*text);
        slot.textLength = static_cast<uint32_t>(text->size());
        slot.flags |= kHasText;
    }
    if (second) {
        const size_t before = text_.size();
        if (kind == kNumberCell) {
            for (const char c : *second)
                if (IsSortKeyCharacter(c))
                    text_.push_back(c);
        } else {
            text_.append(*second);
        }
        slot.secondLength = static_cast<uint32_t>(text_.size() - before);
        slot.flags |= kHasSecond;
    }
    if (unused_ >= kCompactAtLeast && unused_ * 2 > text_.size())
        Compact();
}

void ListRow::Compact()
{
    std::string packed;
    packed.reserve(text_.size() - unused_);
    for (Slot& slot : slots_) {
        const size_t at = packed.size();
        packed.append(text_, slot.at, slot.textLength + slot.secondLength);
        slot.at = static_cast<uint32_t>(at);
    }
    text_ = std::move(packed);
    unused_ = 0;
}

void ListRow::Reserve(size_t bytes)
{
    text_.reserve(bytes);
}

void ListRow::ReplaceCell(int index, std::optional<std::string_view> text, std::optional<std::string_view> second)
{
    if (!HasText(index))
        return;
    SetCell(index, slots_[static_cast<size_t>(index)].kind, text, second);
}

std::string_view ListRow::Text(int index) const
{
    if (!Valid(index))
        return {};
    const Slot& slot = slots_[static_cast<size_t>(index)];
    return std::string_view(text_).substr(slot.at, slot.textLength);
}

std::string_view ListRow::Second(int index) const
{
    if (!Valid(index))
        return {};
    const Slot& slot = slots_[static_cast<size_t>(index)];
    return std::string_view(text_).substr(slot.at + slot.textLength, slot.secondLength);
}

int32_t ListRow::Kind(int index) const
{
    return Valid(index) ? slots_[static_cast<size_t>(index)].kind : kTextCell;
}
