#include "ResourceUsage.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdlib>
#include <memory>

#include "platform/win32/Handles.h"

namespace ktv::soak {
namespace {

constexpr unsigned long kObjectBound = 10;
constexpr unsigned long kHandleBound = 20;
constexpr unsigned long long kMemoryBound = 8ull * 1024 * 1024;
constexpr ULONG kSystemProcessInformation = 5;

using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// Wine's GetProcessHandleCount succeeds with 0; the system's process list
// carries the real count.
Count HandleCountFromProcessList(DWORD processId) {
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return {std::nullopt, "not available (no NtQuerySystemInformation)"};
    }
    ULONG size = 1 << 20;
    for (int attempt = 0; attempt < 4; ++attempt, size *= 2) {
        auto buffer = std::make_unique<unsigned char[]>(size);
        ULONG needed = 0;
        const LONG status = query(kSystemProcessInformation, buffer.get(), size, &needed);
        if (status != 0) {
            continue;  // most likely too small: try a larger buffer
        }
        for (ULONG offset = 0;;) {
            const auto* entry =
                reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.get() + offset);
            if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)) ==
                processId) {
                return {entry->HandleCount, "NtQuerySystemInformation"};
            }
            if (entry->NextEntryOffset == 0) {
                return {std::nullopt, "not available (process not listed)"};
            }
            offset += entry->NextEntryOffset;
        }
    }
    return {std::nullopt, "not available (NtQuerySystemInformation failed)"};
}

Count HandleCount(HANDLE process, DWORD processId) {
    DWORD count = 0;
    if (::GetProcessHandleCount(process, &count) && count != 0) {
        return {count, "GetProcessHandleCount"};
    }
    Count listed = HandleCountFromProcessList(processId);
    if (!listed.value) {
        listed.source = "not available under Wine: GetProcessHandleCount gives 0, " + listed.source;
    }
    return listed;
}

// Wine finds a GDI object by the low word of its handle alone, so this
// process's objects can be counted by probing every low word.
unsigned long CountOwnGdiObjects() {
    unsigned long count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) {
            ++count;
        }
    }
    return count;
}

struct WindowCount {
    DWORD processId;
    unsigned long count = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM context) {
    ++reinterpret_cast<WindowCount*>(context)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
    auto* windows = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == windows->processId) {
        ++windows->count;
        ::EnumChildWindows(window, &CountChild, context);
    }
    return TRUE;
}

// Windows are the USER objects a program makes most; a leaked one shows here.
unsigned long CountWindows(DWORD processId) {
    WindowCount windows{processId};
    ::EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows.count;
}

Count GuiObjects(HANDLE process, DWORD processId, DWORD kind) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD count = ::GetGuiResources(process, kind);
    if (count != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        return {count, "GetGuiResources"};
    }
    if (kind == GR_USEROBJECTS) {
        return {CountWindows(processId), "windows counted (GetGuiResources not available)"};
    }
    if (processId == ::GetCurrentProcessId()) {
        return {CountOwnGdiObjects(), "handle table probed (GetGuiResources not available)"};
    }
    return {std::nullopt, "not available under Wine (GetGuiResources not implemented)"};
}

std::optional<unsigned long long> Widen(const std::optional<unsigned long>& value) {
    if (!value) {
        return std::nullopt;
    }
    return *value;
}

std::string Figure(const std::optional<unsigned long long>& value) {
    return value ? std::to_string(*value) : std::string("-");
}

}  // namespace

ResourceSample SampleProcess(DWORD processId) {
    win32::UniqueHandle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    ResourceSample sample;
    if (!process) {
        const std::string reason = "not available (cannot open the process)";
        sample.handles.source = sample.gdiObjects.source = sample.userObjects.source = reason;
        return sample;
    }
    sample.handles = HandleCount(process.Get(), processId);
    sample.gdiObjects = GuiObjects(process.Get(), processId, GR_GDIOBJECTS);
    sample.userObjects = GuiObjects(process.Get(), processId, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(process.Get(), &memory, sizeof(memory))) {
        sample.privateBytes = memory.PagefileUsage;
        sample.workingSet = memory.WorkingSetSize;
    }
    return sample;
}

std::vector<Growth> CompareSamples(const ResourceSample& first, const ResourceSample& last) {
    return {
        {"kernel handles", Widen(first.handles.value), Widen(last.handles.value), kHandleBound,
         last.handles.source},
        {"GDI objects", Widen(first.gdiObjects.value), Widen(last.gdiObjects.value), kObjectBound,
         last.gdiObjects.source},
        {"USER objects", Widen(first.userObjects.value), Widen(last.userObjects.value),
         kObjectBound, last.userObjects.source},
        {"private bytes", first.privateBytes, last.privateBytes, kMemoryBound,
         "GetProcessMemoryInfo PagefileUsage"},
        {"working set bytes", first.workingSet, last.workingSet, std::nullopt,
         "GetProcessMemoryInfo WorkingSetSize, not bounded"},
    };
}

std::string Describe(const std::vector<Growth>& figures) {
    std::string text;
    for (const Growth& figure : figures) {
        text += std::string("  ") + figure.name + ": first " + Figure(figure.first) + ", last " +
                Figure(figure.last) + " (" + figure.source + ")\n";
    }
    return text;
}

int CountFromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr) {
        return fallback;
    }
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value > 0 && value <= 100000 ? static_cast<int>(value)
                                                                       : fallback;
}

}  // namespace ktv::soak
