#include "core_test_support.h"
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace voltara {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// A user.reg as Wine writes it, around the lines a test gives.
std::string UserReg(const std::string &body)
{
    return "WINE REGISTRY Version 2\n"
           ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
           "#arch=win64\n\n"
           "[Software\\\\Wine] 1700000000\n"
           "#time=1da0000000000000\n"
           "\"InstallPath\"=\"C:\\\\Wrong\"\n\n"
        + body;
}

// Values as Wine writes them (escapes, other types, texts near the buffer's limit), keys that
// differ only in case, and keys beside, below and above the one a look-up names.
const std::string kBrassmoor = UserReg("[Software\\\\Brassmoor\\\\Arena] 1700000000\n"
                                       "#time=1da0000000000000\n"
                                       "\"Quoted\"=\"say \\\"hi\\\"\"\n"
                                       "\"Path\"=\"C:\\\\Games\\\\Arena\"\n"
                                       "\"Hex\"=\"caf\\x00e9 \\x20ac\"\n"
                                       "\"Octal\"=\"\\101\\102\"\n"
                                       "\"Raw\"=\"Spiele \xC3\xA4\"\n"
                                       "\"Pair\"=\"\\xd83d\\xde00\"\n"
                                       "\"Lone\"=\"\\xd83d!\"\n"
                                       "\"Unknown\"=\"\\q\"\n"
                                       "\"Expand\"=str(2):\"%ProgramFiles%\\\\Arena\"\n"
                                       "@=\"default\"\n"
                                       "\"Number\"=dword:00000001\n"
                                       "\"Binary\"=hex:43,00,3a,00\n"
                                       "\"Multi\"=str(7):\"C:\\\\A\\0C:\\\\B\\0\"\n"
                                       "\"Open\"=\"C:\\\\never closed\n"
                                       "\"Nul\"=\"C:\\\\Arena\\0junk\"\n"
                                       "\"Max\"=\""
    + std::string(254, 'a') + "\"\n\"TooLong\"=\"" + std::string(255, 'a')
    + "\"\n"
      "[software\\\\BRASSMOOR\\\\cased] 1700000000\n"
      "\"installpath\"=\"D:\\\\Arena\"\n"
      "[Software\\\\Brassmoor\\\\Arena\\\\Patches] 1700000000\n"
      "\"InstallPath\"=\"C:\\\\Sub\"\n"
      "[Software\\\\Brassmoor\\\\ArenaX] 1700000000\n"
      "\"InstallPath\"=\"C:\\\\Other\"\n"
      "[Software\\\\Brassmoor] 1700000000\n"
      "\"InstallPath\"=\"C:\\\\Parent\"\n");

TEST(FindRegistryStringTest, ReadsTextValuesOfTheKeyItselfAndNothingElse)
{
    const std::string arena = "Software\\Brassmoor\\Arena";
    const struct
    {
        std::string key, name, value;
    } lookups[] = {
        {arena, "Quoted",                "say \"hi\""              },
        {arena, "Path",                  "C:\\Games\\Arena"        },
        {arena, "Hex",                   "caf\xC3\xA9 \xE2\x82\xAC"},
        {arena, "Octal",                 "AB"                      },
        {arena, "Raw",                   "Spiele \xC3\xA4"         },
        {arena, "Pair",                  "\xF0\x9F\x98\x80"        },
        {arena, "Lone",                  "\xEF\xBF\xBD!"           },
        {arena, "Unknown",               "q"                       },
        {arena, "Expand",                "%ProgramFiles%\\Arena"   },
        {arena, "",                      "default"                 },
        {arena, "Number",                ""                        },
        {arena, "Binary",                ""                        },
        {arena, "Multi",                 ""                        },
        {arena, "Open",                  ""                        },
        {arena, "Nul",                   "C:\\Arena"               },
        {arena, "Max",                   std::string(254,            'a')},
        {arena,     "TooLong",                        ""                                    },
        {arena,     "Missing",                        ""},
        {arena,     "InstallPath",                        ""                                },
        {"Software\\Brassmoor\\Cased",     "InstallPath", "D:\\Arena"},
        {"Software\\Brassmoor",     "InstallPath",        "C:\\Parent"                                       },
        {"Software\\Missing",     "Max",          ""},
    };
    for (const auto &lookup : lookups)
        EXPECT_EQ(FindRegistryString(kBrassmoor, lookup.key, lookup.name), lookup.value)
            << lookup.key << " " << lookup.name;
    EXPECT_EQ(FindRegistryString("", arena, "Max"), "");
    EXPECT_EQ(FindRegistryString("[unclosed\n\"Max\"=\"x\"\n", "unclosed", "Max"), "");
}

TEST(HostPathOfWindowsPathTest, MapsDrivesIntoThePrefix)
{
    EXPECT_EQ(HostPathOfWindowsPath("C:\\Games\\Arena", "/p"), "/p/dosdevices/c:/Games/Arena");
    EXPECT_EQ(HostPathOfWindowsPath("z:\\home\\me", "/p"), "/p/dosdevices/z:/home/me");
    EXPECT_EQ(HostPathOfWindowsPath("\\\\server\\share\\Arena", "/p"),
        "/p/dosdevices/unc/server/share/Arena");
    EXPECT_EQ(HostPathOfWindowsPath("Games\\Arena", "/p"), "Games/Arena");
    EXPECT_EQ(HostPathOfWindowsPath("", "/p"), "");
}

// A Wine prefix in a temporary folder, with WINEPREFIX pointing at it for the test's length.
class WinePrefixTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        prefix_ = fs::temp_directory_path()
            / ("voltara-registry-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(prefix_);
        fs::create_directories(prefix_ / "dosdevices");
        SaveEnvironment("WINEPREFIX", old_prefix_);
        SaveEnvironment("HOME", old_home_);
        ::setenv("WINEPREFIX", prefix_.c_str(), 1);
    }

    void TearDown() override
    {
        RestoreEnvironment("WINEPREFIX", old_prefix_);
        RestoreEnvironment("HOME", old_home_);
        fs::remove_all(prefix_);
    }

    static void SaveEnvironment(const char *name, std::optional<std::string> &saved)
    {
        if (const char *value = std::getenv(name))
            saved = value;
    }

    static void RestoreEnvironment(const char *name, const std::optional<std::string> &saved)
    {
        if (saved)
            ::setenv(name, saved->c_str(), 1);
        else
            ::unsetenv(name);
    }

    void WriteUserReg(const std::string &body) const
    {
        std::ofstream(prefix_ / "user.reg", std::ios::binary) << UserReg(body);
    }

    // The titles file below a folder of drive C: of the prefix; returns its path.
    std::string MakeTitles(const std::string &folder) const
    {
        const fs::path dir = prefix_ / "dosdevices" / "c:" / folder / "voltara";
        fs::create_directories(dir);
        std::ofstream(dir / "titles.txt") << "Credits\n";
        return (dir / "titles.txt").string();
    }

    static std::string Entry(
        const std::string &key, const std::string &value, const std::string &folder)
    {
        return "[Software\\\\Brassmoor\\\\" + key + "] 1700000000\n\"" + value + "\"=\"C:\\\\"
            + folder + "\"\n";
    }

    fs::path prefix_;
    std::optional<std::string> old_prefix_;
    std::optional<std::string> old_home_;
};

TEST_F(WinePrefixTest, ReadsUserRegOfThePrefix)
{
    WriteUserReg(Entry("Arena", "InstallPath", "Arena"));
    EXPECT_EQ(
        GetRegistryString(RegistryRoot::CurrentUser, "Software\\Brassmoor\\Arena", "InstallPath"),
        "C:\\Arena");
    EXPECT_EQ(
        GetRegistryString(RegistryRoot::LocalMachine, "Software\\Brassmoor\\Arena", "InstallPath"),
        "");
}

TEST_F(WinePrefixTest, FallsBackToDotWineInHome)
{
    ::unsetenv("WINEPREFIX");
    ::setenv("HOME", prefix_.c_str(), 1);
    fs::create_directories(prefix_ / ".wine");
    std::ofstream(prefix_ / ".wine" / "user.reg") << UserReg(Entry("Arena", "InstallPath", "H"));
    EXPECT_EQ(WinePrefix(), (prefix_ / ".wine").string());
    EXPECT_EQ(
        GetRegistryString(RegistryRoot::CurrentUser, "Software\\Brassmoor\\Arena", "InstallPath"),
        "C:\\H");
}

TEST_F(WinePrefixTest, GivesEmptyTextWithoutPrefixOrFile)
{
    const std::string key = "Software\\Brassmoor\\Arena";
    EXPECT_EQ(GetRegistryString(RegistryRoot::CurrentUser, key, "InstallPath"), "");
    fs::create_directory(prefix_ / "user.reg");
    EXPECT_EQ(GetRegistryString(RegistryRoot::CurrentUser, key, "InstallPath"), "");
    ::setenv("WINEPREFIX", (prefix_ / "missing").c_str(), 1);
    EXPECT_EQ(GetRegistryString(RegistryRoot::CurrentUser, key, "InstallPath"), "");
    ::unsetenv("WINEPREFIX");
    ::unsetenv("HOME");
    EXPECT_EQ(WinePrefix(), "");
    EXPECT_EQ(GetRegistryString(RegistryRoot::CurrentUser, key, "InstallPath"), "");
}

TEST_F(WinePrefixTest, BuildsCandidatesInsideThePrefix)
{
    EXPECT_EQ(TitlesCandidate("C:\\Games\\Arena"),
        prefix_.string() + "/dosdevices/c:/Games/Arena/voltara/titles.txt");
    EXPECT_EQ(TitlesCandidate("C:\\Games\\"),
        prefix_.string() + "/dosdevices/c:/Games//voltara/titles.txt");
    EXPECT_EQ(TitlesCandidate(""), "/voltara/titles.txt");
}

TEST_F(WinePrefixTest, LastEntryWithAnExistingFileWins)
{
    const std::string skirmish = MakeTitles("Skirmish");
    const std::string arena = MakeTitles("Arena");
    const std::string launcher = MakeTitles("Launcher");
    const std::string skirmish_entry = Entry("Skirmish", "InstallPath", "Skirmish");
    const std::string arena_entry = Entry("Arena", "InstallPath", "Arena");
    const std::string launcher_entry = Entry("Launcher", "ModInstallPath", "Launcher");

    WriteUserReg(launcher_entry + arena_entry + skirmish_entry);
    EXPECT_EQ(FindTitlesFile(), launcher);
    WriteUserReg(skirmish_entry + arena_entry);
    EXPECT_EQ(FindTitlesFile(), arena);
    WriteUserReg(skirmish_entry + Entry("Arena", "InstallPath", "Nowhere"));
    EXPECT_EQ(FindTitlesFile(), skirmish);
    // The launcher's value has its own name; InstallPath there does not count.
    WriteUserReg(skirmish_entry + Entry("Launcher", "InstallPath", "Launcher"));
    EXPECT_EQ(FindTitlesFile(), skirmish);
}

TEST_F(WinePrefixTest, FindsNoTitlesWhereNoFileIs)
{
    EXPECT_EQ(FindTitlesFile(), "");
    // A folder of that name is no titles file.
    fs::create_directories(prefix_ / "dosdevices" / "c:" / "Arena" / "voltara" / "titles.txt");
    WriteUserReg(Entry("Arena", "InstallPath", "Arena"));
    EXPECT_EQ(FindTitlesFile(), "");
}

TEST_F(WinePrefixTest, KeepsADoubledSeparatorAfterATrailingBackslash)
{
    MakeTitles("Games");
    WriteUserReg(Entry("Arena", "InstallPath", "Games\\\\"));
    EXPECT_EQ(FindTitlesFile(), prefix_.string() + "/dosdevices/c:/Games//voltara/titles.txt");
}

#endif

#ifdef _WIN32

// The system registry itself, with the current user's root redirected for the test's length
// to a fresh key of its own, so that the user's entries are neither read nor touched.
class WindowsRegistryTest : public ::testing::Test
{
protected:
    static constexpr const char *kParent = "Software\\Voltara tests";

    void SetUp() override
    {
        subkey_ = std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &root_, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, root_), ERROR_SUCCESS);
    }

    void TearDown() override
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(root_);
        RegDeleteTreeA(HKEY_CURRENT_USER, subkey_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kParent); // only when no other run uses it
    }

    // Writes the value with exactly the bytes given (no NUL added).
    void Set(const std::string &key, const std::string &name, DWORD type, const std::string &data)
    {
        ASSERT_EQ(RegSetKeyValueA(root_, key.c_str(), name.c_str(), type, data.data(),
                      static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
    }

    void SetText(const std::string &key, const std::string &name, const std::string &text)
    {
        Set(key, name, REG_SZ, text + std::string(1, '\0'));
    }

    static std::string Get(const std::string &key, const std::string &name)
    {
        return GetRegistryString(RegistryRoot::CurrentUser, key, name);
    }

    std::string subkey_;
    HKEY root_ = nullptr;
};

TEST_F(WindowsRegistryTest, ReadsTextsThatFitTheBuffer)
{
    const std::string key = "Software\\Brassmoor\\Arena";
    SetText(key, "InstallPath", "C:\\Games\\Arena");
    SetText(key, "", "default");
    SetText(key, "Max", std::string(254, 'a'));
    SetText(key, "TooLong", std::string(255, 'a'));
    Set(key, "Full", REG_SZ, std::string(255, 'b'));
    Set(key, "Nul", REG_SZ, std::string("C:\\Arena\0junk\0", 15));
    Set(key, "Expand", REG_EXPAND_SZ, std::string("%ProgramFiles%\\Arena\0", 21));
    Set(key, "Number", REG_DWORD, std::string("\1\0\0\0", 4));

    EXPECT_EQ(Get(key, "InstallPath"), "C:\\Games\\Arena");
    EXPECT_EQ(Get("software\\BRASSMOOR\\arena", "installpath"), "C:\\Games\\Arena");
    EXPECT_EQ(Get(key, ""), "default");
    EXPECT_EQ(Get(key, "Max"), std::string(254, 'a'));
    EXPECT_EQ(Get(key, "TooLong"), "");
    EXPECT_EQ(Get(key, "Full"), "");
    EXPECT_EQ(Get(key, "Nul"), "C:\\Arena");
    EXPECT_EQ(Get(key, "Expand"), "%ProgramFiles%\\Arena");
    EXPECT_EQ(Get(key, "Number"), "");
    EXPECT_EQ(Get(key, "Missing"), "");
    EXPECT_EQ(Get("Software\\Brassmoor\\Missing", "InstallPath"), "");
}

TEST_F(WindowsRegistryTest, LastEntryWithAnExistingFileWins)
{
    test::ScratchFolder games;
    std::filesystem::create_directories(games.path() / "Skirmish" / "voltara");
    std::filesystem::create_directories(games.path() / "Launcher" / "voltara");
    test::WriteBytes(games / "Skirmish\\voltara\\titles.txt", "Credits\r\n");
    test::WriteBytes(games / "Launcher\\voltara\\titles.txt", "Credits\r\n");
    const std::string folder = games.path().string();

    SetText("Software\\Brassmoor\\Skirmish", "InstallPath", folder + "\\Skirmish");
    SetText("Software\\Brassmoor\\Arena", "InstallPath", folder + "\\Arena");
    EXPECT_EQ(FindTitlesFile(), folder + "\\Skirmish\\voltara\\titles.txt");

    // A trailing backslash doubles the separator; the system takes the path all the same.
    SetText("Software\\Brassmoor\\Launcher", "ModInstallPath", folder + "\\Launcher\\");
    EXPECT_EQ(FindTitlesFile(), folder + "\\Launcher\\\\voltara\\titles.txt");

    // A hidden titles file is no titles file.
    SetFileAttributesA((games / "Launcher\\voltara\\titles.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(FindTitlesFile(), folder + "\\Skirmish\\voltara\\titles.txt");
}

#endif

} // namespace
} // namespace voltara
