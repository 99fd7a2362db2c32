#include "tools/search/ti_search.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace vistrel::search {
namespace {

// GCC's and Clang's portable vectors: 32 bytes wide with AVX2, two SSE2 or
// NEON registers elsewhere. They never cross a call (the helpers are always
// inlined), so the warning that such a call's ABI depends on AVX is moot.
#pragma GCC diagnostic ignored "-Wpsabi"
using Lanes = unsigned char __attribute__((vector_size(32)));
using Words = std::uint64_t __attribute__((vector_size(32)));  // the same bits, read in four
constexpr std::size_t kLanes = sizeof(Lanes);
constexpr std::size_t kStride = 2 * kLanes;  // windows filtered a round; two vectors hide one's latency
static_assert(std::endian::native == std::endian::little, "a lane's bit is found from the low end");

[[gnu::always_inline]] inline Lanes load(const unsigned char* bytes) {
  Lanes lanes;
  std::memcpy(&lanes, bytes, kLanes);
  return lanes;
}

// A phrase byte as the lanes are compared with it: a lower-case letter with
// the bit that sets its case, so that both cases become it.
struct Folded {
  explicit Folded(unsigned char lower) : byte(lower), caseBit(lower >= 'a' && lower <= 'z' ? 0x20 : 0) {}
  // 0xFF in each lane that holds the byte, 0 elsewhere.
  [[gnu::always_inline]] Lanes in(Lanes lanes) const { return reinterpret_cast<Lanes>((lanes | caseBit) == byte); }
  unsigned char byte, caseBit;
};

// Marks the lanes whose window, of the phrase's length m, starts and ends with
// the phrase's first and last byte. A function rather than a lambda in Find:
// under the sanitizers a lambda's captures are lost in a cloned function; and
// the result goes out through a reference, as clang refuses to pass a vector
// by value between a clone and a plain function.
[[gnu::always_inline]] inline void fitsAt(const unsigned char* window, std::size_t m, const Folded& first,
                                          const Folded& last, Words& fits) {
  fits = reinterpret_cast<Words>(first.in(load(window)) & last.in(load(window + m - 1)));
}

bool matchesAt(const unsigned char* window, std::string_view phrase, const std::array<unsigned char, 256>& lower) {
  for (std::size_t i = 0; i < phrase.size(); ++i) {
    if (lower[window[i]] != static_cast<unsigned char>(phrase[i])) return false;
  }
  return true;
}

// Cloned here rather than as Find itself: clang names the clones of a function
// that other files call in a way their calls do not reach.
[[gnu::target_clones("avx2", "default")]] TTISearch::Scan scan(std::string_view phrase,
                                                               const std::array<unsigned char, 256>& lower,
                                                               std::string_view text, std::size_t from) {
  const std::size_t m = phrase.size(), n = text.size();
  if (m == 0) return {true, from};
  if (n < m || from > n - m) return {false, from};
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t lastWindow = n - m;
  std::size_t pos = from;
  const Folded first(static_cast<unsigned char>(phrase.front())), last(static_cast<unsigned char>(phrase.back()));
  for (; pos + kStride - 1 <= lastWindow; pos += kStride) {
    Words low, high;
    fitsAt(bytes + pos, m, first, last, low);
    fitsAt(bytes + pos + kLanes, m, first, last, high);
    const Words any = low | high;
    if ((any[0] | any[1] | any[2] | any[3]) == 0) continue;
    const std::uint64_t words[] = {low[0], low[1], low[2], low[3], high[0], high[1], high[2], high[3]};
    for (std::size_t word = 0; word < 8; ++word) {
      for (std::uint64_t bits = words[word] & 0x8080808080808080u; bits != 0; bits &= bits - 1) {
        const std::size_t at = pos + word * 8 + std::size_t(std::countr_zero(bits)) / 8;
        if (matchesAt(bytes + at, phrase, lower)) return {true, at};
      }
    }
  }
  for (; pos <= lastWindow; ++pos) {
    if (matchesAt(bytes + pos, phrase, lower)) return {true, pos};
  }
  return {false, pos};
}

}  // namespace

TTISearch::TTISearch(std::string_view phrase) {
  for (int byte = 0; byte < 256; ++byte) {
    lower_[std::size_t(byte)] = static_cast<unsigned char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
  }
  for (const char c : phrase) phrase_ += static_cast<char>(lower_[static_cast<unsigned char>(c)]);
}

TTISearch::Scan TTISearch::Find(std::string_view text, std::size_t from) const {
  return scan(phrase_, lower_, text, from);
}

}  // namespace vistrel::search
