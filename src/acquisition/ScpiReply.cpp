// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ScpiReply.h"

#include "platform/TrNoop.h"

namespace {

// A prefix before a block's "#" ("C1:WF DAT2,") is a few printable characters; more, or
// anything else, is no block.
constexpr size_t kLongestPrefix = 20;

bool IsTrailer(char c) { return c == '\n' || c == '\r'; }
bool IsPrintable(char c) { return c >= 0x20 && c < 0x7F; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

uint32_t Little32(const std::string& s, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

uint32_t Big32(const std::string& s, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 8 | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3]));
}

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

}  // namespace

CScpiReader::EResult CScpiReader::Take(EScpiReply form, std::string& out, std::string& why) {
    size_t start = 0;
    while (start < m_buffer.size() && IsTrailer(m_buffer[start])) ++start;
    m_buffer.erase(0, start);
    if (form == EScpiReply::Block) return TakeBlock(out, why);
    if (form == EScpiReply::Image) return TakeImage(out, why);
    const size_t end = m_buffer.find('\n');
    if (end == std::string::npos) return EResult::Incomplete;
    size_t length = end;
    if (length > 0 && m_buffer[length - 1] == '\r') --length;
    out.assign(m_buffer, 0, length);
    m_buffer.erase(0, end + 1);
    return EResult::Done;
}

CScpiReader::EResult CScpiReader::TakeBlock(std::string& out, std::string& why) {
    m_expected = 0;
    const size_t hash = m_buffer.find('#');
    const size_t prefix = hash == std::string::npos ? m_buffer.size() : hash;
    for (size_t i = 0; i < prefix && i <= kLongestPrefix; ++i) {
        if (!IsPrintable(m_buffer[i])) {
            why = KIV_TR_NOOP("Kiv", "zamiast bloku danych przyszło co innego");
            return EResult::Malformed;
        }
    }
    if (prefix > kLongestPrefix) {
        why = KIV_TR_NOOP("Kiv", "zamiast bloku danych przyszło co innego");
        return EResult::Malformed;
    }
    if (hash == std::string::npos || m_buffer.size() < hash + 2) return EResult::Incomplete;
    const char n = m_buffer[hash + 1];
    if (n < '1' || n > '9') {
        why = KIV_TR_NOOP("Kiv", "nagłówek bloku danych jest błędny");
        return EResult::Malformed;
    }
    const size_t digits = static_cast<size_t>(n - '0');
    size_t length = 0;
    for (size_t i = 0; i < digits; ++i) {
        if (m_buffer.size() < hash + 2 + i + 1) return EResult::Incomplete;
        const char d = m_buffer[hash + 2 + i];
        if (!IsDigit(d)) {
            why = KIV_TR_NOOP("Kiv", "nagłówek bloku danych jest błędny");
            return EResult::Malformed;
        }
        length = length * 10 + static_cast<size_t>(d - '0');
    }
    const size_t data = hash + 2 + digits;
    m_expected = length;
    if (m_buffer.size() < data + length) return EResult::Incomplete;
    out.assign(m_buffer, data, length);
    m_buffer.erase(0, data + length);
    m_expected = 0;
    return EResult::Done;
}

// A BMP names its size at bytes 2..5; a PNG ends with its IEND chunk.
CScpiReader::EResult CScpiReader::TakeImage(std::string& out, std::string& why) {
    m_expected = 0;
    if (m_buffer.size() < 8) return EResult::Incomplete;
    size_t size = 0;
    if (m_buffer[0] == 'B' && m_buffer[1] == 'M') {
        size = Little32(m_buffer, 2);
        if (size < 26) {
            why = KIV_TR_NOOP("Kiv", "obraz ekranu jest uszkodzony");
            return EResult::Malformed;
        }
        m_expected = size;
    } else if (m_buffer.compare(0, 8, kPngSignature, 8) == 0) {
        for (size_t at = 8;;) {
            if (m_buffer.size() < at + 8) return EResult::Incomplete;
            const size_t chunk = Big32(m_buffer, at);
            if (chunk > 0x7FFFFFFF) {
                why = KIV_TR_NOOP("Kiv", "obraz ekranu jest uszkodzony");
                return EResult::Malformed;
            }
            const bool last = m_buffer.compare(at + 4, 4, "IEND") == 0;
            at += 12 + chunk;
            if (last) {
                size = at;
                break;
            }
        }
    } else {
        why = KIV_TR_NOOP("Kiv", "zamiast obrazu ekranu przyszło co innego");
        return EResult::Malformed;
    }
    if (m_buffer.size() < size) return EResult::Incomplete;
    out.assign(m_buffer, 0, size);
    m_buffer.erase(0, size);
    m_expected = 0;
    return EResult::Done;
}
