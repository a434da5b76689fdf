// A recording stand-in for a control: every Invoke is kept with its arguments in declaration
// order; property gets answer from a table (numbers as VT_I4, texts as VT_BSTR), methods from a
// queue of results per DISPID (default 1), and a DISPID may be made to fail.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "vomcom/automation.h"

namespace agentphone::test {

struct RecordedArg {
  VARTYPE vt = VT_EMPTY;
  int32_t i4 = 0;        // VT_I4, VT_I2, VT_BYREF|VT_I4 (the value at the call)
  double r8 = 0;
  std::string text;      // VT_BSTR, VT_BYREF|VT_BSTR
  const void* ref = nullptr;  // the address of a BYREF argument
};

struct RecordedCall {
  DISPID id = 0;
  WORD flags = 0;
  std::vector<RecordedArg> args;  // declaration order
};

class FakeControl final : public IDispatch {
 public:
  std::vector<RecordedCall> calls;
  std::map<DISPID, std::deque<int32_t>> results;  // methods: next results (then 1)
  std::map<DISPID, HRESULT> failures;             // DISPID -> failing HRESULT
  std::map<DISPID, int32_t> numbers;              // property gets as VT_I4
  std::map<DISPID, std::string> texts;            // property gets as VT_BSTR
  std::function<void(DISPID)> onCall;             // runs inside a method call

  // Calls with this DISPID; method calls only when `methodsOnly`.
  std::vector<RecordedCall> CallsOf(DISPID id) const;
  size_t Count(DISPID id) const { return CallsOf(id).size(); }
  void Reset() { calls.clear(); }

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                 VARIANT* result, EXCEPINFO* info, UINT* argErr) override;
};

}  // namespace agentphone::test
