// Any bytes as a titles file: the first page and every scroll step must show exactly the lines
// that follow the marker and the line after it, and the scroll must end at the file's end.
#include "core/credits.h"
#include "core/text.h"
#include "fuzz_common.h"

#include <cstddef>
#include <cstdint>

using namespace voltara;
using namespace voltara::fuzz;

namespace {

std::string Page(const std::vector<std::string> &lines, std::size_t first, bool final_break)
{
    std::string page;
    for (std::size_t i = first; i < first + kCreditPageLines; ++i) {
        page += lines[i];
        if (final_break || i + 1 < first + kCreditPageLines)
            page += "\n";
    }
    return page;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char *>(data), size);
    const std::vector<std::string> lines = SplitLines(content);
    std::size_t marker = 0;
    while (marker < lines.size() && lines[marker] != kCreditsMarker)
        ++marker;
    const std::size_t first = marker + 2; // the line after the marker is never shown
    const bool enough = marker < lines.size() && lines.size() >= first + kCreditPageLines;

    CreditsState state;
    state.Titles.OpenText(content);
    std::string shown;
    const bool read = ReadFirstPage(state, [&](const std::string &text) { shown = text; });
    Check(read == enough, "the first page is read exactly when the file holds it");
    if (!read)
        return 0;
    Check(shown == Page(lines, first, true), "the first page shows the lines after the marker");

    std::size_t steps = 0;
    while (const auto page = ScrollStep(state)) {
        ++steps;
        Check(first + steps + kCreditPageLines <= lines.size(), "no step past the file's end");
        Check(*page == Page(lines, first + steps, false), "a step moves the page by one line");
    }
    Check(first + kCreditPageLines + steps == lines.size(), "the scroll ends at the file's end");
    Check(!state.Titles.IsOpen(), "the file is closed at the end");
    Check(!ScrollStep(state), "a step after the end does nothing");
    return 0;
}
