#include "config/ConfigText.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kNowhere = std::string_view::npos;

// The content of a file of bytes, a unit a byte.
class ByteText {
public:
    explicit ByteText(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t size() const { return m_bytes.size(); }
    unsigned char operator[](std::size_t i) const { return static_cast<unsigned char>(m_bytes[i]); }
    // The first unit at or after `from` that is `c`.
    std::size_t Find(unsigned char c, std::size_t from) const {
        return m_bytes.find(static_cast<char>(c), from);
    }

private:
    std::string_view m_bytes;
};

// The text of a UTF-16 file after its byte-order mark, read in place: places count units. The
// byte order is a parameter of the type, so that the compiler makes vector instructions of the
// loops over units.
template <bool LittleEndian>
class Utf16Text {
public:
    explicit Utf16Text(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t size() const { return m_bytes.size() / 2; }
    char16_t operator[](std::size_t i) const {
        const auto at = reinterpret_cast<const unsigned char*>(m_bytes.data()) + 2 * i;
        return static_cast<char16_t>(at[1 - kLow] << 8 | at[kLow]);
    }
    // The first unit at or after `from` that is `c`, searched for as a byte: the first byte `c`
    // that belongs to a unit `c`.
    std::size_t Find(unsigned char c, std::size_t from) const {
        for (std::size_t at = 2 * from; (at = m_bytes.find(static_cast<char>(c), at)) != kNowhere;
             ++at)
            if ((*this)[at / 2] == c)
                return at / 2;
        return kNowhere;
    }

private:
    static constexpr std::size_t kLow = LittleEndian ? 0 : 1; // the byte of a unit's low half
    std::string_view m_bytes;
};

// `from`, moved on by 64 units at a time over the blocks in which `holds(i)` is false at every
// unit (a loop of vector instructions); at least 65 units are left after the last block.
template <typename Holds>
std::size_t SkipBlocksWithout(std::size_t from, std::size_t size, Holds holds) {
    for (; from + 64 < size; from += 64) {
        unsigned char any = 0;
        for (std::size_t j = 0; j < 64; ++j)
            any |= holds(from + j);
        if (any != 0)
            break;
    }
    return from;
}

bool IsLineEnd(unsigned unit) {
    return unit == '\n' || unit == '\r';
}

// Walks the lines of `text` and gives the new content in pieces: `copy` receives a range
// [from, to) of `text` that stays as it is, `insert` a rule's line or a line end, in bytes. A
// key's byte matches the unit of that value.
//
// Only the lines that may change are looked at: those that hold a key (searched for by its first
// unit, with memchr) and those that end otherwise than in CR LF (searched for 64 units at a
// time). The lines between two of them stay, as one range.
template <typename Text, typename Copy, typename Insert>
void RewriteLines(const Text& text, const std::vector<LineRule>& rules, Copy copy, Insert insert) {
    const std::size_t size = text.size();
    const auto unit = [](char c) { return static_cast<unsigned char>(c); };
    const auto isAt = [&](std::string_view key, std::size_t at) { // `key` is in the text at `at`
        if (key.size() > size - at)
            return false;
        for (std::size_t i = 0; i < key.size(); ++i)
            if (text[at + i] != unit(key[i]))
                return false;
        return true;
    };

    // A key without a line end in it is held by the line whose content holds it; one that ends in
    // a line end, the rest without one, by the line that ends so with the rest; an empty key by
    // every line; any other by none.
    enum class Held { InLine, AtEnd, Never };
    std::vector<Held> held;
    std::vector<std::string> written; // a rule's line, in the Windows text convention
    // The keys held in their line by their first unit, those that begin alike searched for
    // together: `next`, where one of them is next found.
    std::string firsts;
    std::array<std::vector<std::string_view>, 256> keysFrom;
    std::array<std::size_t, 256> next{};
    for (const LineRule& rule : rules) {
        const std::string_view key = rule.key;
        const std::size_t lineEnd = key.find_first_of("\r\n");
        held.push_back(!key.empty() && lineEnd == kNowhere        ? Held::InLine
                       : key.empty() || lineEnd == key.size() - 1 ? Held::AtEnd
                                                                  : Held::Never);
        if (held.back() == Held::InLine) {
            std::vector<std::string_view>& alike = keysFrom[unit(key[0])];
            if (alike.empty())
                firsts += key[0];
            alike.push_back(key);
        }
        std::string line;
        for (const char c : rule.line)
            (c == '\n' ? line += "\r\n" : line += c);
        written.push_back(std::move(line));
    }
    const auto findKey = [&](unsigned char first, std::size_t at) {
        for (at = text.Find(first, at); at != kNowhere; at = text.Find(first, at + 1))
            for (const std::string_view key : keysFrom[first])
                if (isAt(key, at))
                    return at;
        return kNowhere;
    };
    // The first line end at or after `from`, a line's start, that is not CR LF (every line end,
    // where a key may be held at the end); kNowhere if none.
    const bool everyEnd = std::find(held.begin(), held.end(), Held::AtEnd) != held.end();
    const auto nextOddEnd = [&](std::size_t from) {
        const auto odd = [&](std::size_t i) {
            return everyEnd ? IsLineEnd(text[i])
                            : (text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n')) ||
                                  (text[i] == '\n' && (i == from || text[i - 1] != '\r'));
        };
        std::size_t i = from;
        if (!everyEnd && i < size && !odd(i)) // blocks where each CR is followed by an LF
            i = SkipBlocksWithout(
                i, size, [&](std::size_t q) { return (text[q] == '\r') != (text[q + 1] == '\n'); });
        while (i < size && !odd(i))
            ++i;
        return i < size ? i : kNowhere;
    };

    std::size_t pos = 0, copied = 0; // the text before `copied` is given
    std::size_t oddEnd = nextOddEnd(0);
    for (const char first : firsts)
        next[unit(first)] = findKey(unit(first), 0);
    while (pos < size) {
        oddEnd = oddEnd < pos ? nextOddEnd(pos) : oddEnd;
        std::size_t at = oddEnd; // the next place that may change its line
        for (const char first : firsts) {
            std::size_t& found = next[unit(first)];
            found = found < pos ? findKey(unit(first), pos) : found;
            at = std::min(at, found);
        }
        if (at == kNowhere)
            break;
        // Its line; the lines before it since `pos` end in CR LF and stay.
        std::size_t start = at, end = at;
        while (start > pos && !IsLineEnd(text[start - 1]))
            --start;
        while (end < size && !IsLineEnd(text[end]))
            ++end;
        if (end == size) // the last line, without line end, stays as it is
            break;
        // CR LF reads as one LF; a CR that no LF follows ends the line and stays.
        const bool crLfEnd = text[end] == '\r' && end + 1 < size && text[end + 1] == '\n';
        const char lineEnd = crLfEnd ? '\n' : static_cast<char>(text[end]);
        const std::size_t after = end + (crLfEnd ? 2 : 1);

        // The first rule whose key the line holds (its end included).
        std::size_t rule = 0;
        for (; rule < rules.size(); ++rule) {
            const std::string_view key = rules[rule].key;
            if (held[rule] == Held::InLine && next[unit(key[0])] < end) {
                std::size_t q = start;
                while (q + key.size() <= end && !isAt(key, q))
                    ++q;
                if (q + key.size() <= end)
                    break;
            }
            const std::size_t rest = key.empty() ? 0 : key.size() - 1;
            if (held[rule] == Held::AtEnd &&
                (key.empty() || (key.back() == lineEnd && rest <= end - start &&
                                 isAt(key.substr(0, rest), end - rest))))
                break;
        }
        if (rule < rules.size() || (lineEnd == '\n' && !crLfEnd)) { // an LF alone becomes CR LF
            copy(copied, rule < rules.size() ? start : end);
            insert(rule < rules.size() ? std::string_view(written[rule]) : "\r\n");
            copied = after;
        }
        pos = after;
    }
    copy(copied, size);
}

} // namespace

TextRewrite RewriteText(std::string_view file, const std::vector<LineRule>& rules) {
    TextRewrite out;
    out.text.reserve(file.size() + file.size() / 8);
    const bool littleEndian = file.starts_with("\xff\xfe");
    if (!littleEndian && !file.starts_with("\xfe\xff")) {
        RewriteLines(
            ByteText(file), rules,
            [&](std::size_t from, std::size_t to) { out.text.append(file, from, to - from); },
            [&](std::string_view bytes) { out.text += bytes; });
        return out;
    }

    // UTF-16 after its byte-order mark.
    if (file.size() % 2 != 0)
        return {{}, "файл в кодировке UTF-16 поврежден (нечетное число байтов)"};
    const auto rewrite = [&](const auto& text) -> TextRewrite {
        const std::size_t size = text.size();
        const auto surrogate = [&](std::size_t i) { return (text[i] & 0xf800) == 0xd800; };
        for (std::size_t i = 0; (i = SkipBlocksWithout(i, size, surrogate)) < size;) {
            for (const std::size_t stop = std::min(i + 64, size); i < stop; ++i) {
                if (!surrogate(i))
                    continue;
                if (text[i] >= 0xdc00 || i + 1 == size || text[i + 1] < 0xdc00 ||
                    text[i + 1] >= 0xe000)
                    return {{}, "файл в кодировке UTF-16 поврежден (непарный суррогат)"};
                ++i; // the pair's second unit
            }
        }
        out.text.assign(file.substr(0, 2)); // the mark, as it was
        RewriteLines(
            text, rules,
            // What stays is the file's own bytes.
            [&](std::size_t from, std::size_t to) {
                out.text.append(file, 2 + 2 * from, 2 * (to - from));
            },
            [&](std::string_view bytes) {
                for (const char c : bytes)
                    out.text.append(littleEndian ? std::initializer_list<char>{c, '\0'}
                                                 : std::initializer_list<char>{'\0', c});
            });
        return std::move(out);
    };
    return littleEndian ? rewrite(Utf16Text<true>(file.substr(2)))
                        : rewrite(Utf16Text<false>(file.substr(2)));
}
