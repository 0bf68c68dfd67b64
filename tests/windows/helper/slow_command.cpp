// A pre-refresh command for the tests that runs until they let it end: it notes its start and end
// in a log file and waits, at most two minutes, until a flag file exists.
// Usage: slow_command.exe FLAG_FILE LOG_FILE
#include <windows.h>

namespace
{

void Note(const char* logPath, const char* line)
{
    const HANDLE log =
        CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(log, line, lstrlenA(line), &written, nullptr);
    CloseHandle(log);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    Note(argv[2], "start\n");
    for (int i = 0; i < 6000 && GetFileAttributesA(argv[1]) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(20);
    Note(argv[2], "end\n");
    return 0;
}
