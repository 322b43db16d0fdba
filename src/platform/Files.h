// Whole-file reading and safe whole-file writing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The file's bytes, or nothing when it cannot be opened or read (error receives why).
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path,
                                                  std::string* error = nullptr);

// Writes data to a temporary file beside path and renames it over path only when every byte
// reached the disk, so a failed save never damages the previous file. False (with the reason
// in error) on failure, leaving path as it was.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> data,
                         std::string* error = nullptr);
