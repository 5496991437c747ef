#pragma once
// Text between the program's bytes (the LC_CTYPE character set, single- or multi-byte) and the
// toolkit's UTF-16 strings, loss-free both ways: a byte that does not decode in the character set
// is shown as the lone surrogate U+DC80 + byte (U+DC80..U+DCFF) and turns back into that byte, so
// any bytes survive display and editing unchanged.

#include <QString>

#include <locale.h>

#include <string>
#include <string_view>

class CLocaleCodec {
public:
    // Uses the character set of the LC_CTYPE locale current now.
    CLocaleCodec();
    // Uses the character set of locale localeName ("zh_CN.GBK", "C.UTF-8"). Throws
    // std::runtime_error when the system has no such locale.
    explicit CLocaleCodec(const std::string& localeName);
    ~CLocaleCodec();
    CLocaleCodec(const CLocaleCodec&) = delete;
    CLocaleCodec& operator=(const CLocaleCodec&) = delete;

    // bytes as text; never fails.
    QString ToQString(std::string_view bytes) const;
    // The first maxChars characters of bytes as text (a byte that does not decode counts as one),
    // and in cut whether bytes hold more. Only the bytes of those characters are looked at.
    QString ToQString(std::string_view bytes, std::size_t maxChars, bool& cut) const;
    // text as bytes; a character that the character set cannot express becomes "?", and lossy (when
    // given) tells whether any did.
    std::string FromQString(const QString& text, bool* lossy = nullptr) const;

private:
    locale_t m_locale;
};
