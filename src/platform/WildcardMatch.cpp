#include "WildcardMatch.h"

#include <cstdint>
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
using Piece = std::vector<Unit<Ch>>;

// The pattern cut at its '%'s: n stars give n + 1 pieces, some of them maybe empty.
template <typename Ch>
std::vector<Piece<Ch>> piecesOf(std::basic_string_view<Ch> p, std::optional<Ch> esc) {
    std::vector<Piece<Ch>> pieces(1);
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
bool fitsAt(const Piece<Ch>& piece, std::basic_string_view<Ch> s, size_t at) {
    for (size_t k = 0; k < piece.size(); ++k)
        if (!piece[k].any && piece[k].ch != s[at + k]) return false;
    return true;
}

// Where a piece without '_' first starts at or after `from`: Knuth-Morris-Pratt, O(n + m).
template <typename Ch>
size_t findLiteral(const Piece<Ch>& piece, std::basic_string_view<Ch> s, size_t from) {
    const size_t m = piece.size();
    std::vector<size_t> border(m + 1, 0);  // border[k]: the longest proper border of piece[0, k)
    for (size_t k = 1, b = 0; k < m; ++k) {
        while (b > 0 && piece[k].ch != piece[b].ch) b = border[b];
        if (piece[k].ch == piece[b].ch) ++b;
        border[k + 1] = b;
    }
    for (size_t i = from, q = 0; i < s.size(); ++i) {
        while (q > 0 && s[i] != piece[q].ch) q = border[q];
        if (s[i] == piece[q].ch) ++q;
        if (q == m) return i + 1 - m;
    }
    return kNone;
}

// Where a piece holding '_' first starts at or after `from`: shift-and over bit sets of the
// piece's positions, O(n * m / 64). A character frequent in the piece has a whole mask (at
// most 64 can be); a rare one lists its few positions, so memory stays O(m).
template <typename Ch>
size_t findWithAny(const Piece<Ch>& piece, std::basic_string_view<Ch> s, size_t from) {
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

template <typename Ch>
size_t find(const Piece<Ch>& piece, std::basic_string_view<Ch> s, size_t from) {
    for (const Unit<Ch>& u : piece)
        if (u.any) return findWithAny(piece, s, from);
    return findLiteral(piece, s, from);
}

// The first piece is anchored at the start and the last at the end; each piece between
// takes its leftmost place after the one before, which leaves the most room to the rest.
template <typename Ch>
bool match(std::basic_string_view<Ch> p, std::basic_string_view<Ch> s, std::optional<Ch> esc) {
    const auto pieces = piecesOf(p, esc);
    const Piece<Ch>& first = pieces.front();
    if (pieces.size() == 1) return first.size() == s.size() && fitsAt(first, s, 0);
    const Piece<Ch>& last = pieces.back();
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

bool WildcardMatch(std::u16string_view pattern, std::u16string_view text,
                   std::optional<char16_t> escape) {
    return match(pattern, text, escape);
}

}  // namespace platform
