// The JSON form of a document shared by `dump` and `compose`: every field under its own name,
// strings in UTF-8, rectangles as [Left, Top, Right, Bottom], pictures with their stored bytes
// in base64.
#pragma once

#include <QJsonObject>
#include <stdexcept>
#include <string>

#include "document/DocumentFile.h"

// A JSON document that cannot become a document file; the message names the field.
class EJsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// withPictureData false leaves out each picture's Data, which is otherwise what the document
// stores: the bitmap block, or for a picture from JPEG its stream encoded anew at its quality
// (an EGraphicsException when that fails).
QJsonObject DocumentToJson(const TDocumentData& doc, bool withPictureData);

class TPictureReader;

// Where the picture files an image names are read from: paths are taken relative to BaseDir
// when not absolute; formats other than bitmaps and JPEG go to OtherFormats (none: refused).
struct TPictureSources {
    std::string BaseDir;
    TPictureReader* OtherFormats = nullptr;
};

// Missing fields take the defaults of a new item; unknown fields, wrong types, values out of
// range, text the code page cannot hold and damaged pictures throw EJsonError. A picture's
// File or an image's PictureFile is read through the picture import, as the editor reads the
// file a user picks.
TDocumentData DocumentFromJson(const QJsonObject& json, const TPictureSources& from);
