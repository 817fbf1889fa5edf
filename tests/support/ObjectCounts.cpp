#include "tests/support/ObjectCounts.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

namespace testsupport {

namespace {

// The layout of a GDI handle table entry, 24 bytes on 64-bit Windows and
// Wine alike. Windows shares one table among the session's processes; Wine
// keeps one per process and fills in no owner.
struct GdiEntry {
    UINT64 object;
    USHORT ownerProcess;  // the owner's process id divided by four; Wine leaves it 0
    USHORT ownerCount;
    USHORT unique;  // 0x80: a stock object
    UCHAR type;     // 0 in a free entry
    UCHAR flags;
    UINT64 userPointer;
};
static_assert(sizeof(GdiEntry) == 24);
constexpr size_t kGdiEntries = 0x10000;
constexpr size_t kPebGdiTable = 0xF8;  // PEB::GdiSharedHandleTable on 64-bit

// SystemHandleInformation's record of one handle.
struct SystemHandle {
    ULONG ownerPid;
    UCHAR objectType;
    UCHAR flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct SystemHandles {
    ULONG count;
    SystemHandle handles[1];
};
constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);

bool Read(HANDLE process, UINT64 address, void* to, size_t size) {
    SIZE_T done = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(address), to, size, &done) &&
           done == size;
}

}  // namespace

GdiCount GdiObjects(HANDLE process) {
    GdiCount count;
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return count;
    UINT64 table = 0;
    if (!Read(process, reinterpret_cast<UINT64>(basic.PebBaseAddress) + kPebGdiTable, &table, sizeof table) ||
        !table)
        return count;
    std::vector<GdiEntry> entries(kGdiEntries);
    if (!Read(process, table, entries.data(), entries.size() * sizeof(GdiEntry))) return count;
    const auto owner = static_cast<USHORT>(GetProcessId(process) >> 2);
    constexpr UCHAR kDeviceContext = 1, kRegion = 4, kSurface = 5;
    count.total = 0;
    for (const GdiEntry& e : entries) {
        if (e.type == 0 || (e.unique & 0x80) || (e.ownerProcess != owner && e.ownerProcess != 0)) continue;
        ++count.total;
        count.deviceContexts += e.type == kDeviceContext;
        count.regions += e.type == kRegion;
        count.surfaces += e.type == kSurface;
    }
    return count;
}

int KernelHandles(DWORD pid) {
    std::vector<BYTE> buffer(1 << 16);
    NTSTATUS status = 0;
    for (;;) {
        ULONG needed = 0;
        status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                          static_cast<ULONG>(buffer.size()), &needed);
        if (status != static_cast<NTSTATUS>(0xC0000004)) break;  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    }
    if (status != 0) return -1;
    const auto* list = reinterpret_cast<const SystemHandles*>(buffer.data());
    int count = 0;
    for (ULONG i = 0; i < list->count; ++i) count += list->handles[i].ownerPid == pid;
    return count;
}

int Threads(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == pid;
    CloseHandle(snapshot);
    return count;
}

// USER handles are an index into one table, shifted and offset; with the
// generation in the high word left 0 any generation matches.
UserObjects CountUserObjects(DWORD pid) {
    // Undocumented, but exported by user32 on Windows and Wine: it answers
    // for cursors and icons alike.
    using FrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    const auto frameInfo = reinterpret_cast<FrameInfo>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
    UserObjects counts;
    for (UINT_PTR index = 0x20; index < 0xFFF0; index += 2) {
        auto handle = reinterpret_cast<HANDLE>(index);
        auto hwnd = static_cast<HWND>(handle);
        DWORD owner = 0;
        if (IsWindow(hwnd)) {
            GetWindowThreadProcessId(hwnd, &owner);
            counts.windows += owner == pid;
        } else if (IsMenu(static_cast<HMENU>(handle))) {
            ++counts.menus;
        } else {
            DWORD rate = 0, steps = 0;
            counts.cursors += frameInfo && frameInfo(static_cast<HCURSOR>(handle), 0, 0, &rate, &steps);
        }
    }
    return counts;
}

}  // namespace testsupport
