#pragma once

#include "core/dialogs.h"
#include "core/file_system.h"
#include "core/window_ops.h"

namespace ruror {

// Copies Quvetra's database to the backup file named by the window's fields
// and, when the data-centre option is on, the data centre into the backup
// tree, reporting each stage in the status line. Returns false, after showing
// the failure report, when the database stage failed; true otherwise.
bool FunCopiar(WindowOps& window, Dialogs& dialogs, FileSystem& files);

}  // namespace ruror
