// The platform's coercion rules, one row per rule.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

#include "vomcom/variant.h"

namespace {

using vomcom::Bstr;
using vomcom::Variant;

struct Row {
  const char* what;
  Variant from;
  VARTYPE to;
  HRESULT hr;
  std::variant<int64_t, double, bool, std::string> expected = int64_t{0};
};

int32_t g_ref = 41;
Variant g_inner(int32_t{7});

std::vector<Row> Rows() {
  return {
      {"R8 0.5 -> I4 even", Variant(0.5), VT_I4, S_OK, int64_t{0}},
      {"R8 1.5 -> I4 even", Variant(1.5), VT_I4, S_OK, int64_t{2}},
      {"R8 2.5 -> I4 even", Variant(2.5), VT_I4, S_OK, int64_t{2}},
      {"R8 -1.5 -> I4", Variant(-1.5), VT_I4, S_OK, int64_t{-2}},
      {"R8 -0.6 -> I4", Variant(-0.6), VT_I4, S_OK, int64_t{-1}},
      {"R8 1.4999 -> I4", Variant(1.4999), VT_I4, S_OK, int64_t{1}},
      {"R8 32767 -> I2", Variant(32767.0), VT_I2, S_OK, int64_t{32767}},
      {"R8 32768 -> I2 overflow", Variant(32768.0), VT_I2, DISP_E_OVERFLOW},
      {"R8 -32769 -> I2 overflow", Variant(-32769.0), VT_I2, DISP_E_OVERFLOW},
      {"R8 2^31 -> I4 overflow", Variant(2147483648.0), VT_I4, DISP_E_OVERFLOW},
      {"I4 70000 -> I2 overflow", Variant(int32_t{70000}), VT_I2, DISP_E_OVERFLOW},
      {"\"12\" -> I4", Variant("12"), VT_I4, S_OK, int64_t{12}},
      {"\" 12\" -> I4", Variant(" 12"), VT_I4, S_OK, int64_t{12}},
      {"\" 12 \" -> I4", Variant(" 12 "), VT_I4, S_OK, int64_t{12}},
      {"\"1.5\" -> I4", Variant("1.5"), VT_I4, S_OK, int64_t{2}},
      {"\"-1.5\" -> I2", Variant("-1.5"), VT_I2, S_OK, int64_t{-2}},
      {"\"1,000\" -> I4", Variant("1,000"), VT_I4, S_OK, int64_t{1000}},
      {"\"1e3\" -> I4", Variant("1e3"), VT_I4, S_OK, int64_t{1000}},
      {"\"&H10\" -> I4", Variant("&H10"), VT_I4, S_OK, int64_t{16}},
      {"\"2147483648\" -> I4 overflow", Variant("2147483648"), VT_I4, DISP_E_OVERFLOW},
      {"\"abc\" -> I4", Variant("abc"), VT_I4, DISP_E_TYPEMISMATCH},
      {"\"\" -> I4", Variant(""), VT_I4, DISP_E_TYPEMISMATCH},
      {"\"0x10\" -> I4", Variant("0x10"), VT_I4, DISP_E_TYPEMISMATCH},
      {"\"12abc\" -> R8", Variant("12abc"), VT_R8, DISP_E_TYPEMISMATCH},
      {"\"True\" -> BOOL", Variant("True"), VT_BOOL, S_OK, true},
      {"\"false\" -> BOOL", Variant("false"), VT_BOOL, S_OK, false},
      {"\"0\" -> BOOL", Variant("0"), VT_BOOL, S_OK, false},
      {"\"0.1\" -> BOOL", Variant("0.1"), VT_BOOL, S_OK, true},
      {"\"Yes\" -> BOOL", Variant("Yes"), VT_BOOL, DISP_E_TYPEMISMATCH},
      {"I4 5 -> BOOL", Variant(int32_t{5}), VT_BOOL, S_OK, true},
      {"R8 0 -> BOOL", Variant(0.0), VT_BOOL, S_OK, false},
      {"BOOL true -> I4", Variant(true), VT_I4, S_OK, int64_t{-1}},
      {"BOOL true -> UI2", Variant(true), VT_UI2, S_OK, int64_t{65535}},
      {"BOOL true -> BSTR", Variant(true), VT_BSTR, S_OK, std::string("-1")},
      {"I4 1 -> BSTR", Variant(int32_t{1}), VT_BSTR, S_OK, std::string("1")},
      {"R8 0.5 -> BSTR", Variant(0.5), VT_BSTR, S_OK, std::string("0.5")},
      {"EMPTY -> I4", Variant(), VT_I4, S_OK, int64_t{0}},
      {"EMPTY -> BSTR", Variant(), VT_BSTR, S_OK, std::string("")},
      {"EMPTY -> DISPATCH", Variant(), VT_DISPATCH, DISP_E_TYPEMISMATCH},
      {"I4 byref -> BSTR", Variant::ByRef(&g_ref), VT_BSTR, S_OK, std::string("41")},
      {"VARIANT byref -> R8", Variant::ByRef(g_inner.Get()), VT_R8, S_OK, 7.0},
  };
}

TEST(VariantChangeType, FollowsThePlatformRules) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.what);
    Variant out(int32_t{-99});
    HRESULT hr = VariantChangeType(out.Get(), row.from.Get(), 0, row.to);
    ASSERT_EQ(hr, row.hr);
    if (FAILED(hr)) {
      // The destination is left as it was.
      EXPECT_EQ(out.Type(), VT_I4);
      EXPECT_EQ(out.Get()->lVal, -99);
      continue;
    }
    ASSERT_EQ(out.Type(), row.to);
    if (auto* i = std::get_if<int64_t>(&row.expected)) {
      Variant wide;
      ASSERT_EQ(VariantChangeType(wide.Get(), out.Get(), 0, VT_I8), S_OK);
      EXPECT_EQ(wide.Get()->llVal, *i);
    } else if (auto* d = std::get_if<double>(&row.expected)) {
      EXPECT_DOUBLE_EQ(out.Get()->dblVal, *d);
    } else if (auto* b = std::get_if<bool>(&row.expected)) {
      EXPECT_EQ(out.Get()->boolVal, *b ? VARIANT_TRUE : VARIANT_FALSE);
    } else {
      EXPECT_EQ(Bstr::Copy(out.Get()->bstrVal).Utf8(), std::get<std::string>(row.expected));
    }
  }
}

TEST(VariantChangeType, ConvertsInPlaceAndRejectsUnknownTypes) {
  Variant v("42");
  ASSERT_EQ(VariantChangeType(v.Get(), v.Get(), 0, VT_I4), S_OK);
  EXPECT_EQ(v.Type(), VT_I4);
  EXPECT_EQ(v.Get()->lVal, 42);

  Variant out;
  EXPECT_EQ(VariantChangeType(out.Get(), v.Get(), 0, 0x3847), DISP_E_BADVARTYPE);
  VARIANT nullRef;
  VariantInit(&nullRef);
  nullRef.vt = VT_VARIANT | VT_BYREF;
  EXPECT_EQ(VariantChangeType(out.Get(), &nullRef, 0, VT_I4), DISP_E_TYPEMISMATCH);
}

TEST(VariantCopy, CopiesTextAndCountsReferences) {
  Variant a("text");
  Variant b(a);
  EXPECT_NE(a.Get()->bstrVal, b.Get()->bstrVal);
  EXPECT_EQ(b.ToText(), "text");

  VARIANT nullText;
  VariantInit(&nullText);
  nullText.vt = VT_BSTR;
  Variant c(nullText);
  EXPECT_NE(c.Get()->bstrVal, nullptr);
  EXPECT_EQ(SysStringLen(c.Get()->bstrVal), 0u);
}

}  // namespace
