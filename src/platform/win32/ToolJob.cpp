#include "platform/win32/ToolJob.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace ktv::win32 {
namespace {

// Ending processes is not instant; the stop waits this long for the last.
constexpr DWORD kEndBoundMs = 1000;
constexpr DWORD kEndPollMs = 10;

ULONGLONG CreationTime(HANDLE process) {
    FILETIME created{};
    FILETIME unused{};
    if (!::GetProcessTimes(process, &created, &unused, &unused, &unused)) {
        return 0;
    }
    return (ULONGLONG{created.dwHighDateTime} << 32) | created.dwLowDateTime;
}

struct Member {
    DWORD id;
    UniqueHandle process;
    ULONGLONG created;
};

// Ends the processes started from `root`, and from those, by parent ids: a
// process whose recorded parent id matches was started by it only when it
// was created after it, since ids are used again.
void EndDescendants(Member root) {
    std::vector<Member> tree;
    tree.push_back(std::move(root));
    std::vector<Member> ended;
    for (bool found = true; found;) {
        found = false;
        const UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) {
            return;
        }
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32First(snapshot.Get(), &entry); more;
             more = ::Process32Next(snapshot.Get(), &entry)) {
            const auto parent = std::find_if(tree.begin(), tree.end(), [&](const Member& m) {
                return m.id == entry.th32ParentProcessID;
            });
            const bool known = std::any_of(tree.begin(), tree.end(), [&](const Member& m) {
                return m.id == entry.th32ProcessID;
            });
            if (parent == tree.end() || known) {
                continue;
            }
            UniqueHandle child(
                ::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE,
                              FALSE, entry.th32ProcessID));
            const ULONGLONG created = child ? CreationTime(child.Get()) : 0;
            if (child && created >= parent->created) {
                ::TerminateProcess(child.Get(), 1);
                tree.push_back(Member{entry.th32ProcessID, std::move(child), created});
                found = true;
            }
        }
    }
    for (const Member& member : tree) {
        ::WaitForSingleObject(member.process.Get(), kEndBoundMs);
    }
}

}  // namespace

ToolJob::ToolJob() : job_(::CreateJobObjectA(nullptr, nullptr)) {
    if (!job_) {
        return;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits,
                                   sizeof limits)) {
        job_.Reset();
    }
}

bool ToolJob::Take(HANDLE process) {
    joined_ = job_ && ::AssignProcessToJobObject(job_.Get(), process) != FALSE;
    return joined_;
}

void ToolJob::EndAll(HANDLE tool, DWORD toolId) {
    if (!joined_) {
        // The tool first, so that it starts nothing more while its tree is
        // walked.
        ::TerminateProcess(tool, 1);
        EndDescendants(Member{toolId, UniqueHandle(), CreationTime(tool)});
        ::WaitForSingleObject(tool, kEndBoundMs);
        return;
    }
    ::TerminateJobObject(job_.Get(), 1);
    for (DWORD waited = 0; waited < kEndBoundMs; waited += kEndPollMs) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (!::QueryInformationJobObject(job_.Get(), JobObjectBasicAccountingInformation,
                                         &accounting, sizeof accounting, nullptr) ||
            accounting.ActiveProcesses == 0) {
            return;
        }
        ::Sleep(kEndPollMs);
    }
}

}  // namespace ktv::win32
