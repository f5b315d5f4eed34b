#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace ktv {

// Captured output is read in pieces of at most this many bytes.
inline constexpr std::size_t kCaptureChunkBytes = 1023;

// A program running hidden whose standard output and standard error go into
// one pipe that only this object reads.
class CapturedProcess {
public:
    virtual ~CapturedProcess() = default;

    // Waits for the next piece of output and puts it into `chunk` (1 to
    // kCaptureChunkBytes bytes, zero bytes included). False once every writer
    // of the pipe has closed it (the program and whatever inherited its
    // output), when the read fails, or after Stop. One thread reads.
    virtual bool ReadChunk(std::string& chunk) = 0;

    // Safe from any thread while another one reads: ends the program when it
    // is still running; later reads return false. A read already waiting
    // returns false at once where the system can cancel it (Windows can, Wine
    // 8 cannot), else when the last writer is gone: ending the program closes
    // its writer, but a descendant that inherited the pipe may hold another.
    virtual void Stop() = 0;
};

// Runs programs with their output captured chunk by chunk. Kept apart from
// Processes because only the output capture window needs it.
class ProcessCapture {
public:
    virtual ~ProcessCapture() = default;

    // Starts the command line hidden, in the current directory, with standard
    // output and standard error joined into one pipe. Throws StartFailed when
    // the pipe or the program cannot be made; nothing stays open then.
    virtual std::unique_ptr<CapturedProcess> StartCaptured(const std::string& commandLine) = 0;
};

}  // namespace ktv
