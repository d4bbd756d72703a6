// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

// Thrown when a loaded file ends early; the document turns it into a message.
class CArchiveException : public std::runtime_error {
public:
    CArchiveException() : std::runtime_error("archive: unexpected end of file") {}
};

// Little-endian byte stream for the document file: storing appends to a buffer,
// loading reads from one. No header, no padding.
class CArchive {
public:
    CArchive() : m_bStoring(true) {}  // storing
    explicit CArchive(const std::vector<uint8_t>& data) : m_bStoring(false), m_in(&data) {}

    bool IsStoring() const { return m_bStoring; }
    bool IsLoading() const { return !m_bStoring; }
    const std::vector<uint8_t>& Buffer() const { return m_out; }
    size_t Position() const { return m_pos; }

    void WriteU8(uint8_t v) { m_out.push_back(v); }
    void WriteI32(int32_t v) { WriteRaw(static_cast<uint32_t>(v), 4); }
    void WriteU32(uint32_t v) { WriteRaw(v, 4); }
    void WriteF32(float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        WriteRaw(u, 4);
    }
    void WriteF64(double v) {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        WriteRaw(u, 8);
    }

    uint8_t ReadU8() { return static_cast<uint8_t>(ReadRaw(1)); }
    int32_t ReadI32() { return static_cast<int32_t>(static_cast<uint32_t>(ReadRaw(4))); }
    uint32_t ReadU32() { return static_cast<uint32_t>(ReadRaw(4)); }
    float ReadF32() {
        uint32_t u = static_cast<uint32_t>(ReadRaw(4));
        float v;
        std::memcpy(&v, &u, 4);
        return v;
    }
    double ReadF64() {
        uint64_t u = ReadRaw(8);
        double v;
        std::memcpy(&v, &u, 8);
        return v;
    }

private:
    void WriteRaw(uint64_t v, int n) {
        for (int i = 0; i < n; ++i) m_out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    uint64_t ReadRaw(int n) {
        if (m_pos + n > m_in->size()) throw CArchiveException();
        uint64_t v = 0;
        for (int i = 0; i < n; ++i) v |= static_cast<uint64_t>((*m_in)[m_pos + i]) << (8 * i);
        m_pos += n;
        return v;
    }

    bool m_bStoring;
    const std::vector<uint8_t>* m_in = nullptr;
    std::vector<uint8_t> m_out;
    size_t m_pos = 0;
};
