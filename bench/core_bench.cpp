// Micro-benchmarks of the configuration core: reading, repairing and writing both files, and
// every preset. The inputs are the reference files of the core tests.
#include "core/personality_file.h"
#include "core/presets.h"
#include "core/superbot.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <unistd.h>

using namespace voltara;

namespace {

// Windows that show nothing: the benchmarks time the core alone.
class NullView : public PersonalityView
{
public:
    void ShowMessage(const std::string &, const Caption &, MessageIcon) override { }
    void Yield() override { }
    void SelectDefaultOption(int) override { }
    void ShowPersonality(const std::string &) override { }
};

class NullSuperbotView : public SuperbotView
{
public:
    void ShowMessage(const std::string &, const Caption &, MessageIcon) override { }
    void Yield() override { }
    void ShowSuperbot(const std::string &) override { }
};

const std::string kPersonalityPath = VOLTARA_TEST_DATA "/default_personality.cfg";
const std::string kSuperbotPath = VOLTARA_TEST_DATA "/default_sbot.cfg";

std::string Content(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// A private folder for the files the writers make, removed at the end.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        char name[] = "/tmp/voltara-bench-XXXXXX";
        if (!mkdtemp(name))
            throw std::runtime_error("cannot make a scratch folder");
        path_ = name;
    }
    ~ScratchFolder()
    {
        for (const char *file : {"/bot_personality.cfg", "/sbot.cfg"})
            std::remove((path_ + file).c_str());
        rmdir(path_.c_str());
    }
    std::string File(const char *name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

PersonalityConfig LoadedPersonalities()
{
    PersonalityConfig config;
    NullView view;
    BuildConfigPath(config, "/nonexistent");
    ReadPersonalityFile(config, kPersonalityPath, view);
    return config;
}

SuperbotConfig LoadedSuperbots()
{
    SuperbotConfig config;
    NullSuperbotView view;
    InitSuperbotData(config, "/nonexistent");
    ReadSuperbotFile(config, kSuperbotPath, view);
    return config;
}

void ReadPersonalityContent(benchmark::State &state)
{
    const std::string content = Content(kPersonalityPath);
    NullView view;
    for (auto _ : state) {
        PersonalityConfig config;
        BuildConfigPath(config, "/nonexistent");
        ReadPersonality(config, content, view);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(ReadPersonalityContent);

void ReadPersonalityFromDisk(benchmark::State &state)
{
    NullView view;
    for (auto _ : state) {
        PersonalityConfig config;
        BuildConfigPath(config, "/nonexistent");
        ReadPersonalityFile(config, kPersonalityPath, view);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(ReadPersonalityFromDisk);

// Nine empty records: every field is replaced by its default.
void RepairEmptyPersonalities(benchmark::State &state)
{
    for (auto _ : state) {
        PersonalityConfig config;
        RepairPersonalities(config);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(RepairEmptyPersonalities);

// Nine valid records: every field is checked and kept.
void RepairValidPersonalities(benchmark::State &state)
{
    PersonalityConfig config = LoadedPersonalities();
    for (auto _ : state) {
        RepairPersonalities(config);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(RepairValidPersonalities);

void PersonalityLines(benchmark::State &state)
{
    PersonalityConfig config = LoadedPersonalities();
    for (auto _ : state)
        benchmark::DoNotOptimize(PersonalityFileLines(config));
}
BENCHMARK(PersonalityLines);

void WritePersonalityToDisk(benchmark::State &state)
{
    PersonalityConfig config = LoadedPersonalities();
    const ScratchFolder folder;
    const std::string path = folder.File("bot_personality.cfg");
    NullView view;
    for (auto _ : state)
        WritePersonalityFile(config, path, view);
}
BENCHMARK(WritePersonalityToDisk);

// Every preset code; the random ones draw from the process-wide, clock-seeded generator.
void Preset(benchmark::State &state, const char *code)
{
    PersonalityConfig config = LoadedPersonalities();
    NullView view;
    for (auto _ : state) {
        ApplyPreset(config, code, view);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK_CAPTURE(Preset, AllDefault, "00");
BENCHMARK_CAPTURE(Preset, AllRandom, "01");
BENCHMARK_CAPTURE(Preset, AttacksDefault, "10");
BENCHMARK_CAPTURE(Preset, AttacksRandom, "11");
BENCHMARK_CAPTURE(Preset, MeleeOnly, "12");
BENCHMARK_CAPTURE(Preset, Bastard, "13");
BENCHMARK_CAPTURE(Preset, HeavyGuy, "14");
BENCHMARK_CAPTURE(Preset, BeamOnly, "15");
BENCHMARK_CAPTURE(Preset, MeleeDefault, "20");
BENCHMARK_CAPTURE(Preset, MeleeRandom, "21");
BENCHMARK_CAPTURE(Preset, ChatDefault, "30");
BENCHMARK_CAPTURE(Preset, ChatRandom, "31");
BENCHMARK_CAPTURE(Preset, Noisy, "32");
BENCHMARK_CAPTURE(Preset, Quiet, "33");
BENCHMARK_CAPTURE(Preset, OthersDefault, "40");
BENCHMARK_CAPTURE(Preset, OthersRandom, "41");
BENCHMARK_CAPTURE(Preset, Extreme, "42");
BENCHMARK_CAPTURE(Preset, Boring, "43");

void ReadSuperbotContent(benchmark::State &state)
{
    const std::string content = Content(kSuperbotPath);
    NullSuperbotView view;
    for (auto _ : state) {
        SuperbotConfig config;
        InitSuperbotData(config, "/nonexistent");
        ReadSuperbot(config, content, view);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(ReadSuperbotContent);

void ReadSuperbotFromDisk(benchmark::State &state)
{
    NullSuperbotView view;
    for (auto _ : state) {
        SuperbotConfig config;
        InitSuperbotData(config, "/nonexistent");
        ReadSuperbotFile(config, kSuperbotPath, view);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(ReadSuperbotFromDisk);

void RepairEmptySuperbots(benchmark::State &state)
{
    for (auto _ : state) {
        SuperbotConfig config;
        RepairSuperbots(config);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(RepairEmptySuperbots);

void RepairValidSuperbots(benchmark::State &state)
{
    SuperbotConfig config = LoadedSuperbots();
    for (auto _ : state) {
        RepairSuperbots(config);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(RepairValidSuperbots);

void SuperbotLines(benchmark::State &state)
{
    SuperbotConfig config = LoadedSuperbots();
    for (auto _ : state)
        benchmark::DoNotOptimize(SuperbotFileLines(config));
}
BENCHMARK(SuperbotLines);

void WriteSuperbotToDisk(benchmark::State &state)
{
    SuperbotConfig config = LoadedSuperbots();
    const ScratchFolder folder;
    const std::string path = folder.File("sbot.cfg");
    NullSuperbotView view;
    for (auto _ : state)
        WriteSuperbotFile(config, path, view);
}
BENCHMARK(WriteSuperbotToDisk);

} // namespace

BENCHMARK_MAIN();
