// Bodies still to come.
#include "vomcom/automation.h"
#include "vomcom/client_site.h"
#include "vomcom/connection_point.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/dispatch_table.h"
#include "vomcom/prop_exchange.h"
#include "vomcom/property_bag.h"
#include "vomcom/variant.h"

namespace vomcom {
Variant::Variant(int16_t i) : Variant() { v_.vt = VT_I2; v_.iVal = i; }
Variant::Variant(int32_t i) : Variant() { v_.vt = VT_I4; v_.lVal = i; }
Variant::Variant(int64_t i) : Variant() { v_.vt = VT_I8; v_.llVal = i; }
Variant::Variant(double d) : Variant() { v_.vt = VT_R8; v_.dblVal = d; }
Variant::Variant(bool b) : Variant() { v_.vt = VT_BOOL; v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
Variant::Variant(const Bstr& t) : Variant() { v_.vt = VT_BSTR; v_.bstrVal = Bstr(t).Detach(); }
Variant::Variant(Bstr&& t) : Variant() { v_.vt = VT_BSTR; v_.bstrVal = t.Detach(); }
Variant::Variant(std::string_view t) : Variant(Bstr(t)) {}
Variant::Variant(const char* t) : Variant(Bstr(t)) {}
Variant::Variant(IDispatch* d) : Variant() { v_.vt = VT_DISPATCH; v_.pdispVal = d; if (d) d->AddRef(); }
Variant::Variant(const VARIANT& v) : Variant() { VariantCopy(&v_, &v); }
Variant::Variant(const Variant& o) : Variant() { VariantCopy(&v_, &o.v_); }
Variant::Variant(Variant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
Variant& Variant::operator=(const Variant& o) { VariantCopy(&v_, &o.v_); return *this; }
Variant& Variant::operator=(Variant&& o) noexcept { if (this != &o) { VariantClear(&v_); v_ = o.v_; VariantInit(&o.v_); } return *this; }
Variant Variant::ByRef(int16_t* p) { Variant r; r.v_.vt = VT_I2 | VT_BYREF; r.v_.piVal = p; return r; }
Variant Variant::ByRef(int32_t* p) { Variant r; r.v_.vt = VT_I4 | VT_BYREF; r.v_.plVal = p; return r; }
Variant Variant::ByRef(int64_t* p) { Variant r; r.v_.vt = VT_I8 | VT_BYREF; r.v_.pllVal = p; return r; }
Variant Variant::ByRef(double* p) { Variant r; r.v_.vt = VT_R8 | VT_BYREF; r.v_.pdblVal = p; return r; }
Variant Variant::ByRefBool(VARIANT_BOOL* p) { Variant r; r.v_.vt = VT_BOOL | VT_BYREF; r.v_.pboolVal = p; return r; }
Variant Variant::ByRef(BSTR* p) { Variant r; r.v_.vt = VT_BSTR | VT_BYREF; r.v_.pbstrVal = p; return r; }
Variant Variant::ByRef(VARIANT* p) { Variant r; r.v_.vt = VT_VARIANT | VT_BYREF; r.v_.pvarVal = p; return r; }
Variant Variant::Attach(VARIANT* v) { Variant r; r.v_ = *v; VariantInit(v); return r; }
VARIANT* Variant::Put() { VariantClear(&v_); return &v_; }
VARIANT Variant::Detach() { VARIANT r = v_; VariantInit(&v_); return r; }
HRESULT Variant::ToI4(int32_t*) const { return E_NOTIMPL; }
HRESULT Variant::ToI2(int16_t*) const { return E_NOTIMPL; }
HRESULT Variant::ToR8(double*) const { return E_NOTIMPL; }
HRESULT Variant::ToBool(bool*) const { return E_NOTIMPL; }
HRESULT Variant::ToText(std::string*) const { return E_NOTIMPL; }
int32_t Variant::ToI4(int32_t f) const { return f; }
std::string Variant::ToText() const { return {}; }

int32_t Args::I4(size_t) const { return 0; }
int16_t Args::I2(size_t) const { return 0; }
int64_t Args::I8(size_t) const { return 0; }
double Args::R8(size_t) const { return 0; }
bool Args::Bool(size_t) const { return false; }
BSTR Args::Bstr(size_t) const { return nullptr; }
VARIANT* Args::Ref(size_t) const { return nullptr; }
HRESULT InvokeMember(const MemberDesc&, MemberCall&, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }
bool NameEquals(const OLECHAR*, const char*) { return false; }
std::string LowerAscii(std::string_view s) { return std::string(s); }
std::string LowerAscii(const OLECHAR*) { return {}; }

ConnectionPoint::ConnectionPoint(IUnknown* owner, const IID& iid) : owner_(owner), iid_(iid) {}
ConnectionPoint::~ConnectionPoint() = default;
HRESULT ConnectionPoint::QueryInterface(REFIID, void**) { return E_NOTIMPL; }
ULONG ConnectionPoint::AddRef() { return owner_->AddRef(); }
ULONG ConnectionPoint::Release() { return owner_->Release(); }
HRESULT ConnectionPoint::GetConnectionInterface(IID*) { return E_NOTIMPL; }
HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer**) { return E_NOTIMPL; }
HRESULT ConnectionPoint::Advise(IUnknown*, DWORD*) { return E_NOTIMPL; }
HRESULT ConnectionPoint::Unadvise(DWORD) { return E_NOTIMPL; }
HRESULT ConnectionPoint::EnumConnections(IEnumConnections**) { return E_NOTIMPL; }
HRESULT ConnectionPoint::Fire(DISPID, std::span<VARIANT>) { return E_NOTIMPL; }
HRESULT ConnectionPoint::Fire(DISPID, std::span<Variant>) { return E_NOTIMPL; }
size_t ConnectionPoint::SinkCount() const { return 0; }
void ConnectionPoint::DisconnectAll() {}
HRESULT ConnectionPointContainer::QueryInterface(REFIID, void**) { return E_NOTIMPL; }
HRESULT ConnectionPointContainer::EnumConnectionPoints(IEnumConnectionPoints**) { return E_NOTIMPL; }
HRESULT ConnectionPointContainer::FindConnectionPoint(REFIID, IConnectionPoint**) { return E_NOTIMPL; }
HRESULT ConnectionPointContainer::Enumerate(std::span<IConnectionPoint* const>, IEnumConnectionPoints**) { return E_NOTIMPL; }

ComPtr<MemoryPropertyBag> MemoryPropertyBag::Create() { return {}; }
HRESULT MemoryPropertyBag::QueryInterface(REFIID, void**) { return E_NOTIMPL; }
ULONG MemoryPropertyBag::AddRef() { return 1; }
ULONG MemoryPropertyBag::Release() { return 1; }
HRESULT MemoryPropertyBag::Read(LPCOLESTR, VARIANT*, IErrorLog*) { return E_NOTIMPL; }
HRESULT MemoryPropertyBag::Write(LPCOLESTR, VARIANT*) { return E_NOTIMPL; }
void MemoryPropertyBag::Set(std::string_view, const Variant&) {}
const VARIANT* MemoryPropertyBag::Find(std::string_view) const { return nullptr; }
bool MemoryPropertyBag::Remove(std::string_view) { return false; }
std::vector<std::string> MemoryPropertyBag::Names() const { return {}; }
HRESULT MemoryPropertyBag::LoadTextFile(const std::string&) { return E_NOTIMPL; }
HRESULT MemoryPropertyBag::SaveTextFile(const std::string&) const { return E_NOTIMPL; }

void PropExchange::Version(uint32_t) {}
void PropExchange::Long(const char*, int32_t& v, int32_t d) { if (mode_ == Mode::Reset) v = d; }
void PropExchange::Short(const char*, int16_t& v, int16_t d) { if (mode_ == Mode::Reset) v = d; }
void PropExchange::Bool(const char*, bool& v, bool d) { if (mode_ == Mode::Reset) v = d; }
void PropExchange::Bool(const char*, int32_t& v, bool d) { if (mode_ == Mode::Reset) v = d ? 1 : 0; }
void PropExchange::Text(const char*, std::string& v, std::string_view d) { if (mode_ == Mode::Reset) v = std::string(d); }
void PropExchange::TextNoDefault(const char*, std::string&) {}

UINT_PTR TimerHost::Set(IVcTimerSink*, UINT_PTR, UINT, uint64_t) { return 0; }
bool TimerHost::Kill(IVcTimerSink*, UINT_PTR) { return false; }
void TimerHost::KillAll() {}
size_t TimerHost::MarkDue(uint64_t) { return 0; }
size_t TimerHost::DeliverPending() { return 0; }
std::optional<uint64_t> TimerHost::NextDueMs() const { return std::nullopt; }
size_t TimerHost::PendingCount() const { return 0; }

ComPtr<DispatchSink> DispatchSink::Create(Handler, const IID&) { return {}; }
HRESULT DispatchSink::QueryInterface(REFIID, void**) { return E_NOTIMPL; }
ULONG DispatchSink::AddRef() { return 1; }
ULONG DispatchSink::Release() { return 1; }
HRESULT DispatchSink::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
HRESULT DispatchSink::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT DispatchSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT DispatchSink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }
HRESULT Invoke(IDispatch*, DISPID, WORD, std::vector<Variant>, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }
HRESULT GetDispId(IDispatch*, const char*, DISPID*) { return E_NOTIMPL; }
HRESULT InvokeByName(IDispatch*, const char*, WORD, std::vector<Variant>, VARIANT*, EXCEPINFO*) { return E_NOTIMPL; }
void ClearExcepInfo(EXCEPINFO*) {}
}  // namespace vomcom

extern "C" {
HRESULT CoCreateInstance(REFCLSID, IUnknown*, DWORD, REFIID, void** out) { if (out) *out = nullptr; return REGDB_E_CLASSNOTREG; }
HRESULT CoGetClassObject(REFCLSID, DWORD, void*, REFIID, void** out) { if (out) *out = nullptr; return REGDB_E_CLASSNOTREG; }
HRESULT CLSIDFromProgID(LPCOLESTR, CLSID*) { return CO_E_CLASSSTRING; }
HRESULT VcCLSIDFromProgIDA(const char*, CLSID*) { return CO_E_CLASSSTRING; }
void CoFreeUnusedLibraries(void) {}
int VcMapWindowsPath(const char*, char*, size_t) { return 0; }
HRESULT VcRegSetValue(const char*, const char*, const char*) { return E_NOTIMPL; }
HRESULT VcRegGetValue(const char*, const char*, char*, size_t) { return VC_E_NOTFOUND; }
HRESULT VcRegDeleteTree(const char*) { return E_NOTIMPL; }
HRESULT VcRegKeyExists(const char*) { return S_FALSE; }
HRESULT VcRegBegin(void) { return E_NOTIMPL; }
HRESULT VcRegCommit(void) { return E_NOTIMPL; }
HRESULT VcRegAbort(void) { return E_NOTIMPL; }
}
