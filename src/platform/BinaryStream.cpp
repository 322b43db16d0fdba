#include "platform/BinaryStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

void TReadStream::Short(size_t wanted) const {
    throw EReadError("the file ends early (" + std::to_string(wanted) +
                     " more bytes needed at offset " + std::to_string(Pos) + ", " +
                     std::to_string(Remaining()) + " left)");
}

std::span<const uint8_t> TReadStream::ReadBytes(size_t n) {
    if (n > Remaining()) Short(n);
    if (Source) Source->Fill(Pos, n);
    auto out = Data.subspan(Pos, n);
    Pos += n;
    return out;
}

void TReadStream::Skip(size_t n) {
    if (n > Remaining()) Short(n);
    Pos += n;
}

void TReadStream::ReadAppend(std::vector<uint8_t>& out, size_t n) {
    if (n > Remaining()) Short(n);
    const size_t at = out.size();
    if (Source) {
        out.resize(at + n);
        try {
            Source->CopyOut(Pos, n, out.data() + at);
        } catch (...) {
            out.resize(at);
            throw;
        }
    } else {
        out.insert(out.end(), Data.data() + Pos, Data.data() + Pos + n);
    }
    Pos += n;
}

void TReadStream::Read(void* out, size_t n) {
    auto bytes = ReadBytes(n);
    if (n) std::memcpy(out, bytes.data(), n);
}

uint8_t TReadStream::ReadByte() { return ReadBytes(1)[0]; }

uint16_t TReadStream::ReadUInt16() {
    auto b = ReadBytes(2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t TReadStream::ReadUInt32() {
    auto b = ReadBytes(4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

int32_t TReadStream::ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }

size_t TReadStream::ReadCount(const char* what, size_t elemSize) {
    const size_t at = Pos;
    const int32_t n = ReadInt32();
    if (n < 0) {
        throw EReadError(std::string("negative ") + what + " (" + std::to_string(n) +
                         ") at offset " + std::to_string(at));
    }
    if (elemSize && static_cast<uint64_t>(n) * elemSize > Remaining()) {
        throw EReadError(std::string(what) + " " + std::to_string(n) + " at offset " +
                         std::to_string(at) + " is larger than the rest of the file");
    }
    return static_cast<size_t>(n);
}

void TWriteStream::WriteUInt32(uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    Write(b, 4);
}

void TWriteStream::WriteInt32(int32_t v) { WriteUInt32(static_cast<uint32_t>(v)); }

void TWriteStream::WriteUInt16(uint16_t v) {
    const uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    Write(b, 2);
}

void TWriteStream::Write(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    Bytes.insert(Bytes.end(), p, p + n);
}
