// The member references of one frame, stored as 8-byte (kind, index) records.
#pragma once

#include "document/CustomList.h"
#include "document/ItemKind.h"

class TKKLista : public TCustomList<TKKItem> {
public:
    void AddReference(int32_t kind, int32_t index);

protected:
    void WriteItem(int index, TWriteStream& out) const override;
    std::unique_ptr<TKKItem> ReadItem(int index, TReadStream& in) override;
    size_t MinItemBytes() const override { return 8; }
};
