#include "platform/qt/LocaleCodec.h"

#include <algorithm>
#include <climits>
#include <clocale>
#include <cwchar>
#include <stdexcept>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // + byte (0x80..0xFF) for a byte that does not decode
constexpr std::size_t kInvalid = static_cast<std::size_t>(-1);
constexpr std::size_t kIncomplete = static_cast<std::size_t>(-2);
constexpr std::size_t kStoredCharacter = static_cast<std::size_t>(-3);

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
// What a decoder may give that is no Unicode character: a surrogate, or a value beyond U+10FFFF
// (the C library's UTF-8 still reads the old five- and six-byte forms).
bool IsNoCharacter(char32_t c) { return IsSurrogate(c) || c > 0x10FFFF; }
bool IsByteEscape(char32_t c) { return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF; }

void AppendCodePoint(QString& out, char32_t c) {
    if (c > 0xFFFF) {
        const QChar pair[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
        out.append(pair, 2);
    } else {
        out.append(QChar(static_cast<char16_t>(c)));
    }
}

// The code point starting at text[i], advancing i past it; a lone surrogate stands for itself.
char32_t NextCodePoint(const QString& text, qsizetype& i) {
    const QChar first = text.at(i++);
    if (first.isHighSurrogate() && i < text.size() && text.at(i).isLowSurrogate()) {
        return QChar::surrogateToUcs4(first, text.at(i++));
    }
    return first.unicode();
}

// Makes locale the calling thread's locale for the scope's length.
class CLocaleScope {
public:
    explicit CLocaleScope(locale_t locale) : m_previous(uselocale(locale)) {}
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous;
};

locale_t NewCtypeLocale(const char* name) {
    locale_t locale = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
    if (!locale) throw std::runtime_error(std::string("no locale ") + name);
    return locale;
}

}  // namespace

CLocaleCodec::CLocaleCodec() : m_locale(NewCtypeLocale(std::setlocale(LC_CTYPE, nullptr))) {}

CLocaleCodec::CLocaleCodec(const std::string& localeName) : m_locale(NewCtypeLocale(localeName.c_str())) {}

CLocaleCodec::~CLocaleCodec() { freelocale(m_locale); }

QString CLocaleCodec::ToQString(std::string_view bytes) const {
    bool cut = false;
    return ToQString(bytes, bytes.size(), cut);
}

QString CLocaleCodec::ToQString(std::string_view bytes, std::size_t maxChars, bool& cut) const {
    QString out;
    out.reserve(static_cast<qsizetype>(std::min(bytes.size(), maxChars)));
    const CLocaleScope scope(m_locale);
    std::mbstate_t state{};
    std::size_t i = 0;
    for (std::size_t chars = 0; i < bytes.size() && chars < maxChars; ++chars) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80 && std::mbsinit(&state)) {
            out.append(QChar(byte));
            ++i;
            continue;
        }
        wchar_t c = 0;
        const std::size_t length = std::mbrtowc(&c, bytes.data() + i, bytes.size() - i, &state);
        if (length == kInvalid || length == kIncomplete || IsNoCharacter(static_cast<char32_t>(c))) {
            out.append(QChar(static_cast<char16_t>(kEscapeBase + byte)));
            state = std::mbstate_t{};
            ++i;
        } else {
            AppendCodePoint(out, static_cast<char32_t>(c));
            if (length != kStoredCharacter) i += length == 0 ? 1 : length;
        }
    }
    cut = i < bytes.size();
    return out;
}

std::string CLocaleCodec::FromQString(const QString& text, bool* lossy) const {
    if (lossy) *lossy = false;
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const CLocaleScope scope(m_locale);
    std::mbstate_t state{};
    char buffer[MB_LEN_MAX];
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        if (IsByteEscape(c)) {
            out.push_back(static_cast<char>(c - kEscapeBase));
        } else if (c < 0x80 && std::mbsinit(&state)) {
            out.push_back(static_cast<char>(c));
        } else {
            const std::size_t length =
                IsSurrogate(c) ? kInvalid : std::wcrtomb(buffer, static_cast<wchar_t>(c), &state);
            if (length == kInvalid) {
                if (lossy) *lossy = true;
                out.push_back('?');
                state = std::mbstate_t{};
            } else {
                out.append(buffer, length);
            }
        }
    }
    return out;
}
