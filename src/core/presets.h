// The Presets menu's changes to the personality on view: defaults, random values and the
// named patterns, addressed by two-digit codes.
#pragma once

#include "personality.h"
#include "personality_file.h"

#include <functional>
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
