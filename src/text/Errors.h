#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ktv {

// Every failure the program raises is one of these. Each stretch of a routine
// that reports one message on failure catches ktv::Error (and std::exception
// for the unexpected) at its end; nothing escapes a window procedure.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A routine was handed an argument it cannot work with (GetBaseName on a name
// without an extension, a key text that does not parse).
class InvalidArgument : public Error {
public:
    using Error::Error;
};

// A program could not be started: missing, not an executable, refused.
class StartFailed : public Error {
public:
    using Error::Error;
};

// No window answers to the title or task id that was asked for.
class WindowNotFound : public Error {
public:
    using Error::Error;
};

// A file or folder could not be read, written, replaced or deleted.
class FileError : public Error {
public:
    using Error::Error;
};

// A file's content does not have the shape its reader needs.
class FormatError : public Error {
public:
    using Error::Error;
};

// A build was stopped at the user's request. It is no failure: it passes
// through ReportingFailure to the run's top, which finishes the run quietly.
class RunStopped : public Error {
public:
    RunStopped() : Error("The Debug run was stopped.") {}
};

// Runs a step whose failure must not stop what follows (the finish of a run,
// the courtesy steps around an editor). False when it failed.
template <typename Step>
bool IgnoringFailure(Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

// Runs a step and hands the reason of any failure (the exception's text, or
// "unknown failure") to `report`, which tells the user. False when it failed.
// A stop is no failure and goes on to the caller.
template <typename Step, typename Report>
bool ReportingFailure(Step&& step, Report&& report) {
    try {
        step();
        return true;
    } catch (const RunStopped&) {
        throw;
    } catch (const std::exception& failure) {
        report(std::string_view(failure.what()));
    } catch (...) {
        report(std::string_view("unknown failure"));
    }
    return false;
}

}  // namespace ktv
