// The document file (.PST): magic word, page size, the 140-byte page settings block, the seven
// item lists and an optional compass block. Writing and reading are pure functions over bytes;
// LoadDocumentFile and SaveDocumentFile add the file handling and the user-facing messages.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/ItemLists.h"
#include "document/PageSettings.h"
#include "platform/BinaryStream.h"
#include "platform/Outcome.h"

inline constexpr char kDocumentMagic[] = "FolioscriptorDocument"; // stored with its zero byte
inline constexpr size_t kDocumentMagicSize = 22;
inline constexpr size_t kPageSettingsBlockSize = 140;
inline constexpr size_t kCompassBlockSize = 21;

// Everything a document file holds.
struct TDocumentData {
    // The sheet size when the document was written; loading into the editor ignores these
    // and keeps the current printer's size.
    int32_t PageWidthMm = 0;
    int32_t PageHeightMm = 0;
    TPageSettings PageSettings;
    TPageItems Items;
    // The compass block after the lists; nothing when the file has none.
    std::optional<TCompass> Compass;
};

// A document that cannot be read. The message is the complete text for the user, naming the
// file and the problem.
class EDocumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void WritePageSettings(TWriteStream& out, const TPageSettings& settings);
TPageSettings ReadPageSettings(TReadStream& in);
void WriteCompass(TWriteStream& out, const TCompass& compass);
TCompass ReadCompass(TReadStream& in);
// The seven item lists in their stored order, as documents and the clipboard hold them. The
// reader names in part the list it is reading, for the message of a failure.
void WriteItemLists(TWriteStream& out, const TPageItems& items);
void ReadItemLists(TReadStream& in, TPageItems& items, const char*& part,
                   TPictureReading pictures = TPictureReading::Whole);

// The file's bytes. The compass block is written after the lists exactly when compass is not
// null. The editor passes the compass it holds from a loaded file (and null when it never
// loaded one), so a file's compass survives a save while a new empty page is still the plain
// 198-byte document. Throws std::runtime_error when a picture cannot be stored.
std::vector<uint8_t> WriteDocument(int32_t pageWidthMm, int32_t pageHeightMm,
                                   const TPageSettings& settings, const TPageItems& items,
                                   const TCompass* compass);
std::vector<uint8_t> WriteDocument(const TDocumentData& doc);

// Reads a whole document; fileName only names the file in messages. Throws EDocumentError
// ("The file NAME is not a Folioscriptor document" for a wrong magic word, otherwise
// "The file NAME cannot be loaded: ..." with the part and the problem). Files that end
// right after the polygon list have no compass; bytes after a compass block are ignored.
TDocumentData ReadDocument(std::span<const uint8_t> bytes, const std::string& fileName);
// With pictures SizesOnly, the pictures keep only their sizes (TMemBitmap::ReadFromStream)
// and a bitmap block's rows are never looked at; every check on the file's structure, and
// its messages, stay those of a whole read. With a source, bytes are valid only where it has
// brought them in (see TByteSource): the reader asks it for each part before reading it.
TDocumentData ReadDocument(std::span<const uint8_t> bytes, const std::string& fileName,
                           TPictureReading pictures, TByteSource* source = nullptr);

// Frame member references must name an existing item of a valid kind; the reason otherwise.
std::optional<std::string> CheckFrameMembers(const TPageItems& items);

// The editor's load: the complete new document, or the message for the user (the caller
// shows it with the caption kLoadDocumentCaption and keeps its current document).
struct TDocumentLoad {
    std::optional<TDocumentData> Document;
    std::string Error;
};
inline constexpr char kLoadDocumentCaption[] = "Load document";
// The file is read where the reader looks (TOnDemandFile): a picture block goes from the disk
// straight into its picture, and with SizesOnly (for readers that only look at a document:
// dump --no-pictures) the rows of bitmap pictures are passed over by their stored lengths, so
// they are never read at all. A file cut short while it is read gives the load's message,
// never a crash.
TDocumentLoad LoadDocumentFile(const std::string& path,
                               TPictureReading pictures = TPictureReading::Whole);

// The editor's save: writes the document beside path and renames it over path only when all
// of it was written, so a failed save leaves the old file as it was; a failure carries the
// message for the user.
TOutcome SaveDocumentFile(const std::string& path, int32_t pageWidthMm, int32_t pageHeightMm,
                          const TPageSettings& settings, const TPageItems& items,
                          const TCompass* compass);
TOutcome SaveDocumentFile(const std::string& path, const TDocumentData& doc);
