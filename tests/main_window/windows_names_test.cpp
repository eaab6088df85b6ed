#include "main_window/windows_names.h"

#include <gtest/gtest.h>

namespace ruror {
namespace {

TEST(WindowsNames, DeviceNamesAreReservedWithOrWithoutAnExtension) {
    for (const char* reserved :
         {"CON", "con.qvtdb", "PRN.qvtdb", "Aux.qvtdb", "NUL", "COM1.qvtdb", "com9.txt", "LPT1", "lpt9.qvtdb",
          "CON .qvtdb", "nul.tar.gz", "COM0.qvtdb", "lpt0", "COM¹.qvtdb", "com².qvtdb", "LPT³", "lpt¹.txt"}) {
        EXPECT_TRUE(isReservedWindowsName(reserved)) << reserved;
    }
    for (const char* fine : {"CONSOLA.qvtdb", "COM⁴.qvtdb", "COM¹¹.qvtdb", "COM10.qvtdb", "LPT.qvtdb",
                             "Respaldo CON.qvtdb", "ICON.qvtdb", "Respaldo (07-12-2026).qvtdb", ".qvtdb"}) {
        EXPECT_FALSE(isReservedWindowsName(fine)) << fine;
    }
}

}  // namespace
}  // namespace ruror
