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
    SuperbotConfig config;
    InitSuperbotData(config, "/nonexistent");
    View view;
    ReadSuperbot(config, std::string_view(reinterpret_cast<const char *>(data), size), view);
    for (const Superbot &tier : config.Superbots) {
        for (const SuperbotFieldInfo &field : kSuperbotFields)
            Check(
                IsNumericText(tier.*field.member), "superbot field is numeric", tier.*field.member);
    }
    Check(config.CurrentTier >= 1 && config.CurrentTier <= 3, "CurrentTier is 1..3");

    SuperbotConfig again;
    InitSuperbotData(again, "/nonexistent");
    View second;
    ReadSuperbot(again, JoinedWithCrLf(SuperbotFileLines(config)), second);
    Check(second.messages.empty(), "a written file reads back without a message");
    Check(again.Superbots == config.Superbots, "records survive a write and a read");
    return 0;
}
