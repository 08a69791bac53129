// The Presets menu's changes to the personality on view: defaults, random values and the
// named patterns, addressed by two-digit codes.
#pragma once

#include "core/personality.h"
#include "core/personality_file.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <random>
#include <span>
#include <string>

namespace voltara {

// A source of uniform draws from [0, 1), seeded anew on every SetRandomValues call.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual void SeedFromClock() = 0;
    virtual double Draw() = 0;
};

// The process-wide generator, seeded from the system clock.
RandomSource &SystemRandom();

// A generator that reseeds with one fixed seed where the others take the clock, so the random
// presets give the same values for the same seed, on every platform.
class FixedSeedRandom : public RandomSource
{
public:
    explicit FixedSeedRandom(std::uint64_t seed)
        : seed_(seed)
        , engine_(seed)
    {
    }
    void SeedFromClock() override { engine_.seed(seed_); }
    double Draw() override;

private:
    std::uint64_t seed_;
    std::mt19937_64 engine_;
};

// An item of the Presets menu: its object name, caption and preset code.
struct PresetItem
{
    const char *name;
    const char *caption;
    const char *code;
};

// A submenu of the Presets menu, its items in menu order.
struct PresetSubmenu
{
    const char *name;
    const char *caption;
    std::initializer_list<PresetItem> items;
};

// The submenus of the Presets menu in menu order: "All", "Attacks", "Melee", "Chat", "Others".
std::span<const PresetSubmenu> PresetMenu();

// The code of "All" > "Default": every setting of the record back to its default.
inline constexpr const char *kAllDefaultCode = "00";

// Whether a code is one of the Presets menu's.
bool IsPresetCode(const std::string &code);

// Applies the preset of this code to the record of CurrentBot; an unknown code shows
// "Unknown Error" and changes nothing. In every case the view then yields and shows
// CurrentBot again. A known code throws IndexError while CurrentBot is outside 1..9, which
// BuildConfigPath rules out.
void ApplyPreset(PersonalityConfig &config, const std::string &code, PersonalityView &view,
    RandomSource &random = SystemRandom());

// Random values for one group of personality number (decimal text); throws IndexError outside
// 1..9. Groups outside 0..4 store nothing, but the generator is still seeded.
void SetRandomValues(PersonalityConfig &config, const std::string &number, int group,
    RandomSource &random = SystemRandom());

// "0" to "100", each with equal chance.
std::string RandomPercent(RandomSource &random = SystemRandom());

// "defensive", "aggressive" or "normal", each with equal chance.
std::string RandomAggression(RandomSource &random = SystemRandom());

} // namespace voltara
