// The program the linker stand-in "links" (test and demo equipment): a small
// console program that greets and shows its arguments.

#include <cstdio>
#include <string>

#include "StandinCommon.h"

using namespace ktv::standins;

int main() {
    AppendCallLog("builtprog");
    const Scenario scenario = Scenario::Load();
    std::printf("Hello from %s\n", OwnFileName().c_str());
    const std::vector<std::string> arguments = Arguments();
    std::printf("Arguments (%u):", static_cast<unsigned>(arguments.size() - 1));
    for (size_t index = 1; index < arguments.size(); ++index) {
        std::printf(" [%s]", arguments[index].c_str());
    }
    std::printf("\n");
    std::fflush(stdout);
    return Finish(scenario, "builtprog");
}
