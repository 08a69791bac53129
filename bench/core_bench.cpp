// Micro-benchmarks of the configuration core: reading, repairing and writing both files, and
// every preset. The inputs are the reference files of the core tests.
#include "core/personality_file.h"
#include "core/presets.h"
#include "core/superbot_file.h"

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

// What the benchmarks of either file call: its configuration, reader and writer.
struct Personalities
{
    using Config = PersonalityConfig;
    using View = NullView;
    static constexpr const char *kPath = VOLTARA_TEST_DATA "/default_personality.cfg";
    static constexpr const char *kName = "bot_personality.cfg";
    static void Start(Config &config) { BuildConfigPath(config, "/nonexistent"); }
    static constexpr auto kReadContent = &ReadPersonality;
    static constexpr auto kReadFile = &ReadPersonalityFile;
    static constexpr auto kRepair = &RepairPersonalities;
    static constexpr auto kLines = &PersonalityFileLines;
    static constexpr auto kWrite = &WritePersonalityFile;
};

struct Superbots
{
    using Config = SuperbotConfig;
    using View = NullSuperbotView;
    static constexpr const char *kPath = VOLTARA_TEST_DATA "/default_sbot.cfg";
    static constexpr const char *kName = "sbot.cfg";
    static void Start(Config &config) { InitSuperbotData(config, "/nonexistent"); }
    static constexpr auto kReadContent = &ReadSuperbot;
    static constexpr auto kReadFile = &ReadSuperbotFile;
    static constexpr auto kRepair = &RepairSuperbots;
    static constexpr auto kLines = &SuperbotFileLines;
    static constexpr auto kWrite = &WriteSuperbotFile;
};

template <typename Kind> typename Kind::Config Loaded()
{
    typename Kind::Config config;
    typename Kind::View view;
    Kind::Start(config);
    Kind::kReadFile(config, Kind::kPath, view);
    return config;
}

template <typename Kind> void ReadContent(benchmark::State &state)
{
    const std::string content = Content(Kind::kPath);
    typename Kind::View view;
    for (auto _ : state) {
        typename Kind::Config config;
        Kind::Start(config);
        Kind::kReadContent(config, content, view);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK_TEMPLATE(ReadContent, Personalities);
BENCHMARK_TEMPLATE(ReadContent, Superbots);

template <typename Kind> void ReadFromDisk(benchmark::State &state)
{
    typename Kind::View view;
    for (auto _ : state) {
        typename Kind::Config config;
        Kind::Start(config);
        Kind::kReadFile(config, Kind::kPath, view);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK_TEMPLATE(ReadFromDisk, Personalities);
BENCHMARK_TEMPLATE(ReadFromDisk, Superbots);

// Empty records: every field is replaced by its default.
template <typename Kind> void RepairEmpty(benchmark::State &state)
{
    for (auto _ : state) {
        typename Kind::Config config;
        Kind::kRepair(config);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK_TEMPLATE(RepairEmpty, Personalities);
BENCHMARK_TEMPLATE(RepairEmpty, Superbots);

// Valid records: every field is checked and kept.
template <typename Kind> void RepairValid(benchmark::State &state)
{
    typename Kind::Config config = Loaded<Kind>();
    for (auto _ : state) {
        Kind::kRepair(config);
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK_TEMPLATE(RepairValid, Personalities);
BENCHMARK_TEMPLATE(RepairValid, Superbots);

template <typename Kind> void Lines(benchmark::State &state)
{
    const typename Kind::Config config = Loaded<Kind>();
    for (auto _ : state)
        benchmark::DoNotOptimize(Kind::kLines(config));
}
BENCHMARK_TEMPLATE(Lines, Personalities);
BENCHMARK_TEMPLATE(Lines, Superbots);

template <typename Kind> void WriteToDisk(benchmark::State &state)
{
    typename Kind::Config config = Loaded<Kind>();
    const ScratchFolder folder;
    const std::string path = folder.File(Kind::kName);
    typename Kind::View view;
    for (auto _ : state)
        Kind::kWrite(config, path, view);
}
BENCHMARK_TEMPLATE(WriteToDisk, Personalities);
BENCHMARK_TEMPLATE(WriteToDisk, Superbots);

// Every preset code; the random ones draw from the process-wide, clock-seeded generator.
void Preset(benchmark::State &state, const char *code)
{
    PersonalityConfig config = Loaded<Personalities>();
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

} // namespace

BENCHMARK_MAIN();
