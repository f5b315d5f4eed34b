#pragma once

#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace ktv {

// The outside world as the program's behaviour sees it. Handed down by
// reference; the program owns the real implementations, tests own fakes.
struct Platform {
    Processes& processes;
    Desktop& desktop;
    FileSystem& files;
    Registry& registry;
    SystemInfo& system;
};

}  // namespace ktv
