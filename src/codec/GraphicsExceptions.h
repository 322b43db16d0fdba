// The exception family of the raster and JPEG code: every failure carries one message text,
// returned by what(); callers catch EGraphicsException to handle any of them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

class EGraphicsException : public std::runtime_error {
public:
    explicit EGraphicsException(const std::string& message) : std::runtime_error(message) {}
};

class EInvalidBitCount : public EGraphicsException {
public:
    EInvalidBitCount() : EGraphicsException("Invalid bit count") {}
};

class ESubscriptOutOfRange : public EGraphicsException {
public:
    ESubscriptOutOfRange() : EGraphicsException("Subscript out of range") {}
};

// Base of the errors found in JPEG data.
class EJpegError : public EGraphicsException {
public:
    explicit EJpegError(const std::string& message) : EGraphicsException(message) {}
};

// Malformed or unsupported JPEG stream; the message says what was wrong.
class EJpegBadData : public EJpegError {
public:
    explicit EJpegBadData(const std::string& message) : EJpegError(message) {}
};

// A frame refused for its size before its memory was allocated: the pixels, or the bytes the
// decoder would need for them, exceed its limits. The message stays the decoder's; the sizes
// let a reader say in its own words what was asked.
class EJpegTooLarge : public EJpegBadData {
public:
    EJpegTooLarge(uint32_t width, uint32_t height, uint64_t neededBytes)
        : EJpegBadData("Túl nagy kép"), Width(width), Height(height), NeededBytes(neededBytes) {}
    uint32_t Width;
    uint32_t Height;
    uint64_t NeededBytes; // what the frame would take, as far as it was counted when refused
};

// A value outside what the codec takes; the encoder names a picture size it cannot store.
class EJpegValueOutOfRange : public EJpegError {
public:
    explicit EJpegValueOutOfRange(const std::string& message = "Value out of range")
        : EJpegError(message) {}
};

class EJpegIndexOutOfRange : public EJpegError {
public:
    EJpegIndexOutOfRange() : EJpegError("Index out of range") {}
};

// Internal consistency failure of the codec.
class EJpegFatal : public EGraphicsException {
public:
    explicit EJpegFatal(const std::string& message) : EGraphicsException(message) {}
};
