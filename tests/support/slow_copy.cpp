// A run of the Windows program cut short, for the test that kills it mid-copy
// as a power cut or the task manager would: copies one file over another,
// slowly, until it is killed. Usage: slow_copy SOURCE DESTINATION

#include <windows.h>

#include <shellapi.h>

#include "backup/verified_copy.h"
#include "os/win32/win32_file_system.h"

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count != 3) return 2;
    const std::filesystem::path source = arguments[1], destination = arguments[2];
    ruror::win32::Win32FileSystem files(source.parent_path());
    ruror::copyVerified(files, source, destination, true, [](std::uint64_t, std::uint64_t) { Sleep(200); });
    return 0;
}
