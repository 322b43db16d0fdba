// An ordered list that owns its items: removing or clearing destroys them exactly once.
// Indices are the items' identities in the editor, so the operations mirror a plain
// pointer list (Add appends, Insert shifts, Delete removes one slot).
#pragma once

#include <cassert>
#include <memory>
#include <stdexcept>
#include <vector>

template <class T>
class TOwningList {
public:
    TOwningList() = default;
    TOwningList(TOwningList&&) noexcept = default;
    TOwningList& operator=(TOwningList&&) noexcept = default;
    TOwningList(const TOwningList&) = delete;
    TOwningList& operator=(const TOwningList&) = delete;
    virtual ~TOwningList() = default;

    int Count() const { return static_cast<int>(Items.size()); }
    bool Empty() const { return Items.empty(); }

    T& operator[](int i) { return *At(i); }
    const T& operator[](int i) const { return *At(i); }
    T& Last() { return *Items.back(); }

    // Appends and takes ownership; returns the item.
    T& Add(std::unique_ptr<T> item) {
        assert(item);
        Items.push_back(std::move(item));
        return *Items.back();
    }
    T& Insert(int index, std::unique_ptr<T> item) {
        assert(item && index >= 0 && index <= Count());
        return **Items.insert(Items.begin() + index, std::move(item));
    }
    // Destroys item i and removes its slot; later items move down by one.
    void Delete(int i) {
        At(i);
        Items.erase(Items.begin() + i);
    }
    // Removes slot i and hands the item to the caller.
    std::unique_ptr<T> Extract(int i) {
        At(i);
        std::unique_ptr<T> item = std::move(Items[static_cast<size_t>(i)]);
        Items.erase(Items.begin() + i);
        return item;
    }
    void Swap(TOwningList& other) noexcept { Items.swap(other.Items); }

protected:
    void ClearItems() { Items.clear(); }

private:
    T* At(int i) const {
        if (i < 0 || i >= Count()) throw std::out_of_range("list index out of bounds");
        return Items[static_cast<size_t>(i)].get();
    }

    std::vector<std::unique_ptr<T>> Items;
};
