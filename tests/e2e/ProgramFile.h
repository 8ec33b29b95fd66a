// What a built or shipped program file carries, read from the file itself: the kind of machine
// it is for, its version resource and its application manifest.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace e2e {

// The machine field of the file's PE header (IMAGE_FILE_MACHINE_I386, _AMD64), 0 for a file
// that is not a PE image.
WORD ProgramMachine(const std::string& path);
// A text of the version resource's Simplified Chinese block (L"ProductVersion", ...); empty when
// the file or the value is missing.
std::wstring VersionText(const std::string& path, const wchar_t* name);
// The file and product version numbers of the version resource as "a.b.c.d" each.
std::string FixedFileVersion(const std::string& path);
std::string FixedProductVersion(const std::string& path);
// The bytes of the program's manifest (resource 1 of type RT_MANIFEST); empty without one.
std::string ManifestOf(const std::string& path);

// Whether the program at path is a Tarnel program of this build's version for that machine,
// named fileName, with that description and the project's manifest (manifestPath) embedded.
testing::AssertionResult IsTarnelProgram(const std::string& path, WORD machine,
                                         const std::wstring& fileName,
                                         const std::wstring& description,
                                         const std::string& manifestPath);

} // namespace e2e
