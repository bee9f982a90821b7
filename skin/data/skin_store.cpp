#include "skin/data/skin_store.h"

#include "core/text.h"

namespace qh {

QH_DEFINE_CLASS(TSkinCollectionItem, TPersistent,
                StrProp("Name", &TSkinCollectionItem::Name, &TSkinCollectionItem::SetName),
                StrProp("SkinData", &TSkinCollectionItem::SkinData,
                        &TSkinCollectionItem::SetSkinData),
                IntProp("DataSize", &TSkinCollectionItem::DataSize))

QH_DEFINE_CLASS(TSkinCollection, TPersistent)

QH_DEFINE_CLASS(TSkinStore, TComponent, ObjProp("Store", &TSkinStore::Store, &TSkinStore::SetStore))

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection* collection, int id)
    : FCollection(collection), FId(id), FName("SkinItem" + IntToStr(id)) {}

void TSkinCollectionItem::SetName(const std::string& name) {
    if (name == FName) return;
    if (FCollection) {
        for (int i = 0; i < FCollection->Count(); ++i) {
            const TSkinCollectionItem& other = FCollection->Items(i);
            if (&other != this && other.Name() == name)
                throw ESkinStoreError("The name " + name + " is already used.");
        }
    }
    FName = name;
}

int64_t TSkinCollectionItem::DataSize() const {
    return FData.Size();
}

void TSkinCollectionItem::ReadDataStream(TStream& value) {
    FData.Clear();
    FData.CopyFrom(value, 0);
    FData.SetPosition(0);
}

void TSkinCollectionItem::WriteDataStream(TStream& target) const {
    FData.SaveToStream(target);
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& source) {
    FName = source.FName;
    FData.Clear();
    // Through a copy, so the source's position stays where it was.
    const std::string bytes = source.FData.ToString();
    if (!bytes.empty()) FData.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    FData.SetPosition(0);
}

TSkinCollectionItem& TSkinCollection::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return *FItems[static_cast<size_t>(index)];
}

TSkinCollectionItem& TSkinCollection::Add() {
    FItems.push_back(std::make_unique<TSkinCollectionItem>(this, FNextId++));
    return *FItems.back();
}

void TSkinCollection::Delete(int index) {
    Items(index);
    FItems.erase(FItems.begin() + index);
}

void TSkinCollection::Clear() {
    FItems.clear();
}

void TSkinCollection::Assign(const TSkinCollection& source) {
    if (&source == this) return;
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        Add().Assign(source.Items(i));
}

TSkinStore::TSkinStore(TComponent* owner)
    : TComponent(owner), FStore(std::make_unique<TSkinCollection>(this)) {}

TSkinStore::~TSkinStore() {
    Destroying();
}

void TSkinStore::SetStore(TSkinCollection* collection) {
    if (collection) FStore->Assign(*collection);
}

} // namespace qh
