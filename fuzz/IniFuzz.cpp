// Fuzzes the skin INI reader: loading, every lookup path, and each answer against a plain
// reference lookup over the same text.
#include "IniReference.h"
#include "StoreAssert.h"
#include "WinSkinIni.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TQuickIni ini;
  ini.LoadFromStream(text);

  std::vector<std::string> names;
  ini.ReadSections(&names);
  Check(names.size() == ini.Sections().size());
  try {
    ini.ReadSections(nullptr);
    Check(false);
  } catch (const TarnelStore::EAssertionFailed&) {
  }

  // Every key part of every line, asked in every section (bounded), plus a missing key.
  std::vector<std::string> keys{"missing"};
  for (const std::string& line : ini.Lines()) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && keys.size() < 32)
      keys.emplace_back(IniReference::Trim(std::string_view(line).substr(0, eq)));
  }
  std::vector<std::string> sections;
  for (const auto& s : ini.Sections())
    if (sections.size() < 16) sections.push_back(s.Header.substr(1, s.Header.size() - 2));
  sections.push_back("no such section");

  for (const std::string& section : sections) {
    const int line = ini.SectionLine(section);
    Check(line >= -1 && line < static_cast<int>(ini.Lines().size()));
    if (line >= 0)
      Check(
          IniReference::SameText(ini.Lines()[static_cast<std::size_t>(line)], "[" + section + "]"));
    for (const std::string& key : keys) {
      const std::string got = ini.ReadString(section, key, "\x01");
      Check(got == IniReference::ReadString(text, section, key, "\x01"));
      const std::int32_t n = ini.ReadInteger(section, key, 12345);
      std::string value = ini.ReadString(section, key, "");
      if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X'))
        value.replace(0, 2, "$");
      const auto parsed = TQuickIni::StrToInt(value);
      Check(n == (parsed ? *parsed : 12345));
    }
  }
  // The number conversion on raw text.
  TQuickIni::StrToInt(text.substr(0, 64));
  // A second load replaces everything; an absent stream keeps it.
  ini.LoadFromStream(std::nullopt);
  Check(ini.Sections().size() == names.size());
  ini.LoadFromStream(std::string_view("[a]\nb=1"));
  Check(ini.ReadInteger("A", "B", 0) == 1);
  return 0;
}
