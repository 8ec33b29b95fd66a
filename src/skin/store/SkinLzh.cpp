#include "SkinLzh.h"

#include <bit>
#include <cstring>
#include <memory>
#include <new>

// TARNEL_LZH_SCALAR (for tests) keeps to the plain C++ that builds without SSE2 (the 32-bit
// Windows tree) where SSE2 is there.
#if !defined(TARNEL_LZH_SCALAR) &&                                                                 \
    (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define TARNEL_LZH_SSE2 1
#include <emmintrin.h>
#endif

namespace {

constexpr int NChar = TLZH::NChar;
constexpr int T = TLZH::T;
constexpr int R = TLZH::R;
constexpr int F = TLZH::F;
constexpr int RingFill = TLZH::RingFill;
// Room after the expected size: the longest match rounded up to whole 16-byte blocks.
constexpr std::size_t CopySlack = (F + 15) / 16 * 16;

struct TPositionTables {
  std::array<uint8_t, 256> code{};
  std::array<uint8_t, 256> length{};
};

// Position codes: (number of 8-bit prefixes sharing one upper value, first upper value, count
// of upper values, code length) for each band of the prefix code.
constexpr TPositionTables MakePositionTables() {
  struct TBand {
    int prefixesPerCode, firstCode, codeCount, length;
  };
  constexpr TBand bands[] = {{32, 0, 1, 3},  {16, 1, 3, 4},  {8, 4, 8, 5},
                             {4, 12, 12, 6}, {2, 24, 24, 7}, {1, 48, 16, 8}};
  TPositionTables t;
  int i = 0;
  for (const TBand& b : bands)
    for (int c = 0; c < b.codeCount; ++c)
      for (int k = 0; k < b.prefixesPerCode; ++k, ++i) {
        t.code[i] = uint8_t(b.firstCode + c);
        t.length[i] = uint8_t(b.length);
      }
  return t;
}

constexpr TPositionTables kPositions = MakePositionTables();
static_assert(kPositions.code[0x1F] == 0 && kPositions.code[0x20] == 1 &&
              kPositions.code[0x3F] == 2 && kPositions.code[0xF5] == 53 &&
              kPositions.code[0xFF] == 63 && kPositions.length[0xEF] == 7);

// Reads the stream most significant bit first; bytes past the end read as zero. Keeps up to
// 63 bits buffered, the next bit highest, filled eight bytes at a time while the input lasts.
class TBitReader {
public:
  explicit TBitReader(std::span<const uint8_t> input)
      : FPos(input.data()), FEnd(input.data() + input.size()) {}

  // Makes at least 32 bits available to Peek.
  void Need32() {
    if (FCount < 32) Refill();
  }
  // The buffered bits, the next one in the highest place.
  uint64_t Peek() const { return FBuf; }
  // Drops `n` bits, no more than are available.
  void Skip(unsigned n) {
    FBuf <<= n;
    FCount -= n;
  }
  unsigned Bit() {
    if (FCount == 0) Refill();
    const unsigned b = unsigned(FBuf >> 63);
    FBuf <<= 1;
    --FCount;
    return b;
  }

private:
  void Refill() {
    if (FEnd - FPos >= 8) {
      uint64_t v = 0;
      for (int i = 0; i < 8; ++i)
        v = v << 8 | FPos[i];
      // The bits below the new count are the true next bits too: a later fill puts the same
      // bits there again.
      FBuf |= v >> FCount;
      const unsigned bytes = (63 - FCount) >> 3;
      FPos += bytes;
      FCount += bytes * 8;
      return;
    }
    while (FCount <= 56) {
      const uint64_t b = FPos < FEnd ? *FPos++ : 0;
      FBuf |= b << (56 - FCount);
      FCount += 8;
    }
  }

  const uint8_t* FPos;
  const uint8_t* FEnd;
  uint64_t FBuf = 0;
  unsigned FCount = 0;
};

// The adaptive Huffman tree over the 314 symbols. Node n's children are son[n] and
// son[n] + 1; a son value of T or more marks a leaf holding symbol son - T. parent[T + s] is
// the leaf of symbol s. The nodes are kept in ascending order of their counts (freq), so a
// parent always comes after its children.
//
// The walk down from the root starts with one lookup of the next TopBits bits in a table of
// the top of the tree. Its entries are made when first used; a swap or a rebuild that touches
// a node an entry was read from puts every entry out of date. The top nodes carry most of the
// counts, so they swap places seldom.
struct THuffmanTree {
  static constexpr int TopBits = 5;
  static constexpr int ScanWidth = 8; // counts compared at once when a node moves up

  // The nodes below the root that a prefix of TopBits bits leads through, how many bits
  // that takes (fewer when a leaf comes first), and the stamp of the tree it was read from.
  struct TTopEntry {
    int16_t Path[TopBits];
    uint8_t Length;
    uint32_t Stamp;
  };

  uint16_t freq[T + 1 + ScanWidth]; // freq[T] and the padding after it: 0xFFFF, above any count
  int16_t parent[T + NChar];
  int16_t son[T];
  TTopEntry top[1 << TopBits];
  uint32_t inTop[T]; // the stamp of the last entry read from each node
  uint32_t stamp;    // entries and nodes with another stamp are out of date

  void Start() {
    for (int s = 0; s < NChar; ++s) {
      freq[s] = 1;
      son[s] = int16_t(s + T);
      parent[s + T] = int16_t(s);
    }
    for (int i = 0, j = NChar; j <= R; i += 2, ++j) {
      freq[j] = uint16_t(freq[i] + freq[i + 1]);
      son[j] = int16_t(i);
      parent[i] = parent[i + 1] = int16_t(j);
    }
    for (int i = T; i < T + 1 + ScanWidth; ++i)
      freq[i] = 0xFFFF;
    parent[R] = 0;
    ResetTop();
  }

  // Halves every leaf frequency and builds the inner nodes again in frequency order.
  void Rebuild() {
    int j = 0;
    for (int node = 0; node < T; ++node)
      if (son[node] >= T) {
        freq[j] = uint16_t((freq[node] + 1) >> 1);
        son[j] = son[node];
        ++j;
      }
    for (int i = 0, j2 = NChar; j2 < T; i += 2, ++j2) {
      const unsigned f = unsigned(freq[i]) + freq[i + 1];
      int k = j2 - 1;
      while (f < freq[k])
        --k;
      ++k;
      std::memmove(&freq[k + 1], &freq[k], sizeof(freq[0]) * size_t(j2 - k));
      std::memmove(&son[k + 1], &son[k], sizeof(son[0]) * size_t(j2 - k));
      freq[k] = uint16_t(f);
      son[k] = int16_t(i);
    }
    for (int k = 0; k < T; ++k) {
      const int v = son[k];
      parent[v] = int16_t(k);
      if (v < T) parent[v + 1] = int16_t(k);
    }
    TopOutOfDate();
  }

  // Puts every entry out of date and starts the stamps again.
  void ResetTop() {
    std::memset(inTop, 0, sizeof inTop);
    for (TTopEntry& e : top)
      e.Stamp = 0;
    stamp = 1;
  }
  // Puts every entry out of date.
  void TopOutOfDate() {
    if (++stamp == 0) ResetTop();
  }
  // Makes the entry of `prefix` again from the tree as it is now.
  const TTopEntry& ReadTop(unsigned prefix) {
    TTopEntry& e = top[prefix];
    inTop[R] = stamp;
    int node = R;
    int depth = 0;
    do {
      node = son[node] + int((prefix >> (TopBits - 1 - depth)) & 1);
      inTop[node] = stamp;
      e.Path[depth++] = int16_t(node);
    } while (depth < TopBits && son[node] < T);
    e.Length = uint8_t(depth);
    e.Stamp = stamp;
    return e;
  }

  // The last node after c whose count is below k, given that freq[c + 1] is. The counts
  // ascend with the node index and freq[T] is 0xFFFF, so this is the node before the first
  // one after c whose count is k or more.
  int LastBelow(int c, unsigned k) const {
#ifdef TARNEL_LZH_SSE2
    // Eight counts at a time; the comparison is signed, so both sides are offset by 0x8000.
    const __m128i bias = _mm_set1_epi16(int16_t(0x8000));
    const __m128i limit = _mm_xor_si128(_mm_set1_epi16(int16_t(uint16_t(k))), bias);
    for (int i = c + 1;; i += ScanWidth) {
      const __m128i v =
          _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&freq[i])), bias);
      const unsigned below = unsigned(_mm_movemask_epi8(_mm_cmplt_epi16(v, limit)));
      if (below != 0xFFFF) return i - 1 + std::countr_one(below) / 2;
    }
#else
    int lo = c + 1;
    while (freq[lo + 1] < k)
      ++lo;
    return lo;
#endif
  }

  // Moves node c, whose count has just become k, behind the last lighter node l, with its
  // subtree, and gives l.
  int Swap(int c, unsigned k) {
    const int l = LastBelow(c, k);
    if (inTop[c] == stamp || inTop[l] == stamp) TopOutOfDate();
    freq[c] = freq[l];
    freq[l] = uint16_t(k);
    const int i = son[c];
    parent[i] = int16_t(l);
    if (i < T) parent[i + 1] = int16_t(l);
    const int j = son[l];
    son[l] = int16_t(i);
    parent[j] = int16_t(c);
    if (j < T) parent[j + 1] = int16_t(c);
    son[c] = int16_t(j);
    return l;
  }

  // Counts one more use of every node from c up to the root, keeping the order of counts.
  void CountFrom(int c) {
    do {
      const unsigned k = ++freq[c];
      if (k > freq[c + 1]) c = Swap(c, k);
      c = parent[c];
    } while (c != 0);
  }

  // Decodes a symbol and updates the tree for it. The nodes walked down are kept, so that
  // the update climbs them without chasing parent links until the first swap changes the
  // shape. Node 0 always holds a leaf (the lowest count), so only the root has parent 0.
  int DecodeSymbol(TBitReader& in) {
    // The walk takes its bits from a copy of the buffer, at most 32 at a time.
    in.Need32();
    uint64_t bits = in.Peek();
    const unsigned prefix = unsigned(bits >> (64 - TopBits));
    const TTopEntry& e = top[prefix].Stamp == stamp ? top[prefix] : ReadTop(prefix);
    unsigned used = e.Length;
    bits <<= used;
    int16_t path[T]; // the nodes below the root walked through; a walk meets none twice
    std::memcpy(path, e.Path, sizeof e.Path);
    int depth = int(used);
    int node = path[depth - 1];
    while (son[node] < T) {
      if (used == 32) {
        in.Skip(used);
        in.Need32();
        bits = in.Peek();
        used = 0;
      }
      node = son[node] + int(bits >> 63);
      bits <<= 1;
      ++used;
      path[depth++] = int16_t(node);
    }
    in.Skip(used);
    const int symbol = son[node] - T;

    if (freq[R] == TLZH::MaxFreq) {
      Rebuild();
      CountFrom(parent[symbol + T]);
      return symbol;
    }
    for (int i = depth - 1; i >= 0; --i) {
      const int c = path[i];
      const unsigned k = ++freq[c];
      if (k > freq[c + 1]) {
        const int up = parent[Swap(c, k)];
        if (up != 0) CountFrom(up);
        return symbol;
      }
    }
    ++freq[R];
    return symbol;
  }
};

// The match position: the upper 6 bits coded by the first 8 bits of the code (3 to 8 of
// them used), then the lower 6 bits as they stand.
unsigned DecodePosition(TBitReader& in) {
  in.Need32();
  const unsigned bits = unsigned(in.Peek() >> 50); // the next 14 bits
  const unsigned head = bits >> 6;
  const unsigned used = kPositions.length[head] + 6u;
  in.Skip(used);
  return unsigned(kPositions.code[head]) << 6 | ((bits >> (14 - used)) & 0x3F);
}

// Byte `back` places before the start of the output: the ring starts with RingFill spaces
// and N - RingFill zero bytes, and the output is written from RingFill on.
uint8_t BeforeStart(std::size_t back) {
  return back > std::size_t(RingFill) ? 0 : uint8_t(' ');
}

} // namespace

const std::array<uint8_t, 256>& TLZH::PositionCodes() {
  return kPositions.code;
}
const std::array<uint8_t, 256>& TLZH::PositionLengths() {
  return kPositions.length;
}

std::vector<uint8_t> TLZH::Expand(int32_t expectedSize, std::span<const uint8_t> input) const {
  std::vector<uint8_t> out;
  Expand(expectedSize, input, out);
  return out;
}

void TLZH::Expand(int32_t expectedSize, std::span<const uint8_t> input,
                  std::vector<uint8_t>& output) const {
  output.clear();
  if (expectedSize <= 0) return;
  const std::size_t expected = std::size_t(expectedSize);
  if (expected > FOutputLimit) throw ElzhException(TooLargeMessage);

  std::unique_ptr<THuffmanTree> tree(new (std::nothrow) THuffmanTree);
  if (!tree) throw ElzhException(NoMemoryMessage);
  tree->Start();

  // A match may run up to F - 1 bytes past the expected size, and matches are copied in
  // blocks of 16 bytes; the buffer is trimmed after.
  output.resize(expected + CopySlack);
  uint8_t* const out = output.data();
  std::size_t count = 0;
  TBitReader in(input);
  while (count < expected) {
    const int c = tree->DecodeSymbol(in);
    if (c < 256) {
      out[count++] = uint8_t(c);
      continue;
    }
    // The ring holds the last N bytes written, so a match reads the output itself, or the
    // ring's first content while it reaches back past the start.
    const std::size_t distance = DecodePosition(in) + 1;
    const std::size_t length = std::size_t(c) - 255 + TLZH::Threshold;
    uint8_t* dst = out + count;
    if (distance > count) {
      for (std::size_t k = 0; k < length; ++k, ++count)
        out[count] = count >= distance ? out[count - distance] : BeforeStart(distance - count);
    } else if (distance >= 16) {
      // Each block reads only bytes written before it.
      for (std::size_t k = 0; k < length; k += 16)
        std::memcpy(dst + k, dst + k - distance, 16);
      count += length;
    } else {
      const uint8_t* src = dst - distance;
      for (std::size_t k = 0; k < length; ++k)
        dst[k] = src[k];
      count += length;
    }
  }
  output.resize(count);
}
