#include "Transcript.h"

namespace ktv::fakes {

std::vector<std::string> Transcript::Only(std::initializer_list<std::string_view> prefixes) const {
    std::vector<std::string> out;
    for (const std::string& entry : entries_) {
        for (std::string_view prefix : prefixes) {
            if (std::string_view(entry).substr(0, prefix.size()) == prefix) {
                out.push_back(entry);
                break;
            }
        }
    }
    return out;
}

std::vector<std::string> Transcript::Folded() const {
    std::vector<std::string> out;
    int run = 0;
    auto flush = [&] {
        if (run > 0) {
            out.push_back(run == 1 ? "do-events" : "do-events x" + std::to_string(run));
            run = 0;
        }
    };
    for (const std::string& entry : entries_) {
        if (entry == "do-events") {
            ++run;
            continue;
        }
        flush();
        out.push_back(entry);
    }
    flush();
    return out;
}

}  // namespace ktv::fakes
