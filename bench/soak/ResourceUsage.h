#pragma once

#include "platform/win32/WinApi.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What a process holds, for soak tests that run something many times and
// compare the first and the last sample. Wine leaves some of the usual
// counters unimplemented; each count then comes from a stand-in measure that
// says where it came from, or is absent ("not available under Wine").
namespace ktv::soak {

struct Count {
    std::optional<unsigned long> value;
    std::string source;  // how it was measured, or why it could not be
};

struct ResourceSample {
    Count handles;
    Count gdiObjects;
    Count userObjects;
    std::size_t privateBytes = 0;  // PagefileUsage
    std::size_t workingSet = 0;
};

// Samples the process with this ID. GDI objects of another process cannot be
// counted under Wine; those of this process can.
ResourceSample SampleProcess(DWORD processId);

// One figure's first and last value and its allowed growth.
struct Growth {
    const char* name;
    std::optional<unsigned long long> first;
    std::optional<unsigned long long> last;
    std::optional<unsigned long long> bound;  // none: printed, not checked
    std::string source;

    bool Exceeded() const { return bound && first && last && *last > *first + *bound; }
};

// The figures a soak compares, with the bounds: 10 GDI or USER objects, 20
// kernel handles, 8 MB of private memory. The working set is printed but not
// bounded: it follows the system's paging, not the program's leaks.
std::vector<Growth> CompareSamples(const ResourceSample& first, const ResourceSample& last);

// "name: first -> last (source)" lines, one per figure.
std::string Describe(const std::vector<Growth>& figures);

// A positive count from the environment, or `fallback` when unset or invalid.
int CountFromEnvironment(const char* name, int fallback);

}  // namespace ktv::soak
