#include "botcfg/unified_diff.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace botcfg {

namespace {

constexpr std::size_t kContext = 3;
// Myers' search for the smallest difference keeps one row per edit, so its memory grows with
// the square of the edits; past these bounds the differing middle is replaced whole.
constexpr std::size_t kMaxEdits = 1000;
constexpr std::uint64_t kMaxSteps = 20'000'000;

enum class Op : unsigned char { Same, Removed, Added };

using Lines = std::vector<std::string_view>;

Lines SplitLines(std::string_view text)
{
    Lines lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

// Each line as a number, equal lines alike, so that the search compares numbers.
std::vector<int> Numbered(const Lines &lines, std::unordered_map<std::string_view, int> &numbers)
{
    std::vector<int> numbered;
    numbered.reserve(lines.size());
    for (const std::string_view line : lines)
        numbered.push_back(numbers.emplace(line, static_cast<int>(numbers.size())).first->second);
    return numbered;
}

struct Span
{
    const int *items;
    long size;
};

// Walks Myers' rows back from the end (x, y), reached with edits edits, to the start; rows[d]
// holds the furthest x of each diagonal -d to d after d edits.
std::vector<Op> TraceBack(const std::vector<std::vector<long>> &rows, long edits, long x, long y)
{
    std::vector<Op> ops;
    for (long d = edits; d > 0; --d) {
        const auto before = [&](long k) { return rows[d - 1][k + d - 1]; };
        const long k = x - y;
        const bool down = k == -d || (k != d && before(k - 1) < before(k + 1));
        const long previous_k = down ? k + 1 : k - 1;
        const long previous_x = before(previous_k);
        // The edit leads from the previous point to the start of the run of equal lines.
        for (const long run_start = down ? previous_x : previous_x + 1; x > run_start; --x, --y)
            ops.push_back(Op::Same);
        ops.push_back(down ? Op::Added : Op::Removed);
        x = previous_x;
        y = previous_x - previous_k;
    }
    for (; x > 0 && y > 0; --x, --y)
        ops.push_back(Op::Same);
    std::reverse(ops.begin(), ops.end());
    return ops;
}

// The smallest edit script from a to b (Myers, 1986), or an empty one when it lies beyond the
// bounds; a and b differ at both ends.
std::vector<Op> Smallest(Span a, Span b)
{
    const long limit = std::min(static_cast<long>(kMaxEdits), a.size + b.size);
    std::vector<long> furthest(2 * limit + 3, 0); // index k + limit + 1
    const auto v = [&](long k) -> long & { return furthest[k + limit + 1]; };
    std::vector<std::vector<long>> rows;
    std::uint64_t steps = 0;
    for (long d = 0; d <= limit && steps <= kMaxSteps; ++d) {
        for (long k = -d; k <= d; k += 2) {
            long x = k == -d || (k != d && v(k - 1) < v(k + 1)) ? v(k + 1) : v(k - 1) + 1;
            long y = x - k;
            for (; x < a.size && y < b.size && a.items[x] == b.items[y]; ++x, ++y)
                ++steps;
            v(k) = x;
            if (x >= a.size && y >= b.size)
                return TraceBack(rows, d, a.size, b.size);
        }
        steps += static_cast<std::uint64_t>(d) + 1;
        rows.emplace_back(&v(-d), &v(d) + 1);
    }
    return {};
}

// The edit script from a to b, each run of changes its removals first, as diff shows them.
std::vector<Op> Script(const std::vector<int> &a, const std::vector<int> &b)
{
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head
        && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    const long a_middle = static_cast<long>(a.size() - head - tail);
    const long b_middle = static_cast<long>(b.size() - head - tail);
    std::vector<Op> middle = Smallest({a.data() + head, a_middle}, {b.data() + head, b_middle});
    if (middle.empty()) {
        middle.assign(a_middle, Op::Removed);
        middle.insert(middle.end(), b_middle, Op::Added);
    }
    for (auto run = middle.begin(); run != middle.end();) {
        const auto end = std::find(run, middle.end(), Op::Same);
        std::stable_partition(run, end, [](Op op) { return op == Op::Removed; });
        run = std::find_if(end, middle.end(), [](Op op) { return op != Op::Same; });
    }
    std::vector<Op> ops(head, Op::Same);
    ops.insert(ops.end(), middle.begin(), middle.end());
    ops.insert(ops.end(), tail, Op::Same);
    return ops;
}

// "start,count" of a hunk's lines in one file; "start" alone for one line; for none, the line
// before them.
std::string Range(std::size_t first, std::size_t count)
{
    if (count == 1)
        return std::to_string(first + 1);
    return std::to_string(count == 0 ? first : first + 1) + "," + std::to_string(count);
}

void AppendLine(std::string &out, char mark, std::string_view line)
{
    out += mark;
    out.append(line);
    if (!line.ends_with('\n'))
        out += "\n\\ No newline at end of file\n";
}

// Which edits a hunk shows: every change, and the unchanged lines within kContext of one.
std::vector<bool> Shown(const std::vector<Op> &ops)
{
    std::vector<bool> shown(ops.size(), false);
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (ops[i] == Op::Same)
            continue;
        const std::size_t from = i > kContext ? i - kContext : 0;
        const std::size_t to = std::min(ops.size(), i + kContext + 1);
        std::fill(
            shown.begin() + static_cast<long>(from), shown.begin() + static_cast<long>(to), true);
    }
    return shown;
}

std::string Hunks(const std::vector<Op> &ops, const Lines &a, const Lines &b)
{
    const std::vector<bool> shown = Shown(ops);
    std::string out;
    std::size_t in_a = 0;
    std::size_t in_b = 0;
    for (std::size_t i = 0; i < ops.size();) {
        if (!shown[i]) {
            in_a += ops[i] != Op::Added;
            in_b += ops[i] != Op::Removed;
            ++i;
            continue;
        }
        const std::size_t end = static_cast<std::size_t>(
            std::find(shown.begin() + static_cast<long>(i), shown.end(), false) - shown.begin());
        const auto first = ops.begin() + static_cast<long>(i);
        const auto last = ops.begin() + static_cast<long>(end);
        const auto removed = static_cast<std::size_t>(std::count(first, last, Op::Removed));
        const auto added = static_cast<std::size_t>(std::count(first, last, Op::Added));
        const std::size_t same = end - i - removed - added;
        out += "@@ -" + Range(in_a, same + removed) + " +" + Range(in_b, same + added) + " @@\n";
        for (; i < end; ++i) {
            if (ops[i] == Op::Same)
                AppendLine(out, ' ', a[in_a]);
            else if (ops[i] == Op::Removed)
                AppendLine(out, '-', a[in_a]);
            else
                AppendLine(out, '+', b[in_b]);
            in_a += ops[i] != Op::Added;
            in_b += ops[i] != Op::Removed;
        }
    }
    return out;
}

} // namespace

std::string UnifiedDiff(std::string_view old_text, std::string_view new_text,
    const std::string &old_label, const std::string &new_label)
{
    if (old_text == new_text)
        return {};
    const Lines a = SplitLines(old_text);
    const Lines b = SplitLines(new_text);
    std::unordered_map<std::string_view, int> numbers;
    const std::vector<int> numbered_a = Numbered(a, numbers);
    const std::vector<int> numbered_b = Numbered(b, numbers);
    return "--- " + old_label + "\n+++ " + new_label + "\n"
        + Hunks(Script(numbered_a, numbered_b), a, b);
}

} // namespace botcfg
