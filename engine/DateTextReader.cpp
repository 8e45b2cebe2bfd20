#include "engine/DateTextReader.h"

#include "engine/TextChars.h"

#include <array>
#include <vector>

namespace vostrel {
namespace {

using text::IsBlank;
using text::IsDigit;
using text::IsLetter;
using text::ToLowerAscii;

// No accepted form needs more; longer texts are refused before parsing.
constexpr std::size_t kMaxTokens = 16;
constexpr std::size_t kMaxDigits = 4;

struct Token {
    enum class Kind { number, word, punct };
    Kind kind;
    std::string_view text;
    int number = 0;
};

template <typename Predicate>
std::string_view TakeWhile(std::string_view text, std::size_t start, Predicate predicate)
{
    std::size_t end = start;
    while (end < text.size() && predicate(text[end]))
        ++end;
    return text.substr(start, end - start);
}

std::optional<std::vector<Token>> Tokenize(std::string_view text)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        if (tokens.size() == kMaxTokens)
            return std::nullopt;
        if (IsDigit(c)) {
            const std::string_view digits = TakeWhile(text, i, IsDigit);
            if (digits.size() > kMaxDigits)
                return std::nullopt;
            int value = 0;
            for (char d : digits)
                value = value * 10 + (d - '0');
            tokens.push_back({Token::Kind::number, digits, value});
            i += digits.size();
        } else if (IsLetter(c)) {
            const std::string_view word = TakeWhile(text, i, IsLetter);
            tokens.push_back({Token::Kind::word, word});
            i += word.size();
        } else if (c == '/' || c == '-' || c == ':' || c == ',' || c == '.') {
            tokens.push_back({Token::Kind::punct, text.substr(i, 1)});
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i]))
            return false;
    }
    return true;
}

// 1..12 for a month's name or an abbreviation of at least three letters.
std::optional<int> MonthFromName(std::string_view word)
{
    static constexpr std::array<std::string_view, 12> kMonths = {
        "january", "february", "march",     "april",   "may",      "june",
        "july",    "august",   "september", "october", "november", "december"};
    if (word.size() < 3)
        return std::nullopt;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (word.size() <= kMonths[i].size() && EqualsIgnoringCase(word, kMonths[i].substr(0, word.size())))
            return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

int YearFromNumber(const Token& token)
{
    if (token.text.size() > 2)
        return token.number;
    return token.number < 30 ? 2000 + token.number : 1900 + token.number;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    std::optional<ReadDateTime> Parse()
    {
        ReadDateTime result;
        if (StartsTime()) {
            result.timeOnly = true;
            if (!ParseTime(result.fields))
                return std::nullopt;
        } else {
            if (!ParseDate(result))
                return std::nullopt;
            if (!AtEnd()) {
                AcceptWord("t"); // ISO 8601 joins date and time with a T
                if (!ParseTime(result.fields))
                    return std::nullopt;
            }
        }
        if (!AtEnd())
            return std::nullopt;
        return result;
    }

private:
    const Token* Peek(std::size_t ahead = 0) const
    {
        return m_next + ahead < m_tokens.size() ? &m_tokens[m_next + ahead] : nullptr;
    }

    bool AtEnd() const { return m_next >= m_tokens.size(); }

    bool IsPunct(std::size_t ahead, char c) const
    {
        const Token* t = Peek(ahead);
        return t && t->kind == Token::Kind::punct && t->text[0] == c;
    }

    bool IsNumber(std::size_t ahead) const
    {
        const Token* t = Peek(ahead);
        return t && t->kind == Token::Kind::number;
    }

    bool IsMarker(std::size_t ahead) const
    {
        const Token* t = Peek(ahead);
        return t && t->kind == Token::Kind::word &&
               (EqualsIgnoringCase(t->text, "am") || EqualsIgnoringCase(t->text, "pm"));
    }

    // A number followed by a colon or by AM/PM begins a time of day.
    bool StartsTime() const { return IsNumber(0) && (IsPunct(1, ':') || IsMarker(1)); }

    bool AcceptPunct(char c)
    {
        if (!IsPunct(0, c))
            return false;
        ++m_next;
        return true;
    }

    bool AcceptWord(std::string_view word)
    {
        const Token* t = Peek();
        if (!t || t->kind != Token::Kind::word || !EqualsIgnoringCase(t->text, word))
            return false;
        ++m_next;
        return true;
    }

    const Token* AcceptNumber(std::size_t maxDigits)
    {
        const Token* t = Peek();
        if (!t || t->kind != Token::Kind::number || t->text.size() > maxDigits)
            return nullptr;
        ++m_next;
        return t;
    }

    std::optional<int> AcceptMonthName()
    {
        const Token* t = Peek();
        if (!t || t->kind != Token::Kind::word)
            return std::nullopt;
        const std::optional<int> month = MonthFromName(t->text);
        if (month)
            ++m_next;
        return month;
    }

    bool ParseDate(ReadDateTime& result)
    {
        DateTimeFields& f = result.fields;
        if (const std::optional<int> month = AcceptMonthName()) { // Dec 31, 2027
            AcceptPunct('.');
            const Token* day = AcceptNumber(2);
            if (!day)
                return false;
            f.month = *month;
            f.day = day->number;
            return ParseTrailingYear(result);
        }
        const Token* first = AcceptNumber(kMaxDigits);
        if (!first)
            return false;
        if (const std::optional<int> month = AcceptMonthName()) { // 31 December 2027
            if (first->text.size() > 2)
                return false;
            f.month = *month;
            f.day = first->number;
            return ParseTrailingYear(result);
        }
        const char separator = IsPunct(0, '/') ? '/' : '-';
        if (!AcceptPunct(separator))
            return false;
        const Token* second = AcceptNumber(2);
        if (!second)
            return false;
        if (first->text.size() > 2) { // 2027-12-31: the year comes first
            const Token* day = AcceptPunct(separator) ? AcceptNumber(2) : nullptr;
            if (!day)
                return false;
            f.year = first->number;
            f.month = second->number;
            f.day = day->number;
            return true;
        }
        f.month = first->number;
        f.day = second->number;
        if (!AcceptPunct(separator)) {
            result.yearOmitted = true;
            return true;
        }
        const Token* year = AcceptNumber(kMaxDigits);
        if (!year)
            return false;
        f.year = YearFromNumber(*year);
        return true;
    }

    // After a month name and a day: an optional comma and year. A number
    // that begins a time ("Dec 31 5 PM") is left for the time.
    bool ParseTrailingYear(ReadDateTime& result)
    {
        AcceptPunct(',');
        if (IsNumber(0) && !StartsTime()) {
            result.fields.year = YearFromNumber(*AcceptNumber(kMaxDigits));
            return true;
        }
        result.yearOmitted = true;
        return true;
    }

    bool ParseTime(DateTimeFields& f)
    {
        const Token* hour = AcceptNumber(2);
        if (!hour)
            return false;
        f.hour = hour->number;
        bool hasMinutes = false;
        if (AcceptPunct(':')) {
            const Token* minute = AcceptNumber(2);
            if (!minute)
                return false;
            f.minute = minute->number;
            hasMinutes = true;
            if (AcceptPunct(':')) {
                const Token* second = AcceptNumber(2);
                if (!second)
                    return false;
                f.second = second->number;
            }
        }
        const bool am = AcceptWord("am");
        const bool pm = !am && AcceptWord("pm");
        if (!hasMinutes && !am && !pm)
            return false; // a bare hour needs AM or PM
        // With an hour above 12 the marker says nothing new and is ignored.
        if (am && f.hour == 12)
            f.hour = 0;
        if (pm && f.hour < 12)
            f.hour += 12;
        return f.hour < 24 && f.minute < 60 && f.second < 60;
    }

    std::vector<Token> m_tokens;
    std::size_t m_next = 0;
};

} // namespace

std::optional<ReadDateTime> ReadDateTimeText(std::string_view text)
{
    std::optional<std::vector<Token>> tokens = Tokenize(text);
    if (!tokens || tokens->empty())
        return std::nullopt;
    return Parser(std::move(*tokens)).Parse();
}

} // namespace vostrel
