// What the records of both kinds share: their numbering (personalities 1 to 9, tiers 1 to 3)
// and how a window shows each of their settings.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace voltara {

// A record number outside the records of a file: the one error of every procedure that
// addresses a record by its number.
struct IndexError : std::out_of_range
{
    explicit IndexError(int number)
        : std::out_of_range("no record number " + std::to_string(number))
    {
    }
};

// Record number n (counted from 1) of the records; throws IndexError for any other number.
template <typename Record, std::size_t Count>
Record &RecordNumbered(std::array<Record, Count> &records, int n)
{
    if (n < 1 || n > static_cast<int>(Count))
        throw IndexError(n);
    return records[static_cast<std::size_t>(n - 1)];
}

template <typename Record, std::size_t Count>
const Record &RecordNumbered(const std::array<Record, Count> &records, int n)
{
    return RecordNumbered(const_cast<std::array<Record, Count> &>(records), n);
}

// How a window shows a setting: the caption of its label or frame (which a screen reader also
// names the control after), the number of its status-bar hint (-1 for none), the name of the
// control that edits it ("" for none) and the hint's text (also the control's description).
struct SettingLook
{
    const char *label;
    int hint;
    const char *control;
    const char *hint_text;
};

} // namespace voltara
