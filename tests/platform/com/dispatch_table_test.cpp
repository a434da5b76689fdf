// Invoke, GetIDsOfNames and the type-info view over one member table.
#include <gtest/gtest.h>

#include <thread>

#include "sample_control.h"
#include "vomcom/dispatch_sink.h"

namespace {

using vomcom::Bstr;
using vomcom::ComPtr;
using vomcom::Variant;

DISPID IdOf(IDispatch* d, const char16_t* name) {
  LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
  DISPID id = 12345;
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  return id;
}

TEST(Dispatch, TakesArgumentsInReversedOrder) {
  auto d = sample::Create();
  // rgvarg[0] is the last argument: Subtract(10, 3).
  VARIANT args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  args[0].vt = VT_I4;
  args[0].lVal = 3;
  args[1].vt = VT_BSTR;  // coerced to the declared VT_I4
  args[1].bstrVal = SysAllocString(u"10");
  DISPPARAMS dp{args, nullptr, 2, 0};
  Variant result;
  ASSERT_EQ(d->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &dp, result.Put(), nullptr, nullptr), S_OK);
  EXPECT_EQ(result.Get()->lVal, 7);
  VariantClear(&args[1]);
  // The helper reverses for the caller.
  ASSERT_EQ(vomcom::Invoke(d.Get(), 4, DISPATCH_METHOD, {Variant(int32_t{10}), Variant(int32_t{3})},
                           result.Put()),
            S_OK);
  EXPECT_EQ(result.Get()->lVal, 7);
}

TEST(Dispatch, PutsWithTheNamedArgumentAndRefusesReadOnly) {
  auto d = sample::Create();
  Variant value("홍길동");
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS dp{value.Get(), &named, 1, 1};
  ASSERT_EQ(d->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &dp, nullptr, nullptr, nullptr), S_OK);
  Variant got;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  ASSERT_EQ(d->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, got.Put(), nullptr, nullptr),
            S_OK);
  EXPECT_EQ(got.ToText(), "홍길동");

  Variant three(int32_t{3});
  DISPPARAMS put{three.Get(), &named, 1, 1};
  EXPECT_EQ(d->Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
            VC_E_SETNOTSUPPORTED);
  DISPID other = 5;
  DISPPARAMS wrongName{three.Get(), &other, 1, 1};
  EXPECT_EQ(d->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT, &wrongName, nullptr, nullptr, nullptr),
            DISP_E_PARAMNOTFOUND);
}

TEST(Dispatch, ReportsCallErrors) {
  auto d = sample::Create();
  Variant result;
  UINT argErr = 77;
  Variant text("abc");
  Variant one(int32_t{1});
  VARIANT mixed[2] = {*one.Get(), *text.Get()};  // Subtract("abc", 1)
  DISPPARAMS bad{mixed, nullptr, 2, 0};
  EXPECT_EQ(d->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &bad, result.Put(), nullptr, &argErr),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argErr, 1u);  // the rgvarg index of the first argument
  Variant big(1e12);
  VARIANT overflow[2] = {*big.Get(), *one.Get()};
  DISPPARAMS tooBig{overflow, nullptr, 2, 0};
  EXPECT_EQ(d->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &tooBig, result.Put(), nullptr, &argErr),
            DISP_E_OVERFLOW);
  EXPECT_EQ(argErr, 0u);

  DISPPARAMS oneArg{one.Get(), nullptr, 1, 0};
  EXPECT_EQ(d->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &oneArg, result.Put(), nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(d->Invoke(999, IID_NULL, 0, DISPATCH_METHOD, &oneArg, result.Put(), nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(d->Invoke(4, IID_IDispatch, 0, DISPATCH_METHOD, &oneArg, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);

  EXCEPINFO info{};
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(d->Invoke(6, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &info, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(Bstr::Copy(info.bstrDescription).Utf8(), "the handler failed");
  vomcom::ClearExcepInfo(&info);
}

TEST(Dispatch, WritesThroughByRefArguments) {
  auto d = sample::Create();
  int32_t number = 1;
  BSTR text = SysAllocString(u"old");
  ASSERT_EQ(vomcom::Invoke(d.Get(), 5, DISPATCH_METHOD,
                           {Variant::ByRef(&number), Variant::ByRef(&text)}, nullptr),
            S_OK);
  EXPECT_EQ(number, 99);
  EXPECT_EQ(Bstr::Attach(text).Utf8(), "filled");

  // A host's variables held as VARIANTs, passed by reference, take the declared types.
  Variant n("5");
  Variant s(int32_t{1});
  ASSERT_EQ(vomcom::Invoke(d.Get(), 5, DISPATCH_METHOD,
                           {Variant::ByRef(n.Get()), Variant::ByRef(s.Get())}, nullptr),
            S_OK);
  EXPECT_EQ(n.Type(), VT_I4);
  EXPECT_EQ(n.Get()->lVal, 99);
  EXPECT_EQ(s.ToText(), "filled");
}

TEST(Dispatch, FindsNamesWithoutRegardToCase) {
  auto d = sample::Create();
  EXPECT_EQ(IdOf(d.Get(), u"subtract"), 4);
  EXPECT_EQ(IdOf(d.Get(), u"SUBTRACT"), 4);
  EXPECT_EQ(IdOf(d.Get(), u"Count"), 2);  // not declared, still reachable
  LPOLESTR names[2] = {const_cast<LPOLESTR>(u"NoSuchMember"), const_cast<LPOLESTR>(u"x")};
  DISPID ids[2] = {0, 0};
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
  names[0] = const_cast<LPOLESTR>(u"Subtract");
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], 4);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
}

TEST(TypeInfoView, ListsTheDeclaredMembersOfTheSameTable) {
  auto d = sample::Create();
  UINT count = 0;
  ASSERT_EQ(d->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ITypeInfo* raw = nullptr;
  EXPECT_EQ(d->GetTypeInfo(1, 0, &raw), DISP_E_BADINDEX);
  ASSERT_EQ(d->GetTypeInfo(0, 0, &raw), S_OK);
  ComPtr<IVcTypeInfo> info;
  ASSERT_EQ(raw->QueryInterface(IID_IVcTypeInfo, info.PutVoid()), S_OK);
  raw->Release();

  VcInterfaceInfo ii{};
  ASSERT_EQ(info->GetInterfaceInfo(&ii), S_OK);
  EXPECT_STREQ(ii.name, "_DSample");
  EXPECT_TRUE(ii.flags & VC_TYPEFLAG_HIDDEN);
  UINT n = 0;
  info->GetMemberCount(&n);
  std::vector<std::string> rows;
  for (UINT i = 0; i < n; ++i) {
    VcMemberInfo m{};
    ASSERT_EQ(info->GetMember(i, &m), S_OK);
    std::string row = std::to_string(m.id) + " " + m.name + " " + std::to_string(m.kind) + " " +
                      std::to_string(m.resultType) + "(";
    for (uint32_t p = 0; p < m.paramCount; ++p) row += std::to_string(m.params[p]) + ",";
    rows.push_back(row + ")");
    // The view and GetIDsOfNames agree.
    EXPECT_EQ(IdOf(d.Get(), Bstr(m.name).Get()), m.id);
  }
  // Count is reachable but not declared; Name is read/write, Version read-only.
  std::vector<std::string> expected = {
      "1 Name 2 8()", "1 Name 4 0(8,)", "3 Version 2 3()", "4 Subtract 1 3(3,3,)",
      "5 Fill 1 0(16387,16392,)", "6 Fail 1 0()", "7 Fire 1 0(3,)"};
  EXPECT_EQ(rows, expected);
  VcMemberInfo past{};
  EXPECT_EQ(info->GetMember(n, &past), DISP_E_BADINDEX);
}

TEST(Apartment, CallsFromAnotherThreadAreRefused) {
  auto d = sample::Create();
  HRESULT invoke = S_OK, names = S_OK, site = S_OK;
  std::thread other([&] {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variant r;
    invoke = d->Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, r.Put(), nullptr, nullptr);
    LPOLESTR n[1] = {const_cast<LPOLESTR>(u"Name")};
    DISPID id;
    names = d->GetIDsOfNames(IID_NULL, n, 1, 0, &id);
    ComPtr<IVcControl> c;
    d->QueryInterface(IID_IVcControl, c.PutVoid());
    site = c->SetClientSite(nullptr);
  });
  other.join();
  EXPECT_EQ(invoke, RPC_E_WRONG_THREAD);
  EXPECT_EQ(names, RPC_E_WRONG_THREAD);
  EXPECT_EQ(site, RPC_E_WRONG_THREAD);
}

}  // namespace
