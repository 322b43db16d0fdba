// The member references of one frame, stored as 8-byte (kind, index) records. Unlike other
// owning lists it copies (the references are plain values), so frames copy too.
#pragma once

#include "document/CustomList.h"
#include "document/ItemKind.h"

class TKKLista : public TCustomList<TKKItem> {
public:
    TKKLista() = default;
    TKKLista(const TKKLista& other) : TCustomList<TKKItem>() { Append(other); }
    TKKLista& operator=(const TKKLista& other) {
        if (this != &other) {
            Clear();
            Append(other);
        }
        return *this;
    }
    TKKLista(TKKLista&&) noexcept = default;
    TKKLista& operator=(TKKLista&&) noexcept = default;

    void AddReference(int32_t kind, int32_t index);

    // Same references in the same order.
    friend bool operator==(const TKKLista& a, const TKKLista& b);

protected:
    void WriteItem(int index, TWriteStream& out) const override;
    std::unique_ptr<TKKItem> ReadItem(int index, TReadStream& in) override;
    size_t MinItemBytes() const override { return 8; }

private:
    void Append(const TKKLista& other);
};
