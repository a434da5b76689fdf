// The member table of one class: the one description that drives Invoke, GetIDsOfNames and the
// type-info view, so the three cannot disagree.
//
//   const vomcom::Member<Ctrl> Ctrl::kMembers[] = {
//     {1, "AppName", MemberKind::Property, VT_BSTR, {}, true, nullptr, &Ctrl::GetAppName,
//      &Ctrl::PutAppName},
//     {2, "Open", MemberKind::Method, VT_I4, {VT_I4, VT_BSTR | VT_BYREF}, true, &Ctrl::Open},
//   };
//
// Invoke takes the arguments in the platform's reversed order, accepts the named argument
// DISPID_PROPERTYPUT of a put, checks the count (DISP_E_BADPARAMCOUNT), coerces each argument
// to its declared type with VariantChangeType (DISP_E_TYPEMISMATCH / DISP_E_OVERFLOW with
// *argErr the rgvarg index), passes BYREF parameters through to the caller's storage, and turns
// a C++ exception that escapes a handler into DISP_E_EXCEPTION with its what() text in
// EXCEPINFO.bstrDescription. A put on a member without put handler gives VC_E_SETNOTSUPPORTED;
// an unknown DISPID DISP_E_MEMBERNOTFOUND. Names are matched without regard to ASCII case.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/type_info.h"

namespace vomcom {

enum class MemberKind : uint8_t { Method, Property };

// A method's parameter types in declaration order, kept in the table itself.
struct ParamList {
  static constexpr size_t kMax = 32;
  VARTYPE types[kMax] = {};
  uint8_t count = 0;

  constexpr ParamList() = default;
  constexpr ParamList(std::initializer_list<VARTYPE> list) {
    if (list.size() > kMax) throw "vomcom::ParamList: too many parameters";
    for (VARTYPE t : list) types[count++] = t;
  }
  constexpr size_t size() const { return count; }
  constexpr const VARTYPE* begin() const { return types; }
  constexpr const VARTYPE* end() const { return types + count; }
  constexpr VARTYPE operator[](size_t i) const { return types[i]; }
};

// The arguments of one call, coerced to the declared types, in declaration order. A BYREF
// parameter (VT_xx | VT_BYREF) points into the caller's storage: write through Ref(i). A
// VT_VARIANT parameter is the caller's VARIANT itself (Ref(i)).
struct VOMCOM_API Args {
  VARIANT* v = nullptr;
  size_t count = 0;

  int32_t I4(size_t i) const;
  int16_t I2(size_t i) const;
  int64_t I8(size_t i) const;
  double R8(size_t i) const;
  bool Bool(size_t i) const;
  BSTR Bstr(size_t i) const;  // owned by the call; copy what you keep
  VARIANT* Ref(size_t i) const;
};

template <class T>
struct Member {
  DISPID id;
  const char* name;
  MemberKind kind;
  VARTYPE type;      // property type, or method result (VT_EMPTY = none)
  ParamList params;  // method parameter types
  bool declared;     // shown in the type-info view (false = reachable only)
  HRESULT (T::*method)(const Args&, VARIANT* result) = nullptr;  // Method
  HRESULT (T::*get)(VARIANT* result) = nullptr;                  // Property get
  HRESULT (T::*put)(const VARIANT& value) = nullptr;             // Property put; null = read-only
};

// One event of an event interface (fired, never invoked).
struct EventMember {
  DISPID id;
  const char* name;
  ParamList params;
  bool declared = true;
};

// ------------------------------------------------------------------------------------------
// The type-erased part, in the runtime library.

struct MemberDesc {
  DISPID id;
  const char* name;
  MemberKind kind;
  VARTYPE type;
  const ParamList* params;
  bool hasMethod;
  bool hasGet;
  bool hasPut;
};

class MemberCall {
 public:
  virtual HRESULT Method(const Args& args, VARIANT* result) = 0;
  virtual HRESULT Get(VARIANT* result) = 0;
  virtual HRESULT Put(const VARIANT& value) = 0;

 protected:
  ~MemberCall() = default;
};

// Checks, coerces and calls one member (see the top of this file); result and excepInfo and
// argErr may be null.
VOMCOM_API HRESULT InvokeMember(const MemberDesc& member, MemberCall& call, WORD flags,
                                DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                                UINT* argErr);
// ASCII case-insensitive comparison of a UTF-16 name with a table name.
VOMCOM_API bool NameEquals(const OLECHAR* name, const char* tableName);
VOMCOM_API std::string LowerAscii(std::string_view s);
VOMCOM_API std::string LowerAscii(const OLECHAR* s);

// ------------------------------------------------------------------------------------------

template <class T>
class DispatchTable {
 public:
  explicit DispatchTable(std::span<const Member<T>> members) : members_(members) {
    byName_.reserve(members.size());
    byId_.reserve(members.size());
    for (size_t i = 0; i < members.size(); ++i) {
      byName_.emplace_back(LowerAscii(members[i].name), i);
      byId_.emplace_back(members[i].id, i);
    }
    std::sort(byName_.begin(), byName_.end());
    std::sort(byId_.begin(), byId_.end());
  }

  std::span<const Member<T>> Members() const { return members_; }

  const Member<T>* Find(DISPID id) const {
    auto it = std::lower_bound(byId_.begin(), byId_.end(), std::pair<DISPID, size_t>(id, 0));
    return it != byId_.end() && it->first == id ? &members_[it->second] : nullptr;
  }
  const Member<T>* FindName(const OLECHAR* name) const {
    if (!name) return nullptr;
    std::string key = LowerAscii(name);
    auto it = std::lower_bound(byName_.begin(), byName_.end(),
                               std::pair<std::string, size_t>(key, 0));
    return it != byName_.end() && it->first == key ? &members_[it->second] : nullptr;
  }

  // names[0] is the member; further names would be its parameters, which have no names here
  // (DISP_E_UNKNOWNNAME, their ids DISPID_UNKNOWN).
  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    HRESULT hr = S_OK;
    const Member<T>* m = FindName(names[0]);
    ids[0] = m ? m->id : DISPID_UNKNOWN;
    if (!m) hr = DISP_E_UNKNOWNNAME;
    for (UINT i = 1; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }

  HRESULT Invoke(T& self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excepInfo, UINT* argErr) const {
    const Member<T>* m = Find(id);
    if (!m) return DISP_E_MEMBERNOTFOUND;
    struct Call final : MemberCall {
      T& self;
      const Member<T>& m;
      Call(T& s, const Member<T>& mm) : self(s), m(mm) {}
      HRESULT Method(const Args& a, VARIANT* r) override { return (self.*m.method)(a, r); }
      HRESULT Get(VARIANT* r) override { return (self.*m.get)(r); }
      HRESULT Put(const VARIANT& v) override { return (self.*m.put)(v); }
    } call(self, *m);
    MemberDesc d{m->id, m->name, m->kind, m->type, &m->params,
                 m->method != nullptr, m->get != nullptr, m->put != nullptr};
    return InvokeMember(d, call, flags, params, result, excepInfo, argErr);
  }

  // The declared members as the type-info view lists them: a method once, a property as its
  // get and (when writable) its put.
  std::vector<VcMemberInfo> Describe() const {
    std::vector<VcMemberInfo> out;
    for (const Member<T>& m : members_) {
      if (!m.declared) continue;
      if (m.kind == MemberKind::Method) {
        out.push_back({m.id, VC_MEMBER_METHOD, m.name, m.type, 0, m.params.count,
                       m.params.types, 0});
      } else {
        out.push_back({m.id, VC_MEMBER_PROPGET, m.name, m.type, 0, 0, nullptr, 0});
        if (m.put) out.push_back({m.id, VC_MEMBER_PROPPUT, m.name, VT_EMPTY, 0, 1, &m.type, 0});
      }
    }
    return out;
  }

  ComPtr<IVcTypeInfo> MakeTypeInfo(const VcInterfaceInfo& info) const {
    return TypeInfo::Create(info, Describe());
  }

 private:
  std::span<const Member<T>> members_;
  std::vector<std::pair<std::string, size_t>> byName_;
  std::vector<std::pair<DISPID, size_t>> byId_;
};

// The type-info view of an event interface.
inline std::vector<VcMemberInfo> DescribeEvents(std::span<const EventMember> events) {
  std::vector<VcMemberInfo> out;
  for (const EventMember& e : events) {
    if (e.declared)
      out.push_back({e.id, VC_MEMBER_METHOD, e.name, VT_EMPTY, 0, e.params.count,
                     e.params.types, 0});
  }
  return out;
}

inline ComPtr<IVcTypeInfo> MakeEventTypeInfo(const VcInterfaceInfo& info,
                                             std::span<const EventMember> events) {
  return TypeInfo::Create(info, DescribeEvents(events));
}

}  // namespace vomcom
