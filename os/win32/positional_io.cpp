#include "os/win32/positional_io.h"

#include <algorithm>

#include "core/aligned_buffer.h"

namespace ruror::win32 {
namespace {

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

}  // namespace

long long readFrom(HANDLE file, char* buffer, std::size_t size, std::uint64_t offset) {
    std::size_t got = 0;
    while (got < size) {
        OVERLAPPED position = at(offset + got);
        DWORD read = 0;
        if (!ReadFile(file, buffer + got, static_cast<DWORD>(size - got), &read, &position)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) break;
            return -static_cast<long long>(error);
        }
        got += read;
        // A file gives less than asked for only at its end.
        if (read < size - (got - read)) break;
    }
    return static_cast<long long>(got);
}

DWORD writeAt(HANDLE file, char* piece, std::size_t length, std::uint64_t offset, bool unbuffered) {
    if (unbuffered) {
        const std::size_t whole = roundedUpToBlock(length);
        std::fill(piece + length, piece + whole, '\0');
        length = whole;
    }
    std::size_t done = 0;
    while (done < length) {
        OVERLAPPED position = at(offset + done);
        DWORD written = 0;
        if (!WriteFile(file, piece + done, static_cast<DWORD>(length - done), &written, &position))
            return GetLastError();
        done += written;
    }
    return 0;
}

}  // namespace ruror::win32
