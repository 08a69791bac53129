// Any bytes as a superbot file: every field numeric afterwards, only known messages, and the
// records survive a write and a second read unchanged.
#include "core/text.h"
#include "fuzz_common.h"

#include <cstddef>
#include <cstdint>

using namespace voltara;
using namespace voltara::fuzz;

namespace {

class View : public RecordingView<SuperbotView>
{
public:
    void ShowSuperbot(const std::string &tier) override
    {
        Check(tier == "1", "the reader shows tier 1");
        ++shows;
    }
    int shows = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    View view;
    const auto config =
        ReadFresh<SuperbotConfig>(view, AsText(data, size), InitSuperbotData, ReadSuperbot);
    for (const Superbot &tier : config.Superbots) {
        for (const SuperbotFieldInfo &field : kSuperbotFields)
            Check(
                IsNumericText(tier.*field.member), "superbot field is numeric", tier.*field.member);
    }
    Check(config.CurrentTier >= 1 && config.CurrentTier <= 3, "CurrentTier is 1..3");

    const auto again =
        ReadBack<View, SuperbotConfig>(SuperbotFileLines(config), InitSuperbotData, ReadSuperbot);
    Check(again.Superbots == config.Superbots, "records survive a write and a read");
    return 0;
}
