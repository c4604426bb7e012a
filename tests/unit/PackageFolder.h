#pragma once
// A scenario folder in memory with everything a package list needs, for the package list's and the main
// window's tests.
#include "packages/PackageList.h"
#include "scenario/AnsiCodePage.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {

struct PackageFolder : TextDoubles {
    static constexpr const char* kFolder = "C:\\Packages";

    static std::string Path(const std::string& name) { return std::string(kFolder) + "\\" + name + ".SCN"; }
    // A recorded scenario whose installer, started with the command line, is `installer`; the installer file
    // itself exists when present.
    void AddPackage(const std::string& name, const std::string& description = "",
                    const std::string& installer = "C:\\Soft\\setup.exe", bool present = true,
                    const std::string& commandLine = "") {
        ScenarioImage image(*codec, vars);
        image.NewImage(installer, description, 800, 600);
        StepState step{{}, {{kButtonLeft, kKindPress, 1, 1}}, "", false};
        image.AppendStep(step);
        image.AppendInstallerPath(installer);
        image.AppendCommandLine(commandLine);
        image.ScrambleImage();
        files.AddFile(Path(name), image.Bytes());
        if (present)
            files.AddFile(vars.ExpandPathVars(installer));
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> names;
        for (const PackageItem& item : list.items)
            names.push_back(item.name);
        return names;
    }

    std::unique_ptr<SingleByteCodec> codec = SingleByteCodec::Create(1251);
    PathVariables vars{files};
    PackageList list{{files, *codec, language, vars}};
};

}  // namespace velmora
