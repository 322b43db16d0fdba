// The recovery folder of this process: its own copy of an unsaved page, and the copies that
// editors which no longer run left behind. Running editors never take each other's copy:
// each holds an flock on its own lock file for as long as it runs, and the system lets go of
// it however the process ends, so a lock that can be taken belongs to an owner that is gone
// (a process id used again by another program takes nothing over). An orphan copy is claimed
// by taking its lock, so two editors starting at once never both offer it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/RecoveryFiles.h"

// A copy left by an editor that no longer runs, locked by this process while it is asked about.
class TRecoveryClaim {
public:
    TRecoveryClaim(TRecoveryId id, std::string folder, int lockFd);
    ~TRecoveryClaim();
    TRecoveryClaim(const TRecoveryClaim&) = delete;
    TRecoveryClaim& operator=(const TRecoveryClaim&) = delete;

    const TRecoveryId& Id() const { return Owner; }
    const std::string& CopyPath() const { return Copy; }
    // The document the page stood for; empty for a page never saved or an unreadable info.
    const std::string& DocumentPath() const { return Document; }
    // When the copy was last written, in seconds since the epoch.
    int64_t WrittenAt() const { return Written; }
    // Deletes the copy and every other file of its id.
    void Discard();

private:
    friend class TRecoveryStore;
    TRecoveryId Owner;
    std::string Folder;
    std::string Copy;
    std::string Document;
    int64_t Written = 0;
    int LockFd = -1;
};

class TRecoveryStore {
public:
    // The id of this process: its process id and the time now.
    static TRecoveryId ThisProcess();

    // Creates folder (mode 0700) when missing and locks this process's lock file. Ok() tells
    // whether copies can be kept (else Error() says why).
    TRecoveryStore(std::string folder, TRecoveryId self = ThisProcess());
    // Leaves a copy that was not removed for the next start, and removes everything else.
    ~TRecoveryStore();
    TRecoveryStore(const TRecoveryStore&) = delete;
    TRecoveryStore& operator=(const TRecoveryStore&) = delete;

    bool Ok() const { return LockFd >= 0; }
    const std::string& Error() const { return Why; }
    const std::string& Folder() const { return Dir; }
    const TRecoveryId& Self() const { return Me; }
    std::string PathOf(TRecoveryPart part) const;

    // Replaces this process's copy with bytes, for the page of documentPath; false (with
    // Error()) when it could not be written, the previous copy then being as it was.
    bool Write(std::span<const uint8_t> bytes, const std::string& documentPath);
    // Removes this process's copy; true when none is left.
    bool Remove();
    bool HasCopy() const { return Written; }

    // The copies of editors that no longer run, newest first, each claimed for this process;
    // files of such editors that hold no copy are removed on the way.
    std::vector<std::unique_ptr<TRecoveryClaim>> ClaimOrphans();

private:
    std::string Dir;
    TRecoveryId Me;
    std::string Why;
    std::string InfoWritten; // what this process's info file holds
    int LockFd = -1;
    bool Written = false;
};
