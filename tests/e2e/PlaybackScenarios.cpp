#include "tests/e2e/PlaybackScenarios.h"

#include <sstream>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"

namespace velmora::e2e {

namespace {

// A text in the scenario text form: quoted, with backslashes and quotes escaped.
std::wstring Quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"')
            out += L'\\';
        out += c;
    }
    return out + L"\"";
}

}  // namespace

std::wstring FixtureWizardPath() {
    return VelmoraFolder() + L"\\tests\\fixtures\\FixtureWizard.exe";
}

std::wstring NsisInstallerPath() {
    return VelmoraFolder() + L"\\tests\\fixtures\\FixtureProductSetup.exe";
}

std::wstring BuildScenario(const TempFolder& folder, const std::wstring& name,
                           const std::vector<Click>& clicks, const std::wstring& installer,
                           const std::wstring& commandLine) {
    std::wostringstream out;
    out << L"format 1\ncodepage 1252\nscreen 1280 1024\nversion 1 2\ndescription \"written by a test\"\n";
    int number = 0;
    for (const Click& click : clicks) {
        out << L"\nstep " << ++number << L"\n";
        for (const Link& link : click.chain)
            out << L"  window " << Quoted(link.className) << L" " << Quoted(link.caption) << L" "
                << link.matchIndex << L"\n";
        out << L"  event left press " << click.x << L" " << click.y << L"\n  event left release 0 0\n";
        if (click.text)
            out << L"  text " << Quoted(*click.text) << L"\n";
    }
    out << L"\ninstaller " << Quoted(installer) << L"\ncommandline " << Quoted(commandLine) << L"\n";
    const std::wstring scnPath = folder.WidePath() + L"\\" + name + L".SCN";
    return BuildScenarioFile(WideToUtf8(out.str()), scnPath) ? scnPath : L"";
}

Click FixtureClick(std::vector<Link> below, int x, int y, std::optional<std::wstring> text) {
    below.insert(below.begin(), Link{L"VelmoraFixtureWizard", L"Fixture Setup", 1});
    return Click{below, x, y, std::move(text)};
}

std::wstring WaitingScenario(const TempFolder& folder, const std::wstring& name) {
    return BuildScenario(
        folder, name,
        {Click{{{L"VelmoraFixtureWizard", L"Fixture Update", 1}, {L"Button", L"Next >", 1}}, 20, 10, {}}},
        FixtureWizardPath(), L"\"" + folder.WidePath() + L"\\result.txt\"");
}

std::vector<Click> NsisClicks(const std::wstring& target) {
    auto nsis = [](const std::wstring& caption, std::vector<Link> below, int x = 30, int y = 10,
                   std::optional<std::wstring> text = {}) {
        below.insert(below.begin(), Link{L"#32770", caption, 1});
        return Click{below, x, y, std::move(text)};
    };
    // The pages after the welcome page carry a blank after the product's caption.
    return {
        nsis(L"Fixture Product Setup", {{L"Button", L"&Next >", 1}}),
        nsis(L"Fixture Product Setup ", {{L"Button", L"I &Agree", 1}}),
        nsis(L"Fixture Product Setup ", {{L"#32770", L"", 1}, {L"Edit", L"", 1}}, 60, 8, target),
        nsis(L"Fixture Product Setup ", {{L"Button", L"&Install", 1}}),
        nsis(L"Fixture Product Setup ", {{L"Button", L"&Finish", 1}}),
    };
}

std::string ReadLog(const std::wstring& path) {
    std::string log = Win32FileSystem{}.ReadAll(WideToUtf8(path)).value_or("");
    std::erase(log, '\r');
    log.insert(log.begin(), '\n');
    return log;
}

std::size_t Find(const std::string& log, const std::string& prefix, std::size_t from) {
    return log.find("\n" + prefix, from);
}

}  // namespace velmora::e2e
