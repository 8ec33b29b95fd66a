// The files the program reads and writes beside its executable (the list, the record of
// closes): paths in the ANSI code page, long ones included; whole contents read at once, and
// put in place in one step.
#pragma once
#include "Handles.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace FileBytes {

// A path in the ANSI code page as the wide file functions take it: converted the way the ANSI
// functions convert it, and marked as a long path where it is too long for them, so that a
// name beside a file works wherever the file itself does.
std::wstring WidePath(const std::string& path);

// Opens a file by its wide path (see WidePath).
TFileHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition);

// Reads the rest of an open file into bytes. False when it cannot be read, is larger than
// limit or does not fit in memory.
bool ReadRest(HANDLE file, uint64_t limit, std::string& bytes);

// Writes bytes to a new file beside path (path + ".new") and puts it in place of path in one
// step, so that a failed or interrupted write leaves the old content. Waits up to half a second
// for someone who has the old file open to let go of it. False on failure, with nothing left
// beside path.
bool Replace(const std::string& path, std::string_view bytes);

} // namespace FileBytes
