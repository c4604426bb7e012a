#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/doubles/Fakes.h"
#include "platform/doubles/MemoryFileSystem.h"
#include "scenario/AnsiCodePage.h"

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
    std::string timeout = "?";
    std::string log = "";
    std::string reboot = "?";
    std::string input = "?";
    std::string shown = "";  // the accepted switches, as the main window shows them; "/nostat" comes first
    std::string run = "";    // the one scenario of a direct run
};

TEST(CommandLineTest, SwitchesAndTheirQuirks) {
    const Case cases[] = {
        // Lines shorter than seven characters are ignored.
        {.line = ""},
        {.line = "  /add C  "},
        {.line = "/nosta"},
        // "/nostat" must stand as a word.
        {.line = "/NoStat", .shown = "/nostat"},
        {.line = "/nostatx"},
        {.line = "x/nostat"},
        {.line = "/nostatx /nostat"},
        // One digit; 3 to 9 store the slowest speed without naming the switch; no digit stores nothing.
        {.line = "/speed=7", .speed = "2"},
        {.line = "/nostat /SPEED=", .shown = "/nostat"},
        // The switch and one character are cut out of the line; what is left shows in the /add folder.
        {.line = "/add C:\\S/SPEED=12", .speed = "1", .folder = "C:\\S2", .shown = " /speed/add"},
        {.line = "/add C:\\T/speed=a", .folder = "C:\\T", .shown = "/add"},
        {.line = "/add C:\\U/speed=Ж", .folder = "C:\\U", .shown = "/add"},
        // Minutes, at most four digits, capped at a day; 0 turns the limit off; no digit stores nothing.
        {.line = "/timeout=15 /nostat", .timeout = "15", .shown = "/nostat /timeout"},
        {.line = "/TIMEOUT=0 /nostat", .timeout = "0", .shown = "/nostat /timeout"},
        {.line = "/timeout=99999", .timeout = "1440", .shown = " /timeout"},
        {.line = "/nostat /timeout=x", .shown = "/nostat"},
        {.line = "/add C:\\T/timeout=30", .folder = "C:\\T", .timeout = "30", .shown = " /timeout/add"},
        // /add stores the folder, or the file's folder, in upper case; the whole rest of the line is the
        // path, as the shell passes it unquoted.
        {.line = "/add C:\\Setups\\one.scn", .folder = "C:\\SETUPS", .shown = "/add"},
        {.line = "/ADD \"C:\\My Setups\"", .folder = "C:\\MY SETUPS", .shown = "/add"},
        {.line = "/add C:\\My Setups\\one.scn", .folder = "C:\\MY SETUPS", .shown = "/add"},
        {.line = "/add %TEMP%\\packs", .folder = "C:\\TEMP\\PACKS", .shown = "/add"},
        {.line = "/add C:\\установки", .folder = "C:\\УСТАНОВКИ", .shown = "/add"},
        {.line = "/add C:\\Nowhere\\x.scn", .shown = "/add"},
        {.line = "/add relative.scn", .shown = "/add"},  // a relative file has no folder to store
        {.line = "/add C:\\Setups /nostat /SPEED=1",
         .speed = "1",
         .folder = "C:\\SETUPS",
         .shown = "/nostat /speed/add"},
        {.line = "/nostat /speed=0 /add C:\\My Setups",
         .speed = "0",
         .folder = "C:\\MY SETUPS",
         .shown = "/nostat /speed/add"},
        // /inst runs exactly the file it checked, quoted or up to the next blank or slash.
        {.line = "/inst \"C:\\My Setups\\one.scn\"", .run = "C:\\MY SETUPS\\ONE.SCN"},
        {.line = "/nostat /inst C:\\Setups\\one.scn/x", .shown = "/nostat", .run = "C:\\SETUPS\\ONE.SCN"},
        {.line = "/add C:\\Setups /inst C:\\Setups\\one.scn", .shown = "/add", .run = "C:\\SETUPS\\ONE.SCN"},
        {.line = "/inst C:\\My Setups\\one.scn", .run = "C:\\MY"},  // what it cannot play fails its run
        {.line = "/inst C:\\Setups\\two.txt", .run = "C:\\SETUPS\\TWO.TXT"},
        {.line = "/inst C:\\Setups\\dir.scn", .run = "C:\\SETUPS\\DIR.SCN"},
        {.line = "/inst\"C:\\Nowhere\"", .run = "C:\\NOWHERE"},
        {.line = "/inst \"C:\\Setups\\one.scn", .run = "\"C:\\SETUPS\\ONE.SCN"},
        {.line = "/inst \"\" C:\\Setups\\one.scn", .run = "\"\" C:\\SETUPS\\ONE.SCN"},
        {.line = "/instC:\\Setups\\missing.scn"},  // not a word
        {.line = "/inst      "},
        {.line = "/installer x"},
        // The report's path keeps its letter case and blanks when quoted, its variables are expanded, and the
        // rest of the line still works.
        {.line = "/nostat /LOG=\"D:\\Отчёты\\Run One.txt\" /inst \"C:\\My Setups\\one.scn\"",
         .log = "D:\\Отчёты\\Run One.txt",
         .shown = "/nostat /log",
         .run = "C:\\MY SETUPS\\ONE.SCN"},
        {.line = "/inst C:\\Setups\\one.scn /log=\\\\server\\logs\\%ComputerName%.txt",
         .log = "\\\\server\\logs\\PC-01.txt",
         .shown = " /log",
         .run = "C:\\SETUPS\\ONE.SCN"},
        {.line = "/add C:\\Setups /log=", .folder = "C:\\SETUPS", .shown = "/add"},
        {.line = "/REBOOT /inst C:\\Setups\\one.scn",
         .reboot = "1",
         .shown = " /reboot",
         .run = "C:\\SETUPS\\ONE.SCN"},
        {.line = "/nostat /reboot=0", .reboot = "0", .shown = "/nostat /reboot"},
        // How presses go: one of three words in any case; another word stores nothing, and the line goes on.
        {.line = "/input=messages /inst C:\\Setups\\one.scn",
         .input = "MESSAGES",
         .shown = " /input",
         .run = "C:\\SETUPS\\ONE.SCN"},
        {.line = "/nostat /INPUT=Mouse", .input = "MOUSE", .shown = "/nostat /input"},
        {.line = "/add C:\\T/input=auto", .folder = "C:\\T", .input = "AUTO", .shown = " /input/add"},
        {.line = "/nostat /input=keyboard /timeout=5", .timeout = "5", .shown = "/nostat /timeout"},
        {.line = "/nostat /input=", .shown = "/nostat"},
    };
    for (const Case& c : cases) {
        Machine machine;
        machine.Parse(c.line);
        EXPECT_EQ(machine.settings.Get("Install", "Speed", "?"), c.speed) << c.line;
        EXPECT_EQ(machine.settings.Get("Path", "FolderSCN", "?"), c.folder) << c.line;
        EXPECT_EQ(machine.settings.Get("Install", "Timeout", "?"), c.timeout) << c.line;
        EXPECT_EQ(machine.settings.Get("Install", "Reboot", "?"), c.reboot) << c.line;
        EXPECT_EQ(machine.settings.Get("Install", "Input", "?"), c.input) << c.line;
        EXPECT_EQ(machine.state.acceptedSwitches, c.shown) << c.line;
        EXPECT_EQ(machine.state.noStatistics, c.shown.starts_with("/nostat")) << c.line;
        EXPECT_EQ(machine.state.reportLog, c.log) << c.line;
        const bool direct = !c.run.empty();
        EXPECT_EQ(machine.state.directRun, direct) << c.line;
        EXPECT_EQ(machine.state.currentScenario, c.run) << c.line;
        EXPECT_EQ(machine.state.runList, std::vector<std::string>(direct ? 1 : 0, c.run)) << c.line;
        // The language is loaded once, after the direct run is decided, so its missing file is not reported.
        EXPECT_EQ(machine.languageLoads, direct ? 1 : 0) << c.line;
        EXPECT_EQ(machine.directRunAtLoad, direct) << c.line;
    }
}

TEST(CommandLineTest, ResumeWinsOverInstAndAFolderPlaysInTheOrderOfItsPositionList) {
    Machine resume;
    resume.Parse("/resume /inst C:\\Setups\\one.scn");
    EXPECT_TRUE(resume.state.resumeRun && resume.state.directRun);
    EXPECT_TRUE(resume.state.runList.empty()) << "the resume record says what is played";
    EXPECT_EQ(resume.languageLoads, 1);

    Machine folder;
    for (const char* name : {"a.scn", "B.SCN", "c.scn", "notes.txt"})
        folder.files.AddFile(std::string("C:\\S2\\") + name);
    folder.files.AddFile("C:\\S2\\Position.lst", "c\r\nB\r\n");
    const std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1252);
    const auto inFolder = [&](const std::string& path) {
        return FolderScenarioPaths(folder.files, *codec, path);
    };
    ParseCommandLine("/nostat /inst C:\\S2",
                     {folder.state, folder.settings, folder.files, folder.vars, {}, inFolder});
    EXPECT_EQ(folder.state.runList,
              (std::vector<std::string>{"C:\\S2\\c.SCN", "C:\\S2\\B.SCN", "C:\\S2\\a.SCN"}));
    EXPECT_EQ(folder.state.currentScenario, "C:\\S2\\c.SCN");
    EXPECT_TRUE(folder.state.directRun);
}

}  // namespace
}  // namespace velmora
