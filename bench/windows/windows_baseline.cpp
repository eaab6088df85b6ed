// The plainest Windows program that does the verified work ruror.exe does,
// the yardstick for it under Wine: for the database and each document of
// the data centre's four folders, in one process, a temporary file written
// beside the destination while its bytes are hashed (XXH3-128, as
// ruror.exe hashes them), flushed with FlushFileBuffers, read back
// unbuffered and compared, then renamed over the final name. No checks, no
// retries, no window.
//
// Usage: windows_baseline QUVETRA_FOLDER DESTINATION
// Prints the seconds taken and the files copied.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "backup/content_hash.h"

namespace {

constexpr DWORD kPiece = 1 << 20;
// Unbuffered reads take whole sectors into memory aligned to them.
constexpr DWORD kSector = 4096;

struct Aligned {
    explicit Aligned(DWORD size)
        : memory(static_cast<char*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
    ~Aligned() { VirtualFree(memory, 0, MEM_RELEASE); }
    Aligned(const Aligned&) = delete;
    Aligned& operator=(const Aligned&) = delete;
    char* memory;
};

bool fail(const std::wstring& what) {
    std::fwprintf(stderr, L"%ls: error %lu\n", what.c_str(), GetLastError());
    return false;
}

bool copyVerified(const std::wstring& source, const std::wstring& destination, Aligned& buffer) {
    const std::wstring temporary = destination + L".baseline.tmp";
    HANDLE in = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) return fail(L"abrir " + source);
    HANDLE out = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return fail(L"crear " + temporary);
    ruror::ContentHash written;
    DWORD got = 0;
    while (ReadFile(in, buffer.memory, kPiece, &got, nullptr) && got > 0) {
        written.add(buffer.memory, got);
        DWORD put = 0;
        if (!WriteFile(out, buffer.memory, got, &put, nullptr) || put != got) return fail(L"escribir " + temporary);
    }
    CloseHandle(in);
    if (!FlushFileBuffers(out)) return fail(L"vaciar " + temporary);
    CloseHandle(out);

    HANDLE back = CreateFileW(temporary.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (back == INVALID_HANDLE_VALUE) return fail(L"releer " + temporary);
    ruror::ContentHash readBack;
    while (ReadFile(back, buffer.memory, kPiece, &got, nullptr) && got > 0) readBack.add(buffer.memory, got);
    CloseHandle(back);
    if (!(readBack.digest() == written.digest())) return fail(L"comparar " + temporary);
    if (!MoveFileExW(temporary.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING)) return fail(L"renombrar");
    return true;
}

std::vector<std::wstring> filesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)))
            names.push_back(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: windows_baseline QUVETRA_FOLDER DESTINATION\n");
        return 2;
    }
    const std::wstring quvetra = argv[1];
    const std::wstring destination = argv[2];
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    static_assert(kPiece % kSector == 0);
    Aligned buffer(kPiece);
    int copied = 0;
    if (!copyVerified(quvetra + L"\\QVT Datos.mdb", destination + L"\\baseline.qvtdb", buffer)) return 1;
    ++copied;
    for (const wchar_t* sub : {L"", L"\\Archivo", L"\\Plantillas", L"\\Referencias"}) {
        const std::wstring from = quvetra + L"\\QVT Datos" + sub;
        const std::wstring to = destination + L"\\Respaldo QVT" + sub;
        CreateDirectoryW(to.c_str(), nullptr);
        for (const std::wstring& name : filesIn(from)) {
            if (!copyVerified(from + L"\\" + name, to + L"\\" + name, buffer)) return 1;
            ++copied;
        }
    }
    QueryPerformanceCounter(&end);
    std::printf("%.3f %d\n",
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart), copied);
    return 0;
}
