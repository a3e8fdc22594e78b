#include "WildcardMatch.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// One position of a piece of the pattern: a character to equal, or any one ('_').
template <typename Ch>
struct Unit {
    Ch ch;
    bool any;
};
template <typename Ch>
using PatternPiece = std::vector<Unit<Ch>>;

// The pattern cut at its '%'s: n stars give n + 1 pieces, some of them maybe empty.
template <typename Ch>
std::vector<PatternPiece<Ch>> patternPieces(std::basic_string_view<Ch> p, std::optional<Ch> esc) {
    std::vector<PatternPiece<Ch>> pieces(1);
    for (size_t i = 0; i < p.size(); ++i) {
        const Ch c = p[i];
        if (esc && c == *esc && i + 1 < p.size())
            pieces.back().push_back({p[++i], false});
        else if (c == Ch('%'))
            pieces.emplace_back();
        else
            pieces.back().push_back({c, c == Ch('_')});
    }
    return pieces;
}

template <typename Ch>
bool fitsAt(const PatternPiece<Ch>& piece, std::basic_string_view<Ch> s, size_t at) {
    for (size_t k = 0; k < piece.size(); ++k)
        if (!piece[k].any && piece[k].ch != s[at + k]) return false;
    return true;
}

// The occurrences of a plain word in a text, read left to right once: Knuth-Morris-Pratt.
template <typename Ch>
class Occurrences {
  public:
    Occurrences(std::basic_string_view<Ch> word, std::basic_string_view<Ch> s)
        : word_(word), s_(s), border_(word.size() + 1, 0) {
        for (size_t k = 1, b = 0; k < word.size(); ++k) {
            while (b > 0 && word[k] != word[b]) b = border_[b];
            if (word[k] == word[b]) ++b;
            border_[k + 1] = b;
        }
    }
    // Where the word first starts at or after `from`, or kNone. `from` never goes back.
    size_t next(size_t from) {
        if (found_ != kNone && found_ >= from) return found_;
        if (i_ < from) i_ = from, q_ = 0;
        const size_t m = word_.size();
        while (i_ < s_.size()) {
            const Ch c = s_[i_++];
            while (q_ > 0 && c != word_[q_]) q_ = border_[q_];
            if (c == word_[q_]) ++q_;
            if (q_ < m) continue;
            q_ = border_[m];
            if (i_ - m >= from) return found_ = i_ - m;
        }
        return found_ = kNone;
    }

  private:
    std::basic_string_view<Ch> word_, s_;
    std::vector<size_t> border_;  // border_[k]: the longest proper border of word[0, k)
    size_t i_ = 0, q_ = 0, found_ = kNone;
};

// A piece's plain runs between its '_'s, and where each starts in the piece.
template <typename Ch>
struct Runs {
    explicit Runs(const PatternPiece<Ch>& piece) {
        for (size_t k = 0; k < piece.size(); ++k) {
            if (piece[k].any) continue;
            if (k == 0 || piece[k - 1].any) offsets.push_back(k), words.emplace_back();
            words.back().push_back(piece[k].ch);
        }
    }
    std::vector<size_t> offsets;
    std::vector<std::basic_string<Ch>> words;
};

// Where a piece first starts at or after `from`, from its runs: each run's occurrences are
// read once, so O(n * runs + m); without '_' that is KMP's O(n + m).
template <typename Ch>
size_t findByRuns(const Runs<Ch>& piece, size_t length, std::basic_string_view<Ch> s, size_t from) {
    std::vector<Occurrences<Ch>> runs;
    for (const auto& word : piece.words) runs.emplace_back(word, s);
    for (size_t p = from; p + length <= s.size();) {
        size_t j = 0;
        for (; j < runs.size(); ++j) {
            const size_t at = runs[j].next(p + piece.offsets[j]);
            if (at == kNone) return kNone;
            if (at != p + piece.offsets[j]) break;
        }
        if (j == runs.size()) return p;
        p = runs[j].next(p + piece.offsets[j]) - piece.offsets[j];  // past p: try there
    }
    return kNone;
}

// Where a piece with many '_'s first starts at or after `from`: shift-and over bit sets of the
// piece's positions, O(n * m / 64). A character frequent in the piece has a whole mask (at
// most 64 can be); a rare one lists its few positions, so memory stays O(m).
template <typename Ch>
size_t findWithAny(const PatternPiece<Ch>& piece, std::basic_string_view<Ch> s, size_t from) {
    using Bits = std::vector<uint64_t>;
    const size_t m = piece.size(), words = (m + 63) / 64;
    auto bit = [](size_t k) { return uint64_t{1} << (k % 64); };
    Bits any(words, 0);
    std::unordered_map<Ch, std::vector<size_t>> rare;
    for (size_t k = 0; k < m; ++k) {
        if (piece[k].any)
            any[k / 64] |= bit(k);
        else
            rare[piece[k].ch].push_back(k);
    }
    std::unordered_map<Ch, Bits> frequent;
    for (auto it = rare.begin(); it != rare.end();) {
        if (it->second.size() * 64 < m) {
            ++it;
            continue;
        }
        Bits mask = any;
        for (size_t k : it->second) mask[k / 64] |= bit(k);
        frequent.emplace(it->first, std::move(mask));
        it = rare.erase(it);
    }
    Bits state(words, 0);  // bit k: piece[0, k] ends at the current character
    std::vector<size_t> kept;
    for (size_t i = from; i < s.size(); ++i) {
        uint64_t carry = 1;
        for (uint64_t& w : state) {
            const uint64_t out = w >> 63;
            w = (w << 1) | carry;
            carry = out;
        }
        if (auto f = frequent.find(s[i]); f != frequent.end()) {
            for (size_t w = 0; w < words; ++w) state[w] &= f->second[w];
        } else {
            kept.clear();
            if (auto r = rare.find(s[i]); r != rare.end())
                for (size_t k : r->second)
                    if (state[k / 64] & bit(k)) kept.push_back(k);
            for (size_t w = 0; w < words; ++w) state[w] &= any[w];
            for (size_t k : kept) state[k / 64] |= bit(k);
        }
        if (state[(m - 1) / 64] & bit(m - 1)) return i + 1 - m;
    }
    return kNone;
}

// Whichever costs less per character of text: a check per run, or a word per 64 units.
template <typename Ch>
size_t find(const PatternPiece<Ch>& piece, std::basic_string_view<Ch> s, size_t from) {
    const Runs<Ch> runs(piece);
    if (runs.words.size() <= (piece.size() + 63) / 64)
        return findByRuns(runs, piece.size(), s, from);
    return findWithAny(piece, s, from);
}

// The first piece is anchored at the start and the last at the end; each piece between
// takes its leftmost place after the one before, which leaves the most room to the rest.
template <typename Ch>
bool match(std::basic_string_view<Ch> p, std::basic_string_view<Ch> s, std::optional<Ch> esc) {
    const auto pieces = patternPieces(p, esc);
    const PatternPiece<Ch>& first = pieces.front();
    if (pieces.size() == 1) return first.size() == s.size() && fitsAt(first, s, 0);
    const PatternPiece<Ch>& last = pieces.back();
    if (first.size() + last.size() > s.size() || !fitsAt(first, s, 0)) return false;
    const size_t end = s.size() - last.size();  // where the last piece starts
    size_t pos = first.size();
    for (size_t k = 1; k + 1 < pieces.size(); ++k) {
        if (pieces[k].empty()) continue;
        const size_t found = find(pieces[k], s.substr(0, end), pos);
        if (found == kNone) return false;
        pos = found + pieces[k].size();
    }
    return fitsAt(last, s, end);
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text, std::optional<char> escape) {
    return match(pattern, text, escape);
}

bool WildcardMatch(std::u32string_view pattern, std::u32string_view text,
                   std::optional<char32_t> escape) {
    return match(pattern, text, escape);
}

}  // namespace platform
