#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ktv::fakes {

// Every platform call the fakes receive, in order, as one line of text each,
// so that a test compares a whole sequence in one assertion.
class Transcript {
public:
    void Add(std::string entry) { entries_.push_back(std::move(entry)); }
    const std::vector<std::string>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

    // The entries that begin with one of the prefixes, in order.
    std::vector<std::string> Only(std::initializer_list<std::string_view> prefixes) const;

    // The entries with runs of "do-events" folded into "do-events xN".
    std::vector<std::string> Folded() const;

private:
    std::vector<std::string> entries_;
};

}  // namespace ktv::fakes
