// TQuickIni: a read-only, in-memory INI text (the skin description) answering lookups by
// section and key. Section and key names match in any letter case; text is single-byte and
// never converted. Portable: no Win32 here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TQuickIni {
public:
  // A section header line: its trimmed text, brackets included, and the index of that header
  // in the line list.
  struct TSection {
    std::string Header;
    int LineIndex;
  };

  // Replaces the whole content with the text of `stream` (the bytes from the stream's current
  // position to its end). No stream (std::nullopt) leaves the old content as it is.
  // Lines end at CR, LF or NUL; CR LF counts once; the first NUL ends the text. Each line is
  // trimmed of bytes <= 32 at both ends; empty lines and lines beginning with ";" are dropped.
  void LoadFromStream(std::optional<std::string_view> stream);
  void LoadFromStream(const void* data, std::size_t size) {
    LoadFromStream(std::string_view(static_cast<const char*>(data), size));
  }

  // The value of the first line of `key` in the first section named `section`. The default
  // when the section or key is missing, or when that first line's value is empty.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // ReadString converted as a signed 32-bit integer: decimal with an optional sign, or
  // hexadecimal after "$" or "0x"/"0X" (up to 32 bits, two's complement: "0xFFFFFFFF" is -1).
  // The default when the text is empty, malformed or out of range.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // Fills `strings` with the section names in file order (brackets removed, trimmed,
  // duplicates kept). Raises TarnelStore::EAssertionFailed when `strings` is null.
  void ReadSections(std::vector<std::string>* strings) const;
  // The line-list index of the header of the first section named `name`, or -1.
  int SectionLine(std::string_view name) const;

  const std::vector<std::string>& Lines() const { return FLines; }
  const std::vector<TSection>& Sections() const { return FSections; }

  // The conversion ReadInteger applies to a value's text; nullopt when it does not convert.
  static std::optional<std::int32_t> StrToInt(std::string_view text);

private:
  struct TLineKey {
    std::size_t KeyLength = 0;   // lower-cased key part, in FKeys at KeyOffset
    std::size_t KeyOffset = 0;   // (empty key part: the line never matches)
    std::size_t ValueOffset = 0; // trimmed value inside the line
    std::size_t ValueLength = 0;
    bool IsHeader = false;
  };

  void Clear();
  void AddLine(std::string_view line);

  std::vector<std::string> FLines;
  std::vector<TSection> FSections;
  std::vector<TLineKey> FLineKeys; // one per line of FLines
  std::string FKeys;               // every line's lower-cased key part, end to end

  // Hash and equality of section names in any letter case, so that a lookup needs no
  // lower-cased copy of the name it is given.
  struct TNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
  };
  struct TNameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  // Header text between the brackets -> position of its first occurrence in FSections.
  std::unordered_map<std::string, int, TNameHash, TNameEqual> FSectionIndex;
};
