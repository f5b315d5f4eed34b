// Stand-in for LCC's resource compiler (test and demo equipment).
// lrc "<folder>\<base>"      compiles <base>.rc, when it exists, into <base>.res;
// lrc "<folder>\<base>.dlg"  compiles <base>.dlg, when it exists, into <base>.res.

#include <string>

#include "StandinCommon.h"

using namespace ktv::standins;

int main() {
    AppendCallLog("lrc");
    const Scenario scenario = Scenario::Load();
    if (!StartTool(scenario, "lrc")) {
        return 0;
    }
    const std::vector<std::string> arguments = Arguments();
    const std::string given = arguments.size() > 1 ? arguments[1] : std::string();
    const bool dialog = Upper(given).ends_with(".DLG");
    const std::string source = dialog ? given : given + ".rc";
    const std::string baseName = dialog ? StripExtension(FileNameOf(given)) : FileNameOf(given);
    const std::string resource = FolderOf(given) + "\\" + baseName + ".res";

    const bool make = scenario.Flag("lrc.always_res") || FileExists(source);
    if (make && !scenario.Flag("lrc.no_res")) {
        WriteWholeFile(resource, "RES stand-in: compiled from " + FileNameOf(source) + "\r\n");
    }
    return Finish(scenario, "lrc");
}
