// The benchmarks' yardstick: a plain expander of the skin LZH stream, written the way a
// short C program would, straight from the format (4096-byte ring starting with 4036 spaces
// and 60 zero bytes; one adaptive Huffman tree over 314 symbols, rebuilt with halved counts
// when the root reaches 0x8000; match positions as a prefix code for the upper 6 bits and 6
// plain bits; bytes past the end of the input read as zero). One static table set, a 64-bit
// bit buffer, the tree update and the match copy written straight. It shares no code with
// the program's decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plainlzh {

enum { N = 4096, F = 60, NCHAR = 256 - 2 + F, T = NCHAR * 2 - 1, R = T - 1 };

static unsigned short freq[T + 1];
static short prnt[T + NCHAR];
static short son[T];
static unsigned char text[N];
static unsigned char dcode[256], dlen[256];

static const unsigned char* inp;
static const unsigned char* inend;
static uint64_t bitbuf;
static int bitcnt;

static void fill() {
  while (bitcnt <= 56) {
    uint64_t b = inp < inend ? *inp++ : 0;
    bitbuf |= b << (56 - bitcnt);
    bitcnt += 8;
  }
}

static int getbit() {
  if (bitcnt == 0) fill();
  int b = (int)(bitbuf >> 63);
  bitbuf <<= 1;
  bitcnt--;
  return b;
}

static int getbyte() {
  if (bitcnt < 8) fill();
  int b = (int)(bitbuf >> 56);
  bitbuf <<= 8;
  bitcnt -= 8;
  return b;
}

static void starthuff() {
  int i, j;
  for (i = 0; i < NCHAR; i++) {
    freq[i] = 1;
    son[i] = (short)(i + T);
    prnt[i + T] = (short)i;
  }
  for (i = 0, j = NCHAR; j <= R; i += 2, j++) {
    freq[j] = (unsigned short)(freq[i] + freq[i + 1]);
    son[j] = (short)i;
    prnt[i] = prnt[i + 1] = (short)j;
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
  // Position codes: bands of 1, 3, 8, 12, 24 and 16 upper values coded in 3 to 8 bits.
  static const int count[6] = {1, 3, 8, 12, 24, 16};
  int k = 0, code = 0;
  for (i = 0; i < 6; i++)
    for (j = 0; j < count[i]; j++, code++)
      for (int m = 0; m < (32 >> i); m++, k++) {
        dcode[k] = (unsigned char)code;
        dlen[k] = (unsigned char)(3 + i);
      }
}

static void reconst() {
  int i, j, k;
  unsigned f;
  for (i = j = 0; i < T; i++)
    if (son[i] >= T) {
      freq[j] = (unsigned short)((freq[i] + 1) / 2);
      son[j] = son[i];
      j++;
    }
  for (i = 0, j = NCHAR; j < T; i += 2, j++) {
    f = freq[i] + freq[i + 1];
    for (k = j - 1; f < freq[k]; k--) {
    }
    k++;
    memmove(&freq[k + 1], &freq[k], (size_t)(j - k) * sizeof freq[0]);
    memmove(&son[k + 1], &son[k], (size_t)(j - k) * sizeof son[0]);
    freq[k] = (unsigned short)f;
    son[k] = (short)i;
  }
  for (i = 0; i < T; i++) {
    k = son[i];
    prnt[k] = (short)i;
    if (k < T) prnt[k + 1] = (short)i;
  }
}

static void update(int c) {
  int i, j, l;
  unsigned k;
  if (freq[R] == 0x8000) reconst();
  c = prnt[c + T];
  do {
    k = ++freq[c];
    if (k > freq[c + 1]) {
      l = c + 1;
      while (k > freq[l + 1])
        l++;
      freq[c] = freq[l];
      freq[l] = (unsigned short)k;
      i = son[c];
      prnt[i] = (short)l;
      if (i < T) prnt[i + 1] = (short)l;
      j = son[l];
      son[l] = (short)i;
      prnt[j] = (short)c;
      if (j < T) prnt[j + 1] = (short)c;
      son[c] = (short)j;
      c = l;
    }
  } while ((c = prnt[c]) != 0);
}

// Expands `insize` bytes at `in` into `out`, which has room for size + F - 1 bytes; gives
// the number of bytes written (at least `size`, the last match whole).
static size_t expand(const unsigned char* in, size_t insize, unsigned char* out, size_t size) {
  inp = in;
  inend = in + insize;
  bitbuf = 0;
  bitcnt = 0;
  starthuff();
  memset(text, ' ', N - F);
  memset(text + N - F, 0, F);
  unsigned r = N - F;
  size_t count = 0;
  while (count < size) {
    int c = son[R];
    while (c < T)
      c = son[c + getbit()];
    c -= T;
    update(c);
    if (c < 256) {
      out[count++] = (unsigned char)c;
      text[r++ & (N - 1)] = (unsigned char)c;
    } else {
      unsigned i = (unsigned)getbyte();
      unsigned upper = (unsigned)dcode[i] << 6;
      for (int n = dlen[i] - 2; n > 0; n--)
        i = (i << 1) + (unsigned)getbit();
      unsigned from = r - ((upper | (i & 0x3F)) + 1);
      for (int k = 0; k < c - 253; k++) {
        unsigned char b = text[(from + (unsigned)k) & (N - 1)];
        out[count++] = b;
        text[r++ & (N - 1)] = b;
      }
    }
  }
  return count;
}

} // namespace plainlzh
