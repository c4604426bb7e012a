#pragma once
// A scenario folder in memory with everything a package list needs, for the package list's and the main
// window's tests.
#include "packages/PackageList.h"
#include "scenario/AnsiCodePage.h"
#include "tests/unit/TextDoubles.h"

namespace velmora {

struct PackageFolder : TextDoubles {
    static constexpr const char* kFolder = "C:\\Packages";

    // A recorded scenario whose installer is `installer`; the installer file itself exists when present.
    void AddPackage(const std::string& name, const std::string& description = "",
                    const std::string& installer = "C:\\Soft\\setup.exe", bool present = true) {
        ScenarioImage image(*codec, vars);
        image.NewImage(installer, description, 800, 600);
        StepState step{{}, {{kButtonLeft, kKindPress, 1, 1}}, "", false};
        image.AppendStep(step);
        image.AppendInstallerPath(installer);
        image.ScrambleImage();
        files.AddFile(std::string(kFolder) + "\\" + name + ".SCN", image.Bytes());
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
