#include "SkinLzh.h"
#include "SkinLzhEncoder.h"
#include "SkinLzhReference.h"
#include "SkinTestData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FromString(const std::string& s) {
  return Bytes(s.begin(), s.end());
}
std::string AsString(const Bytes& b) {
  return std::string(b.begin(), b.end());
}

// Packs a string of '0' and '1' into bytes, most significant bit first, zero padded.
Bytes Bits(const std::string& bits) {
  Bytes out((bits.size() + 7) / 8, 0);
  for (std::size_t i = 0; i < bits.size(); ++i)
    if (bits[i] == '1') out[i / 8] = uint8_t(out[i / 8] | (0x80 >> (i % 8)));
  return out;
}

// Codes in the starting tree, where node m's parent is 314 + m / 2 and the root is 626:
// 'A' (leaf 65) is 111001101, the length-3 symbol (leaf 256) is 10001100, and the all-zero
// path ends at leaf 116 ('t'). Coding 'A' once swaps leaves 65 and 313, which leaves the
// length-3 code and the all-zero path alone.
const std::string kCodeA = "111001101";
const std::string kCodeLen3 = "10001100";

void ExpectRoundTrip(const Bytes& data) {
  const Bytes stream = TLZHEncoder().Encode(data);
  const Bytes back = TLZH().Expand(int32_t(data.size()), stream);
  ASSERT_EQ(back.size(), data.size());
  EXPECT_TRUE(back == data);
  EXPECT_TRUE(TLZHReference().ExpandBuffer(int32_t(data.size()), stream) == data);
}

TEST(SkinLzh, PositionTablesFollowTheBands) {
  const auto& code = TLZH::PositionCodes();
  const auto& len = TLZH::PositionLengths();
  EXPECT_EQ(code[0x00], 0);
  EXPECT_EQ(code[0x1F], 0);
  EXPECT_EQ(len[0x1F], 3);
  for (int i = 0x20; i <= 0x2F; ++i)
    EXPECT_EQ(code[i], 1) << i;
  EXPECT_EQ(code[0x30], 2);
  EXPECT_EQ(code[0x4F], 3);
  EXPECT_EQ(len[0x4F], 4);
  EXPECT_EQ(code[0x50], 4);
  EXPECT_EQ(code[0x8F], 11);
  EXPECT_EQ(len[0x8F], 5);
  EXPECT_EQ(code[0x90], 12);
  EXPECT_EQ(code[0xBF], 23);
  EXPECT_EQ(len[0xBF], 6);
  EXPECT_EQ(code[0xC0], 24);
  EXPECT_EQ(code[0xC1], 24);
  EXPECT_EQ(code[0xEF], 47);
  EXPECT_EQ(len[0xEF], 7);
  EXPECT_EQ(code[0xF5], 53);
  EXPECT_EQ(code[0xFF], 63);
  EXPECT_EQ(len[0xF0], 8);
}

TEST(SkinLzh, HandMadeStreams) {
  TLZH lzh;
  // One literal.
  EXPECT_EQ(AsString(lzh.Expand(1, Bits(kCodeA))), "A");
  // The same code with its last bit missing reads a zero there: the sibling leaf '@'.
  EXPECT_EQ(AsString(lzh.Expand(1, Bits(kCodeA.substr(0, 8)))), "@");
  // Past the end of the input every bit is zero: the all-zero path gives 't'.
  EXPECT_EQ(AsString(lzh.Expand(2, Bits(kCodeA))), "At");
  // Coding 't' swaps it with leaf 313, the length-60 symbol, which the zero path then reaches:
  // a 60-byte match at position 0 repeats the 't'.
  EXPECT_EQ(AsString(lzh.Expand(3, {})), std::string(61, 't'));
  // 'A', then a length-3 match at position 0 (prefix 000, low bits 000000): the copy runs
  // over the bytes it writes.
  EXPECT_EQ(AsString(lzh.Expand(4, Bits(kCodeA + kCodeLen3 + "000" + "000000"))), "AAAA");
  // Position 1 starts one byte further back, in the leading spaces.
  EXPECT_EQ(AsString(lzh.Expand(4, Bits(kCodeA + kCodeLen3 + "000" + "000001"))), "A A ");
  // A match at the very start copies from the ring's spaces; an 8-bit prefix (0xF5: upper
  // bits 53) with low bits 101010 is position 3434, still in the spaces.
  EXPECT_EQ(AsString(lzh.Expand(3, Bits(kCodeLen3 + "11110101" + "101010"))), "   ");
  // The ring's last 60 bytes are zeros: position 4035 (upper bits 63 as 0xFF, low bits
  // 000011) is the last space, position 4036 the first zero.
  EXPECT_EQ(AsString(lzh.Expand(3, Bits(kCodeLen3 + "11111111" + "000011"))), "   ");
  EXPECT_EQ(AsString(lzh.Expand(3, Bits(kCodeLen3 + "11111111" + "000100"))),
            std::string("\0  ", 3));
  EXPECT_EQ(AsString(lzh.Expand(3, Bits(kCodeLen3 + "11111111" + "111111"))), std::string(3, '\0'));
  // The size is tested before each symbol only: a match crossing it is written whole.
  EXPECT_EQ(AsString(lzh.Expand(2, Bits(kCodeA + kCodeLen3 + "000" + "000000"))), "AAAA");
}

TEST(SkinLzh, NothingToExpand) {
  TLZH lzh;
  const Bytes junk = {1, 2, 3};
  EXPECT_TRUE(lzh.Expand(0, junk).empty());
  EXPECT_TRUE(lzh.Expand(-5, junk).empty());
  Bytes out = {9, 9};
  lzh.Expand(0, junk, out);
  EXPECT_TRUE(out.empty());
}

TEST(SkinLzh, SizeAboveTheLimitIsRefused) {
  TLZH lzh;
  lzh.SetOutputLimit(1000);
  EXPECT_GE(lzh.Expand(1000, {}).size(), 1000u);
  try {
    lzh.Expand(1001, {});
    FAIL() << "no exception";
  } catch (const ElzhException& e) {
    EXPECT_STREQ(e.what(), TLZH::TooLargeMessage);
  }
  EXPECT_THROW(TLZH().Expand(0x7FFFFFFF, {}), ElzhException);
}

TEST(SkinLzh, RoundTripsSmallAndRepetitiveData) {
  ExpectRoundTrip({});
  ExpectRoundTrip({0});
  ExpectRoundTrip({0xFF});
  ExpectRoundTrip(FromString("ab"));
  ExpectRoundTrip(FromString("abcabcabcabcabcabcabcabc"));
  ExpectRoundTrip(Bytes(100000, 'x')); // runs: distance 1, longest matches
  ExpectRoundTrip(Bytes(5000, ' '));   // matches into the ring's leading spaces
  Bytes all(256);
  for (int i = 0; i < 256; ++i)
    all[std::size_t(i)] = uint8_t(i);
  ExpectRoundTrip(all);
}

TEST(SkinLzh, RoundTripsMatchesAtEveryDistance) {
  // A repeated pattern is coded as matches at its period: copies that overlap what they write
  // (periods below the longest match) and copies that do not.
  for (std::size_t period : {1, 2, 3, 7, 15, 16, 17, 20, 31, 32, 33, 47, 59, 60, 61, 100}) {
    const Bytes pattern = skintest::RandomBytes(period, period);
    Bytes data;
    while (data.size() < 3000)
      data.insert(data.end(), pattern.begin(), pattern.end());
    SCOPED_TRACE(period);
    ExpectRoundTrip(data);
  }
}

TEST(SkinLzh, RoundTripsAcrossTreeRebuilds) {
  // Random bytes are nearly all literals: 100 000 symbols rebuild the tree several times.
  ExpectRoundTrip(skintest::RandomBytes(100000, 1));
  // Text with long matches, and a block repeated at the ring's full reach of 4096 bytes.
  const std::string text = skintest::TextLike(200000, 2);
  ExpectRoundTrip(FromString(text));
  Bytes block = skintest::RandomBytes(4096, 3);
  Bytes twice = block;
  twice.insert(twice.end(), block.begin(), block.end());
  twice.insert(twice.end(), block.begin(), block.end());
  ExpectRoundTrip(twice);
  ExpectRoundTrip(skintest::Mixed(300000, 4));
}

TEST(SkinLzh, EncoderFindsTheMatches) {
  // Description text is mostly repeats; a run costs one 60-byte match (about 10 bits) per 60
  // bytes once it has started.
  const Bytes text = FromString(skintest::TextLike(100000, 5));
  EXPECT_LT(TLZHEncoder().Encode(text).size(), text.size() / 3);
  EXPECT_LT(TLZHEncoder().Encode(Bytes(60000, 'x')).size(), 1400u);
}

TEST(SkinLzh, MatchesTheReferenceOnArbitraryInput) {
  // Any byte string is a valid stream: both expanders must agree on all of them, including
  // the zero bits past the end and the tree rebuilds.
  skintest::Random rnd(7);
  for (int round = 0; round < 60; ++round) {
    const Bytes input = skintest::RandomBytes(rnd.Below(3000), rnd.Next());
    const int32_t size = int32_t(rnd.Below(round < 50 ? 5000 : 200000));
    const Bytes fast = TLZH().Expand(size, input);
    const Bytes reference = TLZHReference().ExpandBuffer(size, input);
    ASSERT_TRUE(fast == reference) << "round " << round;
    EXPECT_GE(fast.size(), std::size_t(size));
    EXPECT_LT(fast.size(), std::size_t(size) + TLZH::F);
  }
}

TEST(SkinLzh, TruncatedStreamStillGivesTheExpectedSize) {
  const Bytes data = FromString(skintest::TextLike(20000, 8));
  Bytes stream = TLZHEncoder().Encode(data);
  stream.resize(stream.size() / 2);
  const Bytes out = TLZH().Expand(int32_t(data.size()), stream);
  EXPECT_GE(out.size(), data.size());
  EXPECT_TRUE(out == TLZHReference().ExpandBuffer(int32_t(data.size()), stream));
  // The part the kept half codes for comes out unchanged.
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 5000, out.begin()));
}

} // namespace
