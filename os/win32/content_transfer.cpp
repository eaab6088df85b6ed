#include "os/win32/content_transfer.h"

#include <algorithm>

#include "core/aligned_buffer.h"
#include "core/hashed_transfer.h"

namespace ruror::win32 {
namespace {

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

// Reads from an offset until the buffer is full or the file ends: the
// bytes read, or the negative Windows error code.
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

// Writes a piece at its offset; unbuffered, padded to whole blocks.
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

}  // namespace

TransferFailure copyContent(HANDLE in, HANDLE out, std::uint64_t size, bool unbuffered, ContentHash& hash,
                            const CopyProgress& progress) {
    const PiecePipeline::Result result = copyHashing(
        [in](char* piece, std::size_t capacity, std::uint64_t offset) { return readFrom(in, piece, capacity, offset); },
        [out, unbuffered](char* piece, std::size_t length, std::uint64_t offset) {
            return static_cast<int>(writeAt(out, piece, length, offset, unbuffered));
        },
        size, hash,
        [&](std::uint64_t written) {
            if (progress) progress(written, 2 * size);
        });
    if (result.error != 0) return {static_cast<DWORD>(result.error), !result.failedFilling};
    if (!unbuffered) return {};
    // The last block was padded: the copy is cut to its size.
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(out, FileEndOfFileInfo, &end, sizeof end)) return {GetLastError(), true};
    return {};
}

DWORD readBack(HANDLE file, std::uint64_t size, ContentHash& hash, std::uint64_t& total, const CopyProgress& progress) {
    return static_cast<DWORD>(
        hashToEnd([file](char* piece, std::size_t capacity,
                         std::uint64_t offset) { return readFrom(file, piece, capacity, offset); },
                  size, hash, total,
                  [&](std::uint64_t done) {
                      if (progress) progress(size + done, 2 * size);
                  }));
}

}  // namespace ruror::win32
