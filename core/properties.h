// Class identity and published properties: every class of the object model
// carries a class record with its name, its parent's record and a table of
// the properties it publishes, so that code which knows a class only by an
// object (the skin engine) can test it and read or set its properties by name.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace qh {

class TObject;

enum class TPropKind { Integer, Enumeration, String, Object };

// The value names of an enumeration type, in ordinal order.
struct TEnumInfo {
    const char* TypeName;
    std::vector<const char*> Names;

    // The ordinal of a value name (case-insensitive), or -1.
    int ValueOf(std::string_view name) const;
    // The name of an ordinal, or the empty text when out of range.
    std::string NameOf(int64_t ordinal) const;
};

// Booleans are published as the enumeration False, True.
extern const TEnumInfo BooleanEnum;

struct TPropInfo {
    const char* Name = "";
    TPropKind Kind = TPropKind::Integer;
    const TEnumInfo* Enum = nullptr; // enumerations only
    // Integer and enumeration properties travel as their ordinal value.
    std::function<int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, int64_t)> SetOrd;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<TObject*(const TObject&)> GetObj;
    // False when the object is not of the property's class.
    std::function<bool(TObject&, TObject*)> SetObj;
};

class TClassInfo {
public:
    TClassInfo(const char* name, const TClassInfo* parent, std::vector<TPropInfo> properties)
        : Name(name), Parent(parent), Properties(std::move(properties)) {}

    // True for this class and every class derived from it.
    bool InheritsFrom(const TClassInfo& other) const;
    // The same test by class name (case-insensitive), for classes a caller
    // knows only by name.
    bool InheritsFrom(std::string_view className) const;
    // The property of that name (case-insensitive) of this class or the
    // nearest ancestor publishing it.
    const TPropInfo* FindProperty(std::string_view name) const;

    const char* const Name;
    const TClassInfo* const Parent;
    const std::vector<TPropInfo> Properties;
};

// The root of every class with an identity.
class TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    const char* ClassName() const { return ClassType().Name; }
    bool InheritsFrom(const TClassInfo& other) const { return ClassType().InheritsFrom(other); }
    bool InheritsFrom(std::string_view className) const {
        return ClassType().InheritsFrom(className);
    }
    template <class T> bool Is() const { return InheritsFrom(T::StaticClass()); }
};

// Objects that publish properties but are not components (fonts, pictures).
class TPersistent : public TObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

// Put at the top of a class body: gives the class its own identity.
// Leaves the access at public.
#define QH_CLASS(Name, Base)                                                                       \
public:                                                                                            \
    using inherited = Base;                                                                        \
    static const ::qh::TClassInfo& StaticClass();                                                  \
    const ::qh::TClassInfo& ClassType() const override {                                           \
        return StaticClass();                                                                      \
    }

// In the class's .cpp: its record, with the properties it publishes.
#define QH_DEFINE_CLASS(Name, Base, ...)                                                           \
    const ::qh::TClassInfo& Name::StaticClass() {                                                  \
        static const ::qh::TClassInfo info(#Name, &Base::StaticClass(), {__VA_ARGS__});            \
        return info;                                                                               \
    }

// Access by name. Readers give the empty value (0, "", nullptr) when the
// object publishes no property of that name or it is of another kind.
const TPropInfo* FindPropInfo(const TObject& object, std::string_view name);
bool IsPublishedProp(const TObject& object, std::string_view name);
int64_t GetIntProp(const TObject& object, std::string_view name);
std::string GetEnumProp(const TObject& object, std::string_view name);
std::string GetStrProp(const TObject& object, std::string_view name);
TObject* GetObjectProp(const TObject& object, std::string_view name);
// Setters return whether they set anything: a missing or read-only property,
// one of another kind, or an unknown value name is skipped silently.
bool SetEnumProp(TObject& object, std::string_view name, std::string_view valueName);
bool SetIntProp(TObject& object, std::string_view name, int64_t value);
bool SetStrProp(TObject& object, std::string_view name, const std::string& value);
bool SetObjectProp(TObject& object, std::string_view name, TObject* value);

// The object a property's member is called on: the class itself, or a
// mix-in base of it that is no object of its own (reached across).
template <class C> const C& PropTarget(const TObject& o) {
    if constexpr (std::is_base_of_v<TObject, C>)
        return static_cast<const C&>(o);
    else
        return dynamic_cast<const C&>(o);
}
template <class C> C& PropTarget(TObject& o) {
    if constexpr (std::is_base_of_v<TObject, C>)
        return static_cast<C&>(o);
    else
        return dynamic_cast<C&>(o);
}

// Table builders from getter and setter members. The setter may be left out
// for a read-only property.
template <class C, class G, class D = C, class S = G>
TPropInfo IntProp(const char* name, G (C::*get)() const, void (D::*set)(S) = nullptr) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Integer;
    info.GetOrd = [get](const TObject& o) {
        return static_cast<int64_t>((PropTarget<C>(o).*get)());
    };
    if (set)
        info.SetOrd = [set](TObject& o, int64_t v) {
            (PropTarget<D>(o).*set)(static_cast<std::decay_t<S>>(v));
        };
    return info;
}

template <class C, class G, class D = C, class S = G>
TPropInfo EnumProp(const char* name, const TEnumInfo& type, G (C::*get)() const,
                   void (D::*set)(S) = nullptr) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Enumeration;
    info.Enum = &type;
    info.GetOrd = [get](const TObject& o) {
        return static_cast<int64_t>((PropTarget<C>(o).*get)());
    };
    if (set)
        info.SetOrd = [set](TObject& o, int64_t v) {
            (PropTarget<D>(o).*set)(static_cast<std::decay_t<S>>(v));
        };
    return info;
}

template <class C, class D = C>
TPropInfo BoolProp(const char* name, bool (C::*get)() const, void (D::*set)(bool) = nullptr) {
    return EnumProp(name, BooleanEnum, get, set);
}

template <class C, class G, class D = C, class S = G>
TPropInfo StrProp(const char* name, G (C::*get)() const, void (D::*set)(S) = nullptr) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::String;
    info.GetStr = [get](const TObject& o) { return std::string((PropTarget<C>(o).*get)()); };
    if (set) info.SetStr = [set](TObject& o, const std::string& v) { (PropTarget<D>(o).*set)(v); };
    return info;
}

template <class C, class G, class D = C, class S = G*>
TPropInfo ObjProp(const char* name, G* (C::*get)() const, void (D::*set)(S) = nullptr) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Object;
    info.GetObj = [get](const TObject& o) -> TObject* { return (PropTarget<C>(o).*get)(); };
    if (set)
        info.SetObj = [set](TObject& o, TObject* v) {
            using Target = std::remove_pointer_t<std::decay_t<S>>;
            // Only an object of the property's class (or none) is taken.
            auto* typed = dynamic_cast<Target*>(v);
            if (v && !typed) return false;
            (PropTarget<D>(o).*set)(typed);
            return true;
        };
    return info;
}

} // namespace qh
