#include "core/properties.h"

#include "core/text.h"

namespace qh {

const TEnumInfo BooleanEnum{"Boolean", {"False", "True"}};

int TEnumInfo::ValueOf(std::string_view name) const {
    for (size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], name)) return static_cast<int>(i);
    return -1;
}

std::string TEnumInfo::NameOf(int64_t ordinal) const {
    if (ordinal < 0 || ordinal >= static_cast<int64_t>(Names.size())) return {};
    return Names[static_cast<size_t>(ordinal)];
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (c == &other) return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (SameText(c->Name, className)) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TPropInfo& p : c->Properties)
            if (SameText(p.Name, name)) return &p;
    return nullptr;
}

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo info("TObject", nullptr, {});
    return info;
}

QH_DEFINE_CLASS(TPersistent, TObject)

const TPropInfo* FindPropInfo(const TObject& object, std::string_view name) {
    return object.ClassType().FindProperty(name);
}

bool IsPublishedProp(const TObject& object, std::string_view name) {
    return FindPropInfo(object, name) != nullptr;
}

namespace {

const TPropInfo* FindOfKind(const TObject& object, std::string_view name, TPropKind kind) {
    const TPropInfo* p = FindPropInfo(object, name);
    return p && p->Kind == kind ? p : nullptr;
}

} // namespace

int64_t GetIntProp(const TObject& object, std::string_view name) {
    const TPropInfo* p = FindOfKind(object, name, TPropKind::Integer);
    return p ? p->GetOrd(object) : 0;
}

std::string GetEnumProp(const TObject& object, std::string_view name) {
    const TPropInfo* p = FindOfKind(object, name, TPropKind::Enumeration);
    return p ? p->Enum->NameOf(p->GetOrd(object)) : std::string();
}

std::string GetStrProp(const TObject& object, std::string_view name) {
    const TPropInfo* p = FindOfKind(object, name, TPropKind::String);
    return p ? p->GetStr(object) : std::string();
}

TObject* GetObjectProp(const TObject& object, std::string_view name) {
    const TPropInfo* p = FindOfKind(object, name, TPropKind::Object);
    return p ? p->GetObj(object) : nullptr;
}

bool SetEnumProp(TObject& object, std::string_view name, std::string_view valueName) {
    const TPropInfo* p = FindOfKind(object, name, TPropKind::Enumeration);
    if (!p || !p->SetOrd) return false;
    int value = p->Enum->ValueOf(valueName);
    if (value < 0) return false;
    p->SetOrd(object, value);
    return true;
}

bool SetIntProp(TObject& object, std::string_view name, int64_t value) {
    const TPropInfo* p = FindOfKind(object, name, TPropKind::Integer);
    if (!p || !p->SetOrd) return false;
    p->SetOrd(object, value);
    return true;
}

bool SetStrProp(TObject& object, std::string_view name, const std::string& value) {
    const TPropInfo* p = FindOfKind(object, name, TPropKind::String);
    if (!p || !p->SetStr) return false;
    p->SetStr(object, value);
    return true;
}

bool SetObjectProp(TObject& object, std::string_view name, TObject* value) {
    const TPropInfo* p = FindOfKind(object, name, TPropKind::Object);
    return p && p->SetObj && p->SetObj(object, value);
}

} // namespace qh
