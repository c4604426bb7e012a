#pragma once
// Scenarios the playback tests write in the scenario text form and build with scntool: clicks on the fixture
// wizard and on the NSIS fixture installer, and what the fixture wizard logs.
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace velmora::e2e {

struct Link {
    std::wstring className;
    std::wstring caption;
    int matchIndex;
};

// One click: press at (x, y) in the target's client area and release where it was pressed, then the text.
struct Click {
    std::vector<Link> chain;
    int x = 10;
    int y = 10;
    std::optional<std::wstring> text;
};

std::wstring FixtureWizardPath();
std::wstring NsisInstallerPath();

// Writes the clicks as a scenario and builds the scenario file <folder>\<name>.SCN from it; the file's path,
// empty on failure. The name is the package name the panel and the statistics show.
std::wstring BuildScenario(const TempFolder& folder, const std::wstring& name,
                           const std::vector<Click>& clicks, const std::wstring& installer,
                           const std::wstring& commandLine);

// A click on a window below the fixture wizard's frame, typing the text when there is one.
Click FixtureClick(std::vector<Link> below, int x = 20, int y = 10, std::optional<std::wstring> text = {});
// A scenario that waits for a window the fixture wizard never shows: its caption differs from the wizard's in
// a word, so the wizard's own Next button must never be pressed. The wizard logs to result.txt.
std::wstring WaitingScenario(const TempFolder& folder, const std::wstring& name);
// The clicks through the NSIS fixture installer, typing the target folder on its directory page.
std::vector<Click> NsisClicks(const std::wstring& target);

// The fixture wizard's log with a line feed before each line, so "\n" + prefix finds a line by its start.
std::string ReadLog(const std::wstring& path);
// Where the first line that starts with the prefix is, at or after `from`; npos when there is none.
std::size_t Find(const std::string& log, const std::string& prefix, std::size_t from = 0);

}  // namespace velmora::e2e
