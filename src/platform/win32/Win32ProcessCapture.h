#pragma once

#include "platform/ProcessCapture.h"

namespace ktv::win32 {

// Child processes started hidden with CreateProcessA, their standard output
// and standard error joined into one anonymous pipe.
class Win32ProcessCapture : public ProcessCapture {
public:
    std::unique_ptr<CapturedProcess> StartCaptured(const std::string& commandLine) override;
};

}  // namespace ktv::win32
