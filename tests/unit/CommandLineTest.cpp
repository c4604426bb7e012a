#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"

namespace velmora {
namespace {

// A fresh machine for each line: the folders and files the lines below name, and settings that show whether
// anything was stored.
struct Machine {
    Machine() {
        for (const char* file :
             {"C:\\Setups\\one.scn", "C:\\My Setups\\one.scn", "C:\\Setups\\two.txt", "RELATIVE.SCN"})
            files.AddFile(file);
        for (const char* folder :
             {"C:\\S2", "C:\\T", "C:\\U", "C:\\TEMP\\PACKS", "C:\\УСТАНОВКИ", "C:\\Setups\\dir.scn"})
            files.AddFolder(folder);
        vars.Init(system, registry);
        settings.Save("Install", "Speed", "untouched");
        settings.Save("Path", "FolderSCN", "untouched");
    }
    void Parse(const std::string& line) {
        ParseCommandLine(line, CommandLineContext{state, settings, files, vars, [this] {
                                                      ++languageLoads;
                                                      directRunAtLoad = state.directRun;
                                                  }});
    }
    MemoryFileSystem files;
    FakeSystemInfo system;
    MemoryRegistry registry;
    MemorySettingsStore settings;
    SharedState state;
    PathVariables vars{files};
    int languageLoads = 0;
    bool directRunAtLoad = false;
};

struct Case {
    std::string line;
    std::string speed = "untouched";
    std::string folder = "untouched";
    std::string accepted = "";  // the switches the main window shows
    bool noStatistics = false;
    std::string directRun = "";  // the one scenario of a direct run
};

TEST(CommandLineTest, SwitchesAndTheirQuirks) {
    const Case cases[] = {
        // Lines shorter than seven characters are ignored.
        {.line = ""},
        {.line = "  /add C  "},
        {.line = "/nosta"},
        // "/nostat" must stand as a word.
        {.line = "/NoStat", .accepted = "/nostat", .noStatistics = true},
        {.line = "/nostatx"},
        {.line = "x/nostat"},
        {.line = "/nostatx /nostat"},
        // One digit; 3 to 9 store the slowest speed without naming the switch; anything else stores nothing.
        {.line = "/speed=1", .speed = "1", .accepted = " /speed"},
        {.line = "/speed=7", .speed = "2"},
        {.line = "/speed=a "},
        {.line = "/speed=Ж"},
        {.line = "/nostat /SPEED=", .accepted = "/nostat", .noStatistics = true},
        // The switch and one character are cut out of the line; what is left shows in the /add folder.
        {.line = "/add C:\\S/SPEED=12", .speed = "1", .folder = "C:\\S2", .accepted = " /speed/add"},
        {.line = "/add C:\\T/speed=a", .folder = "C:\\T", .accepted = "/add"},
        {.line = "/add C:\\U/speed=Ж", .folder = "C:\\U", .accepted = "/add"},
        // /add stores the folder, or the file's folder, in upper case; the whole rest of the line is the
        // path, as the shell passes it unquoted.
        {.line = "/add C:\\Setups\\one.scn", .folder = "C:\\SETUPS", .accepted = "/add"},
        {.line = "/ADD \"C:\\My Setups\"", .folder = "C:\\MY SETUPS", .accepted = "/add"},
        {.line = "/add C:\\My Setups\\one.scn", .folder = "C:\\MY SETUPS", .accepted = "/add"},
        {.line = "/add %TEMP%\\packs", .folder = "C:\\TEMP\\PACKS", .accepted = "/add"},
        {.line = "/add C:\\установки", .folder = "C:\\УСТАНОВКИ", .accepted = "/add"},
        {.line = "/add C:\\Nowhere\\x.scn", .accepted = "/add"},
        {.line = "/add relative.scn", .accepted = "/add"},  // a relative file has no folder to store
        {.line = "/add C:\\Setups /nostat /SPEED=1",
         .speed = "1",
         .folder = "C:\\SETUPS",
         .accepted = "/nostat /speed/add",
         .noStatistics = true},
        {.line = "/nostat /speed=0 /add C:\\My Setups",
         .speed = "0",
         .folder = "C:\\MY SETUPS",
         .accepted = "/nostat /speed/add",
         .noStatistics = true},
        // /inst runs exactly the file it checked, quoted or up to the next blank or slash.
        {.line = "/inst \"C:\\My Setups\\one.scn\"", .directRun = "C:\\MY SETUPS\\ONE.SCN"},
        {.line = "/nostat /inst C:\\Setups\\one.scn/x",
         .accepted = "/nostat",
         .noStatistics = true,
         .directRun = "C:\\SETUPS\\ONE.SCN"},
        {.line = "/add C:\\Setups /inst C:\\Setups\\one.scn",
         .accepted = "/add",
         .directRun = "C:\\SETUPS\\ONE.SCN"},
        {.line = "/inst C:\\My Setups\\one.scn"},
        {.line = "/inst C:\\Setups\\missing.scn"},
        {.line = "/inst C:\\Setups\\two.txt"},
        {.line = "/inst \"C:\\Setups\\one.scn"},
        {.line = "/inst C:\\Setups\\dir.scn"},
        {.line = "/inst \"\" C:\\Setups\\one.scn"},
        {.line = "/inst      "},
        {.line = "/installer x"},
    };
    for (const Case& c : cases) {
        Machine machine;
        machine.Parse(c.line);
        EXPECT_EQ(machine.settings.Get("Install", "Speed", "?"), c.speed) << c.line;
        EXPECT_EQ(machine.settings.Get("Path", "FolderSCN", "?"), c.folder) << c.line;
        EXPECT_EQ(machine.state.acceptedSwitches, c.accepted) << c.line;
        EXPECT_EQ(machine.state.noStatistics, c.noStatistics) << c.line;
        const bool direct = !c.directRun.empty();
        EXPECT_EQ(machine.state.directRun, direct) << c.line;
        EXPECT_EQ(machine.state.currentScenario, c.directRun) << c.line;
        EXPECT_EQ(machine.state.runList,
                  direct ? std::vector<std::string>{c.directRun} : std::vector<std::string>{})
            << c.line;
        // The language is loaded once, after the direct run is decided, so its missing file is not reported.
        EXPECT_EQ(machine.languageLoads, direct ? 1 : 0) << c.line;
        EXPECT_EQ(machine.directRunAtLoad, direct) << c.line;
    }
}

}  // namespace
}  // namespace velmora
