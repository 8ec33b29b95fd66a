// LZHUF compression for skin streams: the counterpart of TLZH's expansion. Host tool code,
// not part of the program.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class TLZHEncoder {
public:
  // Longest chain of earlier positions tried per match search; more finds longer matches.
  explicit TLZHEncoder(int maxChain = 256) : maxChain_(maxChain) {}

  // The bit stream alone (no size in front); its last byte is padded with zero bits.
  std::vector<uint8_t> Encode(std::span<const uint8_t> data) const;

private:
  int maxChain_;
};
