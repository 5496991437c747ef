#include "platform/NumberParse.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <system_error>

namespace {

// Only this many leading bytes of a field take part in the check.
constexpr std::size_t kScannedBytes = 399;
// Exponents are read up to this size; anything beyond is out of range in any case.
constexpr long kExponentLimit = 100000;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a matched number, as offsets into the scanned text.
struct SNumberSpan {
    bool negative = false;
    std::size_t mantissaBegin = 0;  // first digit or "."
    std::size_t mantissaEnd = 0;    // end of the digits and "."
    std::size_t end = 0;            // end of the value's text: with its exponent if it has digits
    std::size_t integerDigits = 0;
    long exponent = 0;  // clamped to +-kExponentLimit
};

class CNumberScanner {
public:
    explicit CNumberScanner(std::string_view text) : m_text(text) {}

    // Matches the grammar at the start of the text; false when it does not begin with a number.
    bool Scan(SNumberSpan& span) {
        while (Peek() && IsBlank(*Peek())) ++m_pos;
        span.negative = SkipSign();
        span.mantissaBegin = m_pos;
        span.integerDigits = SkipDigits();
        std::size_t fractionDigits = 0;
        if (Peek() && *Peek() == '.') {
            ++m_pos;
            fractionDigits = SkipDigits();
        }
        if (span.integerDigits + fractionDigits == 0) return false;
        span.mantissaEnd = span.end = m_pos;
        ScanExponent(span);
        return true;
    }

private:
    const char* Peek() const { return m_pos < m_text.size() ? &m_text[m_pos] : nullptr; }

    // Skips an optional sign; true when it was "-".
    bool SkipSign() {
        if (!Peek() || (*Peek() != '+' && *Peek() != '-')) return false;
        return m_text[m_pos++] == '-';
    }

    std::size_t SkipDigits() {
        const std::size_t begin = m_pos;
        while (Peek() && IsDigit(*Peek())) ++m_pos;
        return m_pos - begin;
    }

    // "e" or "E", an optional sign, digits that may be missing; only digits add to the value.
    void ScanExponent(SNumberSpan& span) {
        if (!Peek() || (*Peek() != 'e' && *Peek() != 'E')) return;
        ++m_pos;
        const bool negative = SkipSign();
        long exponent = 0;
        const std::size_t digitsBegin = m_pos;
        for (; Peek() && IsDigit(*Peek()); ++m_pos) {
            if (exponent < kExponentLimit) exponent = exponent * 10 + (*Peek() - '0');
        }
        if (m_pos == digitsBegin) return;
        span.exponent = negative ? -exponent : exponent;
        span.end = m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The value of a number too large or too small for a double: infinity when its magnitude is
// above 1, else zero, with its sign.
double OutOfRangeValue(std::string_view text, const SNumberSpan& span) {
    long magnitude = static_cast<long>(span.integerDigits);
    std::size_t pos = span.mantissaBegin;
    for (; pos < span.mantissaEnd && (text[pos] == '0' || text[pos] == '.'); ++pos) {
        if (text[pos] == '0') --magnitude;
    }
    const bool overflow = pos < span.mantissaEnd && magnitude + span.exponent > 0;
    const double result = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    return span.negative ? -result : result;
}

}  // namespace

bool ParseLeadingNumber(std::string_view text, double& value) {
    text = text.substr(0, kScannedBytes);
    SNumberSpan span;
    if (!CNumberScanner(text).Scan(span)) return false;
    double magnitude = 0.0;
    const char* first = text.data() + span.mantissaBegin;
    const char* last = text.data() + span.end;
    const auto [ptr, error] = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = OutOfRangeValue(text, span);
    } else {
        value = span.negative ? -magnitude : magnitude;
    }
    return true;
}
