#include "SkinpackCommands.h"

#include "SkinArchiveWriter.h"
#include "SkinLzh.h"
#include "SkinReader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <ostream>
#include <set>
#include <span>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const Usage = "usage: skinpack pack <folder> <file.skin>\n"
                          "       skinpack unpack <file.skin> <folder>\n"
                          "       skinpack list <file.skin>\n";

// Raised for anything that ends a command with a message.
class ECommandError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw ECommandError(path.string() + ": no such file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ECommandError(path.string() + ": cannot open");
  // Read in blocks as large as the file: one block normally, more if it grows meanwhile.
  const uintmax_t expected = fs::file_size(path, ec);
  const std::size_t block = ec ? std::size_t(1) << 16 : std::size_t(expected) + 1;
  std::vector<uint8_t> bytes;
  for (;;) {
    const std::size_t had = bytes.size();
    bytes.resize(had + block);
    in.read(reinterpret_cast<char*>(bytes.data() + had), std::streamsize(block));
    bytes.resize(had + std::size_t(in.gcount()));
    if (!in) break;
  }
  if (in.bad()) throw ECommandError(path.string() + ": read error");
  return bytes;
}

void WriteFile(const fs::path& path, std::span<const uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw ECommandError(path.string() + ": cannot create");
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw ECommandError(path.string() + ": write error");
}

void SilentNotifier(const std::string&) {}

// Opens a skin file with the program's reader; damaged files end the command.
void OpenSkin(const fs::path& file, TSkinReader& reader) {
  const std::vector<uint8_t> stored = ReadFile(file);
  const TSkinNotifier previous = SetSkinNotifier(&SilentNotifier);
  bool opened = false;
  std::string reason;
  try {
    opened = reader.OpenArchive(stored);
    reason = reader.LastError();
  } catch (const ElzhException& e) {
    reason = e.what();
  }
  SetSkinNotifier(previous);
  if (!opened) throw ECommandError(file.string() + ": not a readable skin file: " + reason);
}

std::string Extension(const std::string& lowerName) {
  const std::size_t dot = lowerName.rfind('.');
  return dot == std::string::npos ? std::string() : lowerName.substr(dot);
}

int Pack(const fs::path& folder, const fs::path& file, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw ECommandError(folder.string() + ": not a folder");

  std::map<std::string, fs::path> images; // ordered by lower-case name
  std::vector<std::pair<std::string, fs::path>> descriptions;
  std::set<std::string> seen;
  for (const fs::directory_entry& item : fs::directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    const std::string name = SkinLowerName(item.path().filename().string());
    const std::string ext = Extension(name);
    if (ext != ".bmp" && ext != ".ini") {
      err << "skinpack: skipping " << item.path().filename().string()
          << " (neither .ini nor .bmp)\n";
      continue;
    }
    if (!seen.insert(name).second)
      throw ECommandError(folder.string() + ": two files are both named " + name +
                          " once letter case is ignored");
    if (ext == ".ini")
      descriptions.emplace_back(name, item.path());
    else
      images.emplace(name, item.path());
  }
  if (descriptions.size() != 1)
    throw ECommandError(folder.string() + ": expected exactly one .ini description, found " +
                        std::to_string(descriptions.size()));

  std::vector<TSkinArchiveEntry> entries;
  for (const auto& [name, path] : images) {
    TSkinArchiveEntry e{name, ReadFile(path)};
    if (e.Data.size() < 2 || e.Data[0] != 'B' || e.Data[1] != 'M')
      throw ECommandError(path.string() + ": not a BMP file");
    entries.push_back(std::move(e));
  }
  entries.push_back({descriptions[0].first, ReadFile(descriptions[0].second)});

  std::vector<uint8_t> archive;
  std::vector<uint8_t> stored;
  try {
    archive = BuildSkinArchive(entries);
    stored = BuildStoredSkin(archive);
  } catch (const std::invalid_argument& e) {
    throw ECommandError(folder.string() + ": " + e.what());
  }

  // Check the result with the program's own reader before writing it.
  TSkinReader check;
  if (!check.OpenArchive(stored) || check.EntryCount() != int(entries.size()))
    throw ECommandError("packed skin does not read back: " + check.LastError());
  for (int i = 0; i < check.EntryCount(); ++i) {
    const std::span<const uint8_t> data = check.EntryData(i);
    const std::vector<uint8_t>& want = entries[std::size_t(i)].Data;
    if (!std::equal(data.begin(), data.end(), want.begin(), want.end()))
      throw ECommandError("packed skin does not read back: entry " + check.EntryName(i) +
                          " differs");
  }

  WriteFile(file, stored);
  out << "packed " << entries.size() << " entries (" << archive.size() << " bytes) into "
      << file.string() << " (" << stored.size() << " bytes)\n";
  return 0;
}

// An entry name that is safe to use as a file name inside the target folder.
bool SafeFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return uint8_t(c) < 0x20 || c == '/' || c == '\\' || c == ':';
  });
}

int Unpack(const fs::path& file, const fs::path& folder, std::ostream& out, std::ostream& err) {
  TSkinReader reader;
  OpenSkin(file, reader);
  for (int i = 0; i < reader.EntryCount(); ++i)
    if (!SafeFileName(reader.EntryName(i)))
      throw ECommandError(file.string() + ": entry name \"" + reader.EntryName(i) +
                          "\" is not a plain file name; nothing written");

  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) throw ECommandError(folder.string() + ": cannot create");

  std::set<std::string> written;
  for (int i = 0; i < reader.EntryCount(); ++i) {
    const std::string& name = reader.EntryName(i);
    if (!written.insert(name).second) {
      err << "skinpack: " << file.string() << ": skipping a second entry named " << name
          << " (only the first one is ever read)\n";
      continue;
    }
    WriteFile(folder / name, reader.EntryData(i)); // the first entry of that name
  }
  out << "unpacked " << written.size() << " entries of " << file.string() << " into "
      << folder.string() << "\n";
  return 0;
}

int List(const fs::path& file, std::ostream& out) {
  TSkinReader reader;
  OpenSkin(file, reader);
  out << "format " << reader.Format() << ", " << reader.EntryCount() << " entries, "
      << reader.ExpandedSize() << " bytes expanded\n";
  for (int i = 0; i < reader.EntryCount(); ++i)
    out << std::setw(10) << reader.EntrySize(i) << "  " << reader.EntryName(i) << "\n";
  return 0;
}

} // namespace

int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? std::string() : args[0];
  const bool usageOk = (command == "pack" && args.size() == 3) ||
                       (command == "unpack" && args.size() == 3) ||
                       (command == "list" && args.size() == 2);
  if (!usageOk) {
    err << Usage;
    return ExitUsage;
  }
  try {
    if (command == "pack") return Pack(args[1], args[2], out, err);
    if (command == "unpack") return Unpack(args[1], args[2], out, err);
    return List(args[1], out);
  } catch (const ECommandError& e) {
    err << "skinpack: " << e.what() << "\n";
  } catch (const std::exception& e) {
    err << "skinpack: " << command << " failed: " << e.what() << "\n";
  }
  return ExitFailed;
}
