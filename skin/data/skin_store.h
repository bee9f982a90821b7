// The skin store: any number of packed skins kept by name in a form.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/component.h"
#include "core/stream.h"

namespace qh {

// Renaming a skin item to a name another item already has.
QH_DECLARE_EXCEPTION(ESkinStoreError, Exception);

class TSkinCollection;

class TSkinCollectionItem : public TPersistent {
    QH_CLASS(TSkinCollectionItem, TPersistent)
    TSkinCollectionItem(TSkinCollection* collection, int id);

    int ID() const { return FId; }
    const std::string& Name() const { return FName; }
    // Raises ESkinStoreError "The name X is already used." when another
    // item of the collection has exactly that name; the old name stays.
    void SetName(const std::string& name);
    const std::string& DisplayName() const { return FName; }
    // A designer's editor hook: always "Load Skin", writing does nothing.
    std::string SkinData() const { return "Load Skin"; }
    void SetSkinData(const std::string&) {}
    int64_t DataSize() const;

    // The packed skin.
    TMemoryStream& Data() { return FData; }
    const TMemoryStream& Data() const { return FData; }
    // The stored DataStream property: reading takes the whole value.
    void ReadDataStream(TStream& value);
    void WriteDataStream(TStream& target) const;

    // Copies the name (without the test) and the whole packed skin.
    void Assign(const TSkinCollectionItem& source);

private:
    TSkinCollection* FCollection;
    int FId;
    std::string FName;
    mutable TMemoryStream FData; // Size() of a stream is not const
};

class TSkinCollection : public TPersistent {
    QH_CLASS(TSkinCollection, TPersistent)
    explicit TSkinCollection(TComponent* owner) : FOwner(owner) {}
    TSkinCollection(const TSkinCollection&) = delete;
    TSkinCollection& operator=(const TSkinCollection&) = delete;

    TComponent* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0..Count-1.
    TSkinCollectionItem& Items(int index) const;
    // A new item named "SkinItem" + its ID; IDs count up from 0 and are
    // never reused.
    TSkinCollectionItem& Add();
    void Delete(int index);
    void Clear();
    // Replaces the items by copies of source's items.
    void Assign(const TSkinCollection& source);

private:
    TComponent* FOwner;
    int FNextId = 0;
    std::vector<std::unique_ptr<TSkinCollectionItem>> FItems;
};

class TSkinStore : public TComponent {
    QH_CLASS(TSkinStore, TComponent)
    explicit TSkinStore(TComponent* owner);
    ~TSkinStore() override;

    TSkinCollection* Store() const { return FStore.get(); }
    // Copies the items of collection.
    void SetStore(TSkinCollection* collection);

private:
    std::unique_ptr<TSkinCollection> FStore;
};

} // namespace qh
