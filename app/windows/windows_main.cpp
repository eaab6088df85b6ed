// The Windows program: the window, its handlers and the Windows file system.

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "main_window/principal.h"
#include "os/win32/win32_file_system.h"
#include "os/win32/windows_clock.h"
#include "ui/win32/principal_window.h"
#include "ui/win32/win32_dialogs.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The shell's folder browser of the new style needs OLE.
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    {
        ruror::win32::PrincipalWindow window(instance);
        ruror::win32::Win32Dialogs dialogs(window);
        ruror::win32::Win32FileSystem files;
        ruror::win32::WindowsClock clock;
        ruror::Principal principal(window, dialogs, files, clock);
        window.attach(principal);
        principal.load();
        window.showCentred();
        exitCode = window.run();
    }
    OleUninitialize();
    return exitCode;
}
