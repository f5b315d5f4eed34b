/* Runs a command line without an administrator's token, waits for it and
 * exits with its exit code:
 *   without_admin.exe COMMAND LINE...
 * Wine gives every process an elevated administrator's token, linked (as on
 * Windows with UAC) to a filtered one without the Administrators group's
 * rights; the command runs with that filtered token, as a program started by
 * a user with UAC on does. Exits with 125 when that cannot be done. */
#include <windows.h>
#include <stdio.h>

int main(void) {
    /* The command line after this program's own name, as it was given. */
    const wchar_t* line = GetCommandLineW();
    int quoted = 0;
    while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
        if (*line == L'"') quoted = !quoted;
        ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    if (!*line) {
        fputs("usage: without_admin.exe COMMAND LINE...\n", stderr);
        return 125;
    }

    HANDLE token = NULL, primary = NULL;
    TOKEN_LINKED_TOKEN linked = {0};
    TOKEN_ELEVATION_TYPE type = 0;
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) ||
        !GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size) ||
        !GetTokenInformation(linked.LinkedToken, TokenElevationType, &type, sizeof type, &size) ||
        type != TokenElevationTypeLimited ||
        !DuplicateTokenEx(linked.LinkedToken, TOKEN_ALL_ACCESS, NULL, SecurityImpersonation,
                          TokenPrimary, &primary)) {
        fprintf(stderr, "without_admin.exe: no filtered token to run with (error %lu)\n",
                GetLastError());
        return 125;
    }

    wchar_t* command = _wcsdup(line);
    STARTUPINFOW startup = {0};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessAsUserW(primary, NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                              &process)) {
        fprintf(stderr, "without_admin.exe: cannot start %ls (error %lu)\n", line, GetLastError());
        return 125;
    }
    DWORD code = 125;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    return (int)code;
}
