#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace ktv::test_support {

// The full path of a program built beside the test executable.
std::string BesideTests(const std::string& fileName);

// A command line running the test writer (helpers/CaptureWriter.cpp) with the steps.
std::string WriterCommand(const std::string& steps);

// The full text of an edit box, also of another process's.
std::string EditText(HWND edit);

// Handles this thread's window messages until the condition holds or the time
// is up; returns the condition's last value.
bool PumpMessagesUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound);

}  // namespace ktv::test_support
