#include "os/win32/cloud_files.h"

namespace ruror::win32 {
namespace {

// The attributes of a file whose data is elsewhere, some newer than the
// headers: recalled on open, recalled on reading its data, and offline.
constexpr DWORD kRecallOnOpen = 0x00040000;
constexpr DWORD kRecallOnDataAccess = 0x00400000;

}  // namespace

bool isOnlyInTheCloud(DWORD attributes) {
    return (attributes & (kRecallOnOpen | kRecallOnDataAccess | FILE_ATTRIBUTE_OFFLINE)) != 0;
}

}  // namespace ruror::win32
