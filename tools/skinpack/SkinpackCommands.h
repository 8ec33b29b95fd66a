// The skinpack command line: pack a folder into a skin file, unpack a skin file into a folder,
// list a skin file's entries.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs one command; returns the process exit code (0 done, 1 failed, 2 bad usage).
int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
