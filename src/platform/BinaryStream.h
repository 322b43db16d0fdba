// Little-endian binary streams over memory. Documents and pictures are read from a file's
// bytes (in memory, or brought in as they are read) through TReadStream, whose reads can never run
// past the end: a short read throws EReadError and leaves the caller's data untouched. Writing goes
// to a TWriteStream buffer that is put on disk in one piece (see Files.h).
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A stream that ended early or held an impossible value.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Brings bytes of a stream's data in as they are read, for data that is not all in memory
// from the start (a file read on demand): Fill makes [offset, offset + n) valid, CopyOut puts
// those bytes straight into out (for large blocks: nothing is kept beside them); both throw
// EReadError when they cannot.
class TByteSource {
public:
    virtual ~TByteSource() = default;
    virtual void Fill(size_t offset, size_t n) = 0;
    virtual void CopyOut(size_t offset, size_t n, uint8_t* out) = 0;
};

class TReadStream {
public:
    explicit TReadStream(std::span<const uint8_t> data) : Data(data) {}
    // Data whose bytes source brings in as they are read; what Skip passes over is not.
    TReadStream(std::span<const uint8_t> data, TByteSource* source) : Data(data), Source(source) {}

    size_t Position() const { return Pos; }
    size_t Remaining() const { return Data.size() - Pos; }
    bool AtEnd() const { return Pos == Data.size(); }

    uint8_t ReadByte();
    int32_t ReadInt32();
    uint16_t ReadUInt16();
    uint32_t ReadUInt32();
    // n bytes; throws when fewer remain.
    std::span<const uint8_t> ReadBytes(size_t n);
    void Read(void* out, size_t n);
    // Passes over n bytes without reading them; throws when fewer remain.
    void Skip(size_t n);
    // Appends the next n bytes to out (whose capacity the caller may reserve); out is as it
    // was when they cannot be read. With a source they come straight from it, so a large
    // block read from a file never exists twice.
    void ReadAppend(std::vector<uint8_t>& out, size_t n);
    // A count or length that must be non-negative and, at elemSize bytes an element, fit in
    // what is left of the stream; `what` names it in the error message.
    size_t ReadCount(const char* what, size_t elemSize);

private:
    [[noreturn]] void Short(size_t wanted) const;

    std::span<const uint8_t> Data;
    TByteSource* Source = nullptr;
    size_t Pos = 0;
};

class TWriteStream {
public:
    void WriteByte(uint8_t b) { Bytes.push_back(b); }
    void WriteInt32(int32_t v);
    void WriteUInt16(uint16_t v);
    void WriteUInt32(uint32_t v);
    void Write(const void* data, size_t n);
    void Write(std::span<const uint8_t> data) { Write(data.data(), data.size()); }

    size_t Size() const { return Bytes.size(); }
    const std::vector<uint8_t>& Data() const { return Bytes; }
    std::vector<uint8_t> Take() { return std::move(Bytes); }

private:
    std::vector<uint8_t> Bytes;
};
