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

// Replaces a file without ever leaving it half-written. The new bytes go to a temporary file
// in the target's folder; Commit syncs it, renames it over the target and syncs the folder.
// A symbolic link is followed, so its target is replaced and the link stays. A file the user
// may not write is refused, and a replaced file keeps its permission bits. Until Commit
// succeeds the target is untouched; the temporary file never outlives the object.
class TSafeFileWriter {
public:
    // Prepares the replacement of path; Ok() tells whether it can go ahead (else Error()).
    explicit TSafeFileWriter(const std::string& path);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    bool Ok() const { return Ready; }
    const std::string& Error() const { return Why; }
    // The file that will be replaced (path with its symbolic links followed).
    const std::string& Target() const { return TargetPath; }
    // The temporary file, for a producer that writes files by name itself: call
    // CloseForProducer, let it write TemporaryPath(), then Commit.
    const std::string& TemporaryPath() const { return TempPath; }
    void CloseForProducer();

    // Appends bytes to the temporary file; false (with Error()) on failure.
    bool Write(std::span<const uint8_t> data);
    // Puts the temporary file in the target's place; false (with Error()) on failure, the
    // target then being as it was.
    bool Commit();

private:
    void Fail(const std::string& what);
    void Discard();

    std::string TargetPath;
    std::string TempPath;
    std::string Why;
    int Fd = -1;
    bool Ready = false;
    bool ProducerWrites = false;
    bool HadTarget = false;
    unsigned Mode = 0;
    unsigned Owner = 0, Group = 0;
};

// Writes data through TSafeFileWriter. False (with the reason in error) on failure, leaving
// path as it was.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> data,
                         std::string* error = nullptr);
