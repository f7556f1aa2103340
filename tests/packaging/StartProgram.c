/* Starts an installed or unpacked Windows program as a user would, in its own folder, and waits for its
 * window: StartProgram PROGRAM TITLE
 * Exits with 0 once a visible top-level window of the program has the title, the window was closed and the
 * program ended within ten seconds after; with 1 otherwise. The program runs in a job object, so nothing of
 * it outlives this process. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

struct Search {
    DWORD process;
    const char* title;
    HWND found;
};

static BOOL CALLBACK checkWindow(HWND window, LPARAM data) {
    struct Search* search = (struct Search*)data;
    DWORD owner = 0;
    char title[256] = "";
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window)) return TRUE;
    GetWindowTextA(window, title, sizeof title);
    if (strcmp(title, search->title) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: StartProgram PROGRAM TITLE\n");
        return 2;
    }
    char folder[MAX_PATH];
    char* name = NULL;
    if (GetFullPathNameA(argv[1], MAX_PATH, folder, &name) == 0 || name == NULL) {
        fprintf(stderr, "not a program path: %s\n", argv[1]);
        return 1;
    }
    char command[MAX_PATH + 3];
    snprintf(command, sizeof command, "\"%s\"", folder);
    *name = '\0'; /* the program's folder, where a user's shortcut starts it */

    HANDLE job = CreateJobObjectA(NULL, NULL);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {0};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    STARTUPINFOA startup = {0};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, folder, &startup,
                        &process)) {
        fprintf(stderr, "%s does not start (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);

    struct Search search = {process.dwProcessId, argv[2], NULL};
    for (int waited = 0; search.found == NULL && waited < 30000; waited += 50) {
        DWORD code = STILL_ACTIVE;
        if (GetExitCodeProcess(process.hProcess, &code) && code != STILL_ACTIVE) {
            fprintf(stderr, "%s ended with exit code %lu before showing its window\n", argv[1], code);
            return 1;
        }
        EnumWindows(checkWindow, (LPARAM)&search);
        if (search.found == NULL) Sleep(50);
    }
    if (search.found == NULL) {
        fprintf(stderr, "no window \"%s\" of %s within 30 seconds\n", argv[2], argv[1]);
        return 1;
    }
    printf("window \"%s\" found\n", argv[2]);
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        fprintf(stderr, "%s did not end within 10 seconds of closing its window\n", argv[1]);
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(job);
    return 0;
}
