// Draws the program's icons and bitmaps and writes them into the folder named on the command line, so the
// pictures in the resource script always come from this source.
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Drawings.h"
#include "ImageFiles.h"

namespace {

std::string Icon(art::Canvas (*draw)(int)) {
    return art::IconFile({draw(16), draw(32), draw(48)});
}

struct Output {
    const char* name;
    std::function<std::string()> make;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    using art::Chevron;
    using art::PanelSymbol;
    const std::vector<Output> outputs = {
        {"notice.ico", [] { return Icon(art::NoticeIcon); }},
        {"wizard.ico", [] { return Icon(art::WizardIcon); }},
        {"statistics.ico", [] { return Icon(art::StatisticsIcon); }},
        {"logo.ico", [] { return Icon(art::LogoIcon); }},
        {"move-down.bmp", [] { return art::BitmapFile(art::MoveBitmap(Chevron::Down)); }},
        {"move-up.bmp", [] { return art::BitmapFile(art::MoveBitmap(Chevron::Up)); }},
        {"panel-play.bmp", [] { return art::BitmapFile(art::PanelButtonBitmap(PanelSymbol::Play)); }},
        {"panel-pause.bmp", [] { return art::BitmapFile(art::PanelButtonBitmap(PanelSymbol::Pause)); }},
        {"panel-stop.bmp", [] { return art::BitmapFile(art::PanelButtonBitmap(PanelSymbol::Stop)); }},
        {"panel-next.bmp", [] { return art::BitmapFile(art::PanelButtonBitmap(PanelSymbol::Next)); }},
    };
    for (const Output& o : outputs) {
        const std::string path = std::string(argv[1]) + "/" + o.name;
        const std::string bytes = o.make();
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
