// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// What an SCPI query waits for: a line ending in LF, an IEEE 488.2 definite-length block
// ("#" N, N digits of length, the bytes), or a picture file sent bare (a BMP or a PNG, whose
// own header says how long it is).
enum class EScpiReply { Line, Block, Image };

// The bytes an SCPI instrument sends, cut into replies. A reply's trailer (the LF after a
// block, Siglent's second one, a CR before an LF) is never waited for: it is dropped before
// the next reply, so an instrument that leaves it out is read as well as one that sends it.
class CScpiReader {
public:
    enum class EResult { Incomplete, Done, Malformed };

    void Append(const uint8_t* bytes, size_t size) { m_buffer.append(reinterpret_cast<const char*>(bytes), size); }
    void Clear() { m_buffer.clear(); }
    // Takes the first reply of the form: Done fills out (a line without its CR LF, a block's
    // bytes, a picture whole); Incomplete leaves everything; Malformed says why and leaves
    // the bytes for the caller to drop.
    EResult Take(EScpiReply form, std::string& out, std::string& why);
    // For a block or a picture whose start has come: the bytes it announces, else 0.
    size_t ExpectedSize() const { return m_expected; }
    size_t Buffered() const { return m_buffer.size(); }
    // Whether anything but a trailer waits: after a block, more than its header said.
    bool HasStray() const { return m_buffer.find_first_not_of("\r\n") != std::string::npos; }

private:
    EResult TakeBlock(std::string& out, std::string& why);
    EResult TakeImage(std::string& out, std::string& why);

    std::string m_buffer;
    size_t m_expected = 0;
};
