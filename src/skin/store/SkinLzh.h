// Expansion of the LZHUF bit streams that skins are stored in: LZSS back-references into a
// 4096-byte ring, literals and match lengths coded by one adaptive Huffman tree, match
// positions by a fixed prefix code for their upper 6 bits followed by 6 plain bits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

class ElzhException : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TLZH {
public:
  static constexpr int N = 4096;                    // ring size
  static constexpr int F = 60;                      // longest match
  static constexpr int Threshold = 2;               // a match is at least Threshold + 1 long
  static constexpr int NChar = 256 - Threshold + F; // 314 symbols: bytes, then lengths 3..60
  static constexpr int T = NChar * 2 - 1;           // 627 tree nodes
  static constexpr int R = T - 1;                   // root node
  static constexpr unsigned MaxFreq = 0x8000;       // root frequency that triggers a rebuild
  static constexpr int RingFill = N - F;            // 4036 leading spaces in the ring

  static constexpr const char* NoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
  static constexpr const char* FreeFailedMessage =
      "LZH : Error freeing memory for dictionary tables";
  static constexpr const char* TooLargeMessage = "LZH : Expanded size exceeds the limit";

  // No expansion produces more than this unless SetOutputLimit says otherwise.
  static constexpr std::size_t DefaultOutputLimit = std::size_t(64) << 20;

  // Upper 6 bits of a match position and total length in bits of its code, both indexed by
  // the first 8 bits of the code.
  static const std::array<uint8_t, 256>& PositionCodes();
  static const std::array<uint8_t, 256>& PositionLengths();

  void SetOutputLimit(std::size_t limit) { FOutputLimit = limit; }
  std::size_t OutputLimit() const { return FOutputLimit; }

  // Expands `input` until at least `expectedSize` bytes have been written; the last match is
  // written whole, so up to F - 1 bytes more may come out. Input bytes past the end read as
  // zero. A negative or zero size gives nothing. A size above the output limit raises
  // ElzhException before anything is decoded.
  std::vector<uint8_t> Expand(int32_t expectedSize, std::span<const uint8_t> input) const;
  // The same, replacing the content of `output`.
  void Expand(int32_t expectedSize, std::span<const uint8_t> input,
              std::vector<uint8_t>& output) const;

private:
  std::size_t FOutputLimit = DefaultOutputLimit;
};
