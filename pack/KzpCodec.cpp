// The base64 codec of the pack format. Both directions work on whole 3-byte / 4-character
// groups through lookup tables and fall back to the bit accumulator only for the last,
// partial group, so the result is exactly that of the accumulator run over every byte.
#include "pack/KzpCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint32_t kInvalid = 0x80000000u;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the table layouts below put the first output byte in the lowest address");

// Two alphabet characters per 12 bits, stored so that one 16-bit copy writes both in order.
constexpr std::array<std::uint16_t, 4096> MakePairs() {
  std::array<std::uint16_t, 4096> t{};
  for (unsigned v = 0; v < 4096; ++v)
    t[v] = static_cast<std::uint16_t>(static_cast<unsigned char>(kAlphabet[v >> 6]) |
                                      (static_cast<unsigned char>(kAlphabet[v & 63]) << 8));
  return t;
}

constexpr std::array<int, 256> MakeIndex() {
  std::array<int, 256> t{};
  for (auto &e : t)
    e = -1;
  for (int i = 0; i < 64; ++i)
    t[static_cast<unsigned char>(kAlphabet[i])] = i;
  return t;
}

// The decoding tables give, for the character at each of the four places of a group, its
// bits already moved to where they land in the three output bytes (first byte lowest), or
// kInvalid. OR-ing the four lookups yields the group's bytes or shows a character outside
// the alphabet.
constexpr std::array<std::array<std::uint32_t, 256>, 4> MakeDecodeTables() {
  std::array<std::array<std::uint32_t, 256>, 4> t{};
  const auto index = MakeIndex();
  for (unsigned c = 0; c < 256; ++c) {
    if (index[c] < 0) {
      for (auto &place : t)
        place[c] = kInvalid;
      continue;
    }
    const std::uint32_t v = static_cast<std::uint32_t>(index[c]);
    t[0][c] = v << 2;
    t[1][c] = (v >> 4) | ((v & 15u) << 12);
    t[2][c] = ((v >> 2) << 8) | ((v & 3u) << 22);
    t[3][c] = v << 16;
  }
  return t;
}

constexpr auto kPairs = MakePairs();
constexpr auto kIndex = MakeIndex();
constexpr auto kDecode = MakeDecodeTables();

#if defined(__x86_64__)
// 32 characters at a time with AVX2 where the processor has it: each byte is checked against
// the alphabet by two nibble lookups, turned into its 6-bit index by adding a per-range
// offset, and four indices are merged into three bytes. A block holding any character
// outside the alphabet is left to the table code, which finds the exact stop. Every block
// stores 32 bytes of which 24 count, so the caller leaves 8 bytes of room behind them.
__attribute__((target("avx2"))) std::size_t
DecodeBlocksAvx2(const unsigned char *in, std::size_t blocks, unsigned char *out) {
  const __m256i lutLo =
      _mm256_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x13, 0x1A, 0x1B,
                       0x1B, 0x1B, 0x1A, 0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                       0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A);
  const __m256i lutHi =
      _mm256_setr_epi8(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10, 0x10,
                       0x10, 0x10, 0x10, 0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10,
                       0x10, 0x10, 0x10, 0x10, 0x10, 0x10);
  const __m256i lutRoll =
      _mm256_setr_epi8(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16, 19, 4, -65,
                       -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m256i mask2F = _mm256_set1_epi8(0x2F);
  const __m256i mergePairs = _mm256_set1_epi32(0x01400140);
  const __m256i mergeQuads = _mm256_set1_epi32(0x00011000);
  const __m256i packLane = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,
                                            2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
  const __m256i packLanes = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
  std::size_t done = 0;
  for (; done < blocks; ++done) {
    __m256i str = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(in + done * 32));
    const __m256i hiNibbles = _mm256_and_si256(_mm256_srli_epi32(str, 4), mask2F);
    const __m256i loNibbles = _mm256_and_si256(str, mask2F);
    const __m256i hi = _mm256_shuffle_epi8(lutHi, hiNibbles);
    const __m256i lo = _mm256_shuffle_epi8(lutLo, loNibbles);
    if (!_mm256_testz_si256(lo, hi))
      break;
    const __m256i eq2F = _mm256_cmpeq_epi8(str, mask2F);
    const __m256i roll = _mm256_shuffle_epi8(lutRoll, _mm256_add_epi8(eq2F, hiNibbles));
    str = _mm256_add_epi8(str, roll);
    const __m256i pairs = _mm256_maddubs_epi16(str, mergePairs);
    __m256i bytes = _mm256_madd_epi16(pairs, mergeQuads);
    bytes = _mm256_shuffle_epi8(bytes, packLane);
    bytes = _mm256_permutevar8x32_epi32(bytes, packLanes);
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + done * 24), bytes);
  }
  return done;
}

// Asked during static initialisation, so the feature detection is set up first.
const bool kCpuHasAvx2 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();
bool gUseAvx2 = kCpuHasAvx2;
#else
std::size_t DecodeBlocksAvx2(const unsigned char *, std::size_t, unsigned char *) { return 0; }
const bool kCpuHasAvx2 = false;
bool gUseAvx2 = false;
#endif

inline void PutPair(char *out, unsigned v12) { std::memcpy(out, &kPairs[v12], 2); }

// Encodes `groups` complete 3-byte groups.
void EncodeGroups(const unsigned char *in, std::size_t groups, char *out) {
  const unsigned char *p = in;
  const unsigned char *end = in + groups * 3;
  // One 8-byte load covers two groups; the loop stops while 8 bytes are still readable.
  while (end - p >= 26) {
    for (int k = 0; k < 4; ++k) {
      std::uint64_t v;
      std::memcpy(&v, p, 8);
      v = __builtin_bswap64(v);
      const std::uint64_t chars = static_cast<std::uint64_t>(kPairs[(v >> 52) & 0xFFF]) |
                                  static_cast<std::uint64_t>(kPairs[(v >> 40) & 0xFFF]) << 16 |
                                  static_cast<std::uint64_t>(kPairs[(v >> 28) & 0xFFF]) << 32 |
                                  static_cast<std::uint64_t>(kPairs[(v >> 16) & 0xFFF]) << 48;
      std::memcpy(out, &chars, 8);
      p += 6;
      out += 8;
    }
  }
  while (p < end) {
    const unsigned v =
        (static_cast<unsigned>(p[0]) << 16) | (static_cast<unsigned>(p[1]) << 8) | p[2];
    PutPair(out, v >> 12);
    PutPair(out + 2, v & 0xFFF);
    p += 3;
    out += 4;
  }
}

// The 1 or 2 bytes after the last complete group: their bits padded on the right with zeros.
std::size_t EncodeTail(const unsigned char *p, std::size_t n, char *out) {
  if (n == 1) {
    out[0] = kAlphabet[p[0] >> 2];
    out[1] = kAlphabet[(p[0] & 3) << 4];
    return 2;
  }
  if (n == 2) {
    out[0] = kAlphabet[p[0] >> 2];
    out[1] = kAlphabet[((p[0] & 3) << 4) | (p[1] >> 4)];
    out[2] = kAlphabet[(p[1] & 15) << 2];
    return 3;
  }
  return 0;
}

std::size_t EncodedLength(std::size_t n) { return (n / 3) * 4 + (n % 3 == 0 ? 0 : n % 3 + 1); }

} // namespace

void EncodeBase64To(std::string_view bytes, std::string &out) {
  out.resize(EncodedLength(bytes.size()));
  const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
  const std::size_t groups = bytes.size() / 3;
  EncodeGroups(in, groups, out.data());
  EncodeTail(in + groups * 3, bytes.size() % 3, out.data() + groups * 4);
}

std::string EncodeBase64(std::string_view bytes) {
  std::string out;
  EncodeBase64To(bytes, out);
  return out;
}

std::size_t DecodeBase64To(std::string_view text, std::string &out) {
  const std::size_t n = text.size();
  // Spare bytes behind the output: groups and blocks are stored with wider writes than
  // the bytes that count.
  out.resize((n / 4) * 3 + 2 + 16);
  const auto *in = reinterpret_cast<const unsigned char *>(text.data());
  auto *dst = reinterpret_cast<unsigned char *>(out.data());
  std::size_t i = 0;
  std::size_t o = 0;
  if (gUseAvx2) {
    const std::size_t blocks = DecodeBlocksAvx2(in, n / 32, dst);
    i = blocks * 32;
    o = blocks * 24;
  }
  while (n - i >= 16) {
    const std::uint32_t a =
        kDecode[0][in[i]] | kDecode[1][in[i + 1]] | kDecode[2][in[i + 2]] | kDecode[3][in[i + 3]];
    const std::uint32_t b = kDecode[0][in[i + 4]] | kDecode[1][in[i + 5]] | kDecode[2][in[i + 6]] |
                            kDecode[3][in[i + 7]];
    const std::uint32_t c = kDecode[0][in[i + 8]] | kDecode[1][in[i + 9]] | kDecode[2][in[i + 10]] |
                            kDecode[3][in[i + 11]];
    const std::uint32_t d = kDecode[0][in[i + 12]] | kDecode[1][in[i + 13]] |
                            kDecode[2][in[i + 14]] | kDecode[3][in[i + 15]];
    if ((a | b | c | d) & kInvalid)
      break;
    std::memcpy(dst + o, &a, 4);
    std::memcpy(dst + o + 3, &b, 4);
    std::memcpy(dst + o + 6, &c, 4);
    std::memcpy(dst + o + 9, &d, 4);
    i += 16;
    o += 12;
  }
  while (n - i >= 4) {
    const std::uint32_t a =
        kDecode[0][in[i]] | kDecode[1][in[i + 1]] | kDecode[2][in[i + 2]] | kDecode[3][in[i + 3]];
    if (a & kInvalid)
      break;
    std::memcpy(dst + o, &a, 4);
    i += 4;
    o += 3;
  }
  // From a group boundary the accumulator is empty, so the character-by-character rule
  // takes over here with nothing carried: it finds the exact stop and the partial bytes.
  std::uint32_t acc = 0;
  int bits = 0;
  for (; i < n; ++i) {
    const int v = kIndex[in[i]];
    if (v < 0)
      break;
    acc = (acc << 6) | static_cast<std::uint32_t>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      dst[o++] = static_cast<unsigned char>(acc >> bits);
      acc &= (1u << bits) - 1;
    }
  }
  out.resize(o);
  return i;
}

namespace {

// The bytes of group `g` (up to three; fewer when the text ends inside the group).
std::size_t DecodeOneGroup(std::string_view text, std::size_t g, unsigned char *bytes) {
  const auto *in = reinterpret_cast<const unsigned char *>(text.data()) + g * 4;
  const std::size_t chars = std::min<std::size_t>(4, text.size() - g * 4);
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < chars; ++k)
    v |= kDecode[k][in[k]];
  std::memcpy(bytes, &v, 3);
  return chars == 4 ? 3 : (chars * 6) / 8;
}

} // namespace

void DecodeBase64Span(std::string_view text, std::size_t firstByte, std::size_t endByte,
                      char *out) {
  auto *dst = reinterpret_cast<unsigned char *>(out);
  std::size_t b = firstByte;
  unsigned char group[4];
  // A start inside a group: its bytes from the start on.
  if (b % 3 != 0 && b < endByte) {
    DecodeOneGroup(text, b / 3, group);
    const std::size_t from = b % 3;
    const std::size_t take = std::min<std::size_t>(3 - from, endByte - b);
    std::memcpy(dst, group + from, take);
    dst += take;
    b += take;
  }
  // Whole groups, all but the last written with spare bytes that the next overwrite.
  std::size_t groups = (endByte - b) / 3;
  const auto *in = reinterpret_cast<const unsigned char *>(text.data()) + (b / 3) * 4;
  if (gUseAvx2 && groups * 3 >= 32) {
    // Each block writes 8 bytes past its own, which must still lie inside the range.
    const std::size_t blocks = DecodeBlocksAvx2(in, (groups * 3 - 8) / 24, dst);
    in += blocks * 32;
    dst += blocks * 24;
    b += blocks * 24;
    groups -= blocks * 8;
  }
  for (; groups > 4; groups -= 4) {
    const std::uint32_t a =
        kDecode[0][in[0]] | kDecode[1][in[1]] | kDecode[2][in[2]] | kDecode[3][in[3]];
    const std::uint32_t c =
        kDecode[0][in[4]] | kDecode[1][in[5]] | kDecode[2][in[6]] | kDecode[3][in[7]];
    const std::uint32_t d =
        kDecode[0][in[8]] | kDecode[1][in[9]] | kDecode[2][in[10]] | kDecode[3][in[11]];
    const std::uint32_t e =
        kDecode[0][in[12]] | kDecode[1][in[13]] | kDecode[2][in[14]] | kDecode[3][in[15]];
    std::memcpy(dst, &a, 4);
    std::memcpy(dst + 3, &c, 4);
    std::memcpy(dst + 6, &d, 4);
    std::memcpy(dst + 9, &e, 4);
    in += 16;
    dst += 12;
    b += 12;
  }
  for (; groups > 1; --groups) {
    const std::uint32_t v =
        kDecode[0][in[0]] | kDecode[1][in[1]] | kDecode[2][in[2]] | kDecode[3][in[3]];
    std::memcpy(dst, &v, 4);
    in += 4;
    dst += 3;
    b += 3;
  }
  if (groups == 1) {
    const std::uint32_t v =
        kDecode[0][in[0]] | kDecode[1][in[1]] | kDecode[2][in[2]] | kDecode[3][in[3]];
    std::memcpy(dst, &v, 3);
    dst += 3;
    b += 3;
  }
  // An end inside a group.
  if (b < endByte) {
    DecodeOneGroup(text, b / 3, group);
    std::memcpy(dst, group, endByte - b);
  }
}

bool UseWideDecoder(bool on) {
  const bool was = gUseAvx2;
  gUseAvx2 = on && kCpuHasAvx2;
  return was;
}

std::string DecodeBase64(std::string_view text) {
  std::string out;
  DecodeBase64To(text, out);
  return out;
}

void TBase64StreamEncoder::Feed(std::string_view bytes, std::string &out) {
  const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
  std::size_t n = bytes.size();
  while (carryLength_ > 0 && carryLength_ < 3 && n > 0) {
    carry_[carryLength_++] = *p++;
    --n;
  }
  if (carryLength_ == 3) {
    const std::size_t at = out.size();
    out.resize(at + 4);
    EncodeGroups(carry_, 1, out.data() + at);
    carryLength_ = 0;
  }
  const std::size_t groups = n / 3;
  if (groups > 0) {
    const std::size_t at = out.size();
    out.resize(at + groups * 4);
    EncodeGroups(p, groups, out.data() + at);
  }
  for (std::size_t k = groups * 3; k < n; ++k)
    carry_[carryLength_++] = p[k];
}

void TBase64StreamEncoder::Finish(std::string &out) {
  char tail[3];
  out.append(tail, EncodeTail(carry_, carryLength_, tail));
  carryLength_ = 0;
}
