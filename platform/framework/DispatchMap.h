// Dispatch and event tables of an automation object: one entry per member with its DISPID,
// name, types and the code behind it. Types are deduced from the member functions bound to the
// entries, so a table can be checked against a type library description.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/Win.h"
#include "platform/automation/Variant.h"

namespace orbel {

template <class T>
struct AutomationType;
template <>
struct AutomationType<bool> {
    static constexpr VarType type = VarType::Bool;
    static bool From(const Variant& v) { return v.Bool(); }
};
template <>
struct AutomationType<std::int32_t> {
    static constexpr VarType type = VarType::I4;
    static std::int32_t From(const Variant& v) { return v.I4(); }
};
template <>
struct AutomationType<std::string> {
    static constexpr VarType type = VarType::BStr;
    static const std::string& From(const Variant& v) { return v.BStr(); }
};

struct DispatchEntry {
    enum class Kind { Method, Property };
    std::string name;
    DISPID id = 0;
    Kind kind = Kind::Method;
    std::optional<VarType> type;  // method result (nullopt: none) or property type
    std::vector<VarType> params;
    // Arguments arrive already coerced to `params`. No call: the member answers E_NOTIMPL.
    std::function<Variant(std::span<const Variant>)> call;
    std::function<Variant()> get;
    std::function<void(const Variant&)> put;

    bool Implemented() const { return kind == Kind::Method ? bool(call) : bool(get && put); }
};

struct EventEntry {
    std::string name;
    DISPID id = 0;
    std::vector<VarType> params;
};

class DispatchMap {
  public:
    void Add(DispatchEntry entry) { entries_.push_back(std::move(entry)); }
    const DispatchEntry* Find(DISPID id) const;
    const DispatchEntry* Find(std::string_view name) const;  // without regard to case
    const std::vector<DispatchEntry>& Entries() const { return entries_; }

    // Coerces the arguments and runs the entry, as IDispatch::Invoke answers.
    HRESULT Invoke(DISPID id, bool propertyGet, bool propertyPut, std::span<const Variant> args,
                   Variant* result) const;

  private:
    std::vector<DispatchEntry> entries_;
};

namespace dispatch_detail {
template <class T>
using Plain = std::remove_cvref_t<T>;

template <class R, class... A, class F, std::size_t... I>
Variant CallWith(F& fn, std::span<const Variant> args, std::index_sequence<I...>) {
    if constexpr (std::is_void_v<R>) {
        fn(AutomationType<Plain<A>>::From(args[I])...);
        return Variant();
    } else {
        return Variant(fn(AutomationType<Plain<A>>::From(args[I])...));
    }
}
}  // namespace dispatch_detail

// A method entry whose behaviour is not in the control yet: the table and the type library
// agree on it, and calls answer E_NOTIMPL.
template <class R, class... A>
DispatchEntry DispMethodPending(std::string name, DISPID id) {
    DispatchEntry e;
    e.name = std::move(name);
    e.id = id;
    e.kind = DispatchEntry::Kind::Method;
    if constexpr (!std::is_void_v<R>) e.type = AutomationType<R>::type;
    e.params = {AutomationType<dispatch_detail::Plain<A>>::type...};
    return e;
}

// A method entry bound to a member function of `self`.
template <class C, class R, class... A>
DispatchEntry DispMethod(std::string name, DISPID id, C* self, R (C::*fn)(A...)) {
    DispatchEntry e = DispMethodPending<R, A...>(std::move(name), id);
    e.call = [self, fn](std::span<const Variant> args) {
        auto bound = [self, fn](auto&&... a) { return (self->*fn)(a...); };
        return dispatch_detail::CallWith<R, A...>(bound, args, std::index_sequence_for<A...>{});
    };
    return e;
}

// A property stored in a member, with a handler run after the host sets it.
template <class T>
DispatchEntry DispPropertyNotify(std::string name, DISPID id, T& member,
                                 std::function<void()> onChange) {
    DispatchEntry e;
    e.name = std::move(name);
    e.id = id;
    e.kind = DispatchEntry::Kind::Property;
    e.type = AutomationType<T>::type;
    e.get = [&member] { return Variant(member); };
    e.put = [&member, onChange](const Variant& v) {
        member = AutomationType<T>::From(v);
        if (onChange) onChange();
    };
    return e;
}

// A property read and written through functions of `self`.
template <class C, class T>
DispatchEntry DispPropertyEx(std::string name, DISPID id, C* self, T (C::*get)(),
                             void (C::*set)(T)) {
    DispatchEntry e;
    e.name = std::move(name);
    e.id = id;
    e.kind = DispatchEntry::Kind::Property;
    e.type = AutomationType<T>::type;
    e.get = [self, get] { return Variant((self->*get)()); };
    e.put = [self, set](const Variant& v) { (self->*set)(AutomationType<T>::From(v)); };
    return e;
}

}  // namespace orbel
