#pragma once

#include <string>

namespace ktv {

// The names one press of Debug derives from the Basic file's path. They belong
// to the main window: empty at start, overwritten by each run whose derivation
// succeeds, otherwise keeping the last values.
struct BuildRun {
    std::string folder;    // without a final "\"
    std::string baseName;  // no folder, no extension
    std::string fileName;  // name with extension
};

}  // namespace ktv
