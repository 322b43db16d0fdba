// An owning list that writes itself to and reads itself from a binary stream: an int32 count,
// then each item as the derived class's WriteItem writes it. Reading is all-or-nothing: a
// stream that ends early or holds an impossible count throws EReadError and leaves the list
// exactly as it was.
#pragma once

#include <string>

#include "document/OwningList.h"
#include "platform/BinaryStream.h"
#include "platform/Files.h"

template <class T>
class TCustomList : public TOwningList<T> {
public:
    // Destroys every item, then empties the list.
    virtual void Clear() { this->ClearItems(); }

    virtual void SaveToStream(TWriteStream& out) const {
        out.WriteInt32(this->Count());
        for (int i = 0; i < this->Count(); ++i) WriteItem(i, out);
    }

    virtual void LoadFromStream(TReadStream& in) {
        // Read into a fresh list of the same items, then take its contents.
        TOwningList<T> loaded;
        const size_t n = in.ReadCount("item count", MinItemBytes());
        for (size_t i = 0; i < n; ++i) loaded.Add(ReadItem(static_cast<int>(i), in));
        this->Swap(loaded);
    }

    // Writes the list to a file; false when the file cannot be written (the old one stays).
    virtual bool SaveToFile(const std::string& path) const {
        TWriteStream out;
        SaveToStream(out);
        return WriteFileAtomically(path, out.Data());
    }

    // Reads the list from a file; when the file cannot be opened nothing changes and the
    // result is false. A damaged file throws EReadError, also leaving the list unchanged.
    virtual bool LoadFromFile(const std::string& path) {
        auto data = ReadWholeFile(path);
        if (!data) return false;
        TReadStream in(*data);
        LoadFromStream(in);
        return true;
    }

protected:
    virtual void WriteItem(int index, TWriteStream& out) const = 0;
    virtual std::unique_ptr<T> ReadItem(int index, TReadStream& in) = 0;
    // The fewest bytes one stored item can take; counts that cannot fit are refused early.
    virtual size_t MinItemBytes() const = 0;
};
