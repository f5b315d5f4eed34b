#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Shared parts of the stand-ins for the outside programs (test and demo
// equipment): the call log, the scenario file and small file helpers.
namespace ktv::standins {

// "scenario.txt" in the working directory: key=value lines, read in order.
class Scenario {
public:
    static Scenario Load();

    // The last value of the key, or nullopt.
    std::optional<std::string> Get(std::string_view key) const;
    // True when the key's last value is "1", "true" or "yes".
    bool Flag(std::string_view key) const;
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// Appends "<program>|<working directory>|<raw command line>" to standins.log
// in the working directory.
void AppendCallLog(std::string_view program);

// The command line split into arguments; double quotes group and are dropped.
std::vector<std::string> Arguments();

// What every tool does first, once its call is logged: with
// "<program>.helper=1" it starts a copy of itself that only waits (its call
// line ends in " --helper"), as a tool that starts a helper process of its
// own; with "<program>.hang_ms" it then waits that long before doing
// anything, as a tool that hangs. False in the helper, which has waited
// ("<program>.helper_ms", two minutes at most) and ends.
bool StartTool(const Scenario& scenario, std::string_view program);

// Sleeps for "<program>.sleep_ms" and returns "<program>.exit_code" (0 when
// absent): the common end of every stand-in.
int Finish(const Scenario& scenario, std::string_view program);

std::optional<std::string> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, std::string_view bytes);
bool FileExists(const std::string& path);

// Splits text into lines at CR LF, a lone CR or a lone LF.
std::vector<std::string> SplitLines(std::string_view text);

// Path pieces, for Windows paths ("\" or "/" separate folders).
std::string FolderOf(const std::string& path);    // "." when there is no folder
std::string FileNameOf(const std::string& path);  // the part after the last separator
std::string StripExtension(const std::string& name);

// The folder and the file name of the running stand-in's executable.
std::string OwnFolder();
std::string OwnFileName();

std::string Trim(std::string_view text);
std::string Upper(std::string_view text);

}  // namespace ktv::standins
