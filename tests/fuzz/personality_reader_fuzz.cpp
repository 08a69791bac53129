// Any bytes as a personality file: the reader must leave valid records, show only known
// messages, and what it leaves must survive a write and a second read unchanged.
#include "core/text.h"
#include "fuzz_common.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_set>

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

// The checks of the records and their round trip depend on nothing but the records and
// whether the reading showed them, and most mutations of a file leave the records as an
// earlier input left them: each distinct outcome is checked once, which makes long runs several
// times faster. Skipping a repeat hides no failure, since the first input with that outcome
// ran the same checks, and a failing input fails again when run alone. The price is that the
// round trip's coverage counts only for an outcome's first input. (A 64-bit hash: a collision
// among the few million outcomes of a run is out of reach.)
bool FirstOfItsKind(const PersonalityConfig &config, bool shown)
{
    const std::hash<std::string> hash_text;
    std::uint64_t hash = hash_text(config.DefaultPersonality) * 2 + shown;
    for (const Personality &bot : config.Bots) {
        for (const FieldInfo &field : kFields)
            hash = (hash ^ hash_text(bot.*field.member)) * 1099511628211u;
    }
    static std::unordered_set<std::uint64_t> seen;
    if (seen.size() >= 4'000'000)
        seen.clear();
    return seen.insert(hash).second;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    View view;
    const auto config =
        ReadFresh<PersonalityConfig>(view, AsText(data, size), BuildConfigPath, ReadPersonality);
    Check(view.shows == view.selections && view.shows <= 1, "one selection and one show, or none");
    Check(view.shows == 0 || config.CurrentBot == 1, "CurrentBot is 1 after a show");
    if (!FirstOfItsKind(config, view.shows == 1))
        return 0;
    CheckValid(config);

    const auto again = ReadBack<View, PersonalityConfig>(
        PersonalityFileLines(config), BuildConfigPath, ReadPersonality);
    Check(again.Bots == config.Bots, "records survive a write and a read");
    // A non-numeric default can only come from a key line inside a section, and the general
    // option line turns it into "-1" by design; a reading that failed before the sections
    // leaves the default as the file gave it, without the option's normalisation.
    if (view.shows == 1 && IsNumericText(config.DefaultPersonality))
        Check(again.DefaultPersonality == config.DefaultPersonality,
            "a numeric default personality survives a write and a read");
    return 0;
}
