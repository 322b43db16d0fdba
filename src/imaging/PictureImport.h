// Bringing a picture from outside into an image item: a file the user chose, or the bytes of
// a pasted picture. Windows bitmaps and JFIF files are read as documents' pictures always
// were; other JPEG streams (Exif first, no APP0, Adobe) are decoded without the JFIF header
// check and turned upright by their Exif orientation; anything else goes to the picture
// reader of the platform (PNG, GIF, TIFF, WebP) and becomes a 24-bit picture. A picture from
// JPEG stays a JPEG picture, stored re-encoded.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class TMemBitmap;
class TPictureReader;

// What an import learnt of the picture besides its pixels.
struct TImportedPicture {
    std::string Kind;        // "bitmap", "JPEG" or the reader's format name ("PNG", "GIF"...)
    double DotsPerInchX = 0; // the resolution the file states; 0 when it states none usable
    double DotsPerInchY = 0;
};

// Replaces the picture by the one in data. False, the object without a picture and the
// reason in why (one English line, for the second line of the message box) when it cannot
// be read. Without a reader only bitmaps and JPEG streams are read. With about, a read
// picture's kind and stated resolution are put there.
bool ImportPicture(std::span<const uint8_t> data, TMemBitmap& picture, std::string& why,
                   TPictureReader* others = nullptr, TImportedPicture* about = nullptr);

// The same for a file.
bool ImportPictureFile(const std::string& path, TMemBitmap& picture, std::string& why,
                       TPictureReader* others = nullptr);
