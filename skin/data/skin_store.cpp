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
    : collection_(collection), id_(id), name_("SkinItem" + IntToStr(id)) {}

void TSkinCollectionItem::SetName(const std::string& name) {
    if (name == name_) return;
    if (collection_) {
        for (int i = 0; i < collection_->Count(); ++i) {
            const TSkinCollectionItem& other = collection_->Items(i);
            if (&other != this && other.Name() == name)
                throw ESkinStoreError("The name " + name + " is already used.");
        }
    }
    name_ = name;
}

int64_t TSkinCollectionItem::DataSize() const {
    return data_.Size();
}

void TSkinCollectionItem::ReadDataStream(TStream& value) {
    data_.Clear();
    data_.CopyFrom(value, 0);
    data_.SetPosition(0);
}

void TSkinCollectionItem::WriteDataStream(TStream& target) const {
    data_.SaveToStream(target);
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& source) {
    name_ = source.name_;
    data_.Clear();
    // Through a copy, so the source's position stays where it was.
    const std::string bytes = source.data_.ToString();
    if (!bytes.empty()) data_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data_.SetPosition(0);
}

TSkinCollectionItem& TSkinCollection::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return *items_[static_cast<size_t>(index)];
}

TSkinCollectionItem& TSkinCollection::Add() {
    items_.push_back(std::make_unique<TSkinCollectionItem>(this, nextId_++));
    return *items_.back();
}

void TSkinCollection::Delete(int index) {
    Items(index);
    items_.erase(items_.begin() + index);
}

void TSkinCollection::Clear() {
    items_.clear();
}

void TSkinCollection::Assign(const TSkinCollection& source) {
    if (&source == this) return;
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        Add().Assign(source.Items(i));
}

TSkinStore::TSkinStore(TComponent* owner)
    : TComponent(owner), store_(std::make_unique<TSkinCollection>(this)) {}

TSkinStore::~TSkinStore() {
    Destroying();
}

void TSkinStore::SetStore(TSkinCollection* collection) {
    if (collection) store_->Assign(*collection);
}

} // namespace qh
