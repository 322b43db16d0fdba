// Bounded reader over the bytes of a JPEG stream: reads can never run past the end; a read at
// the end returns -1 and sets the end-of-file indication.
#pragma once

#include <cstddef>
#include <cstdint>

class JpegByteReader {
public:
    JpegByteReader(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}

    int Get() {
        if (m_Position >= m_Size) {
            m_Eof = true;
            return -1;
        }
        return m_Data[m_Position++];
    }
    bool AtEnd() const { return m_Eof; }

    const uint8_t* Data() const { return m_Data; }
    size_t Size() const { return m_Size; }
    size_t Position() const { return m_Position; }
    void SetPosition(size_t position) { m_Position = position <= m_Size ? position : m_Size; }

private:
    const uint8_t* m_Data;
    size_t m_Size;
    size_t m_Position = 0;
    bool m_Eof = false;
};
