// Any bytes as a personality file: the reader must leave valid records, show only known
// messages, and what it leaves must survive a write and a second read unchanged.
#include "fuzz_common.h"
#include "text.h"

#include <cstddef>
#include <cstdint>

using namespace voltara;
using namespace voltara::fuzz;

namespace {

class View : public RecordingView<PersonalityView>
{
public:
    void SelectDefaultOption(int option) override
    {
        Check(option >= -1 && option <= 9, "option is -1..9");
        ++selections;
    }
    void ShowPersonality(const std::string &number) override
    {
        Check(number == "1", "the reader shows personality 1");
        ++shows;
    }
    int selections = 0;
    int shows = 0;
};

void CheckValid(const PersonalityConfig &config)
{
    for (const Personality &bot : config.Bots) {
        for (const FieldInfo &field : kFields) {
            const std::string &value = bot.*field.member;
            switch (field.kind) {
            case FieldKind::Percent:
                Check(IsNumericText(value), "percent is numeric", value);
                break;
            case FieldKind::Transkiller:
                Check(value.size() == 1 && value[0] >= '0' && value[0] <= '9',
                    "transkiller is one digit", value);
                break;
            case FieldKind::Aggression:
                Check(value == "normal" || value == "defensive" || value == "aggressive",
                    "aggression is a known word", value);
                break;
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    PersonalityConfig config;
    BuildConfigPath(config, "/nonexistent");
    View view;
    ReadPersonality(config, std::string_view(reinterpret_cast<const char *>(data), size), view);
    CheckValid(config);
    Check(view.shows == view.selections && view.shows <= 1, "one selection and one show, or none");
    Check(view.shows == 0 || config.CurrentBot == 1, "CurrentBot is 1 after a show");

    PersonalityConfig again;
    BuildConfigPath(again, "/nonexistent");
    View second;
    ReadPersonality(again, JoinedWithCrLf(PersonalityFileLines(config)), second);
    Check(second.messages.empty(), "a written file reads back without a message",
        second.messages.empty() ? "" : second.messages.front());
    Check(again.Bots == config.Bots, "records survive a write and a read");
    // A non-numeric default can only come from a key line inside a section, and the general
    // option line turns it into "-1" by design; a reading that failed before the sections
    // leaves the default as the file gave it, without the option's normalisation.
    if (view.shows == 1 && IsNumericText(config.DefaultPersonality))
        Check(again.DefaultPersonality == config.DefaultPersonality,
            "a numeric default personality survives a write and a read");
    return 0;
}
