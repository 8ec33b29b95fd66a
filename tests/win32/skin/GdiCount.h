// Counting the GDI objects of the test process, for leak checks.
//
// GetGuiResources(GR_GDIOBJECTS) answers on Windows. Wine does not implement it (it returns 0
// with ERROR_CALL_NOT_IMPLEMENTED); there the process's GDI handle table, which Wine keeps in
// the process and publishes through the PEB as Windows does, is counted instead: every entry
// with a non-zero object type is a live object.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <cstdint>

namespace GdiCount {

#pragma pack(push, 1)
// Wine's layout of one handle table entry (24 bytes).
struct TWineGdiEntry {
  std::uint64_t Object;
  std::uint32_t Owner;
  std::uint16_t Unique;
  std::uint8_t Type;
  std::uint8_t Flags;
  std::uint64_t UserPointer;
};
#pragma pack(pop)
static_assert(sizeof(TWineGdiEntry) == 24);
constexpr int kWineGdiEntries = 16384;
#ifdef _WIN64
constexpr std::size_t kPebGdiTableOffset = 0xF8;
#else
constexpr std::size_t kPebGdiTableOffset = 0x94;
#endif

inline bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The live GDI objects of this process; -1 when they cannot be counted.
inline long Count() {
  SetLastError(0);
  const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<long>(n);
  if (!RunningUnderWine()) return -1;
  // PEB.GdiSharedHandleTable: offset 0x94 in the 32-bit PEB, 0xF8 in the 64-bit one. The
  // entries have the same 24-byte layout in both.
  using TQuery = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<TQuery>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (!query ||
      query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0)
    return -1;
  const auto* peb = reinterpret_cast<const std::uint8_t*>(info.PebBaseAddress);
  const auto* table = *reinterpret_cast<const TWineGdiEntry* const*>(peb + kPebGdiTableOffset);
  if (!table) return -1;
  long live = 0;
  for (int i = 0; i < kWineGdiEntries; ++i)
    if (table[i].Type != 0) ++live;
  return live;
}

} // namespace GdiCount
