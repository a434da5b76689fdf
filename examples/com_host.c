/* com_host: a host of the control module written against the component runtime's C header
 * alone.
 *
 *   com_host [PROGID]...
 *   com_host --call ADDRESS PORT DEVICE NUMBER
 *
 * The first form creates each named control (default: the module's three controls) by its ProgID through the
 * registry ($VOMTEL_REGISTRY, else the per-user one; register the module first with
 * `vomcom-register vomtelx.so`) and prints the members of its dispatch interface as its
 * type-info view describes them. Exits 0 when every control was created and described.
 *
 * The second form drives the main control as an agent's desk would: it sets the connection
 * properties, opens the server, makes a call from DEVICE to NUMBER, closes the server, and
 * prints each member's result. Exits 0 when the open and the call returned 1. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vomcom/automation.h"

static const char* const kControls[] = {
    "vomtel_ocx.vomtel_ocxCtrl.1",
    "vomtel_ocx.vomtel_ocxEvtCtrl.1",
    "vomtel_ocx.vomtel_ocxOBCtrl.1",
};

/* Type names as a table: the automation types the members use. */
static const struct {
  VARTYPE vt;
  const char* name;
} kTypeNames[] = {
    {VT_EMPTY, "void"},   {VT_I2, "short"},       {VT_I4, "long"},
    {VT_R8, "double"},    {VT_BSTR, "BSTR"},      {VT_DISPATCH, "IDispatch*"},
    {VT_ERROR, "SCODE"},  {VT_BOOL, "VARIANT_BOOL"}, {VT_VARIANT, "VARIANT"},
    {VT_UNKNOWN, "IUnknown*"}, {VT_UI1, "unsigned char"}, {VT_I8, "int64"},
};

static void PrintType(VARTYPE vt) {
  size_t i;
  const char* name = "?";
  for (i = 0; i < sizeof kTypeNames / sizeof kTypeNames[0]; ++i) {
    if (kTypeNames[i].vt == (vt & VT_TYPEMASK)) name = kTypeNames[i].name;
  }
  printf("%s%s", name, (vt & VT_BYREF) ? "*" : "");
}

static void PrintMember(const VcMemberInfo* m) {
  uint32_t p;
  const char* kind = m->kind == VC_MEMBER_PROPGET   ? "propget"
                     : m->kind == VC_MEMBER_PROPPUT ? "propput"
                                                    : "method";
  printf("  [%d] %s ", (int)m->id, kind);
  PrintType(m->resultType);
  printf(" %s(", m->name ? m->name : "");
  for (p = 0; m->params && p < m->paramCount; ++p) {
    if (p > 0) printf(", ");
    PrintType(m->params[p]);
  }
  printf(")\n");
}

/* The type-info view of a dispatch interface: GetTypeInfo(0) answers an object that is asked
 * for IVcTypeInfo. */
static int Describe(IDispatch* d) {
  ITypeInfo* typeInfo = NULL;
  IUnknown* unknown;
  IVcTypeInfo* view = NULL;
  VcInterfaceInfo info;
  char guid[39];
  UINT count = 0, i;
  HRESULT hr = d->lpVtbl->GetTypeInfo(d, 0, 0, &typeInfo);
  if (FAILED(hr) || typeInfo == NULL) {
    fprintf(stderr, "com_host: no type information (0x%08X)\n", (unsigned)hr);
    return 0;
  }
  unknown = (IUnknown*)typeInfo;
  hr = unknown->lpVtbl->QueryInterface(unknown, &IID_IVcTypeInfo, (void**)&view);
  unknown->lpVtbl->Release(unknown);
  if (FAILED(hr) || view == NULL) {
    fprintf(stderr, "com_host: the type information has no member view (0x%08X)\n",
            (unsigned)hr);
    return 0;
  }
  if (view->lpVtbl->GetInterfaceInfo(view, &info) == S_OK) {
    VcGuidToText(&info.guid, guid);
    view->lpVtbl->GetMemberCount(view, &count);
    printf("dispinterface %s %s, %u members\n", info.name ? info.name : "", guid, count);
  }
  for (i = 0; i < count; ++i) {
    VcMemberInfo m;
    if (view->lpVtbl->GetMember(view, i, &m) == S_OK) PrintMember(&m);
  }
  view->lpVtbl->Release(view);
  return 1;
}

static int Show(const char* progId) {
  CLSID clsid;
  IDispatch* d = NULL;
  char text[39];
  int described;
  HRESULT hr = VcCLSIDFromProgIDA(progId, &clsid);
  if (FAILED(hr)) {
    fprintf(stderr, "com_host: %s is not registered (0x%08X); run vomcom-register vomtelx.so\n",
            progId, (unsigned)hr);
    return 0;
  }
  hr = CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IDispatch, (void**)&d);
  if (FAILED(hr) || d == NULL) {
    fprintf(stderr, "com_host: cannot create %s (0x%08X)\n", progId, (unsigned)hr);
    return 0;
  }
  VcGuidToText(&clsid, text);
  printf("%s %s\n", progId, text);
  described = Describe(d);
  d->lpVtbl->Release(d);
  return described;
}


/* The main control's DISPIDs that the call form uses. */
enum {
  kServerName = 2, kLinkMode = 3, kOpenDevice = 4, kOpenPort = 5, kGateId = 6,
  kMakeCall = 138, kCloseServerHA = 153, kOpenServer = 154
};

static BSTR Text(const char* text) { return VcBstrFromNarrow(text, strlen(text)); }

static HRESULT Put(IDispatch* d, DISPID id, VARIANT* value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {value, &named, 1, 1};
  return d->lpVtbl->Invoke(d, id, &IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, NULL, NULL, NULL);
}

static HRESULT PutText(IDispatch* d, DISPID id, const char* text) {
  VARIANT v;
  HRESULT hr;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = Text(text);
  hr = Put(d, id, &v);
  VariantClear(&v);
  return hr;
}

static HRESULT PutShort(IDispatch* d, DISPID id, short value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I2;
  v.iVal = value;
  return Put(d, id, &v);
}

static HRESULT PutDouble(IDispatch* d, DISPID id, double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = value;
  return Put(d, id, &v);
}

static long GetLong(IDispatch* d, DISPID id) {
  DISPPARAMS none = {NULL, NULL, 0, 0};
  VARIANT r, l;
  long value = -1;
  VariantInit(&r);
  VariantInit(&l);
  if (SUCCEEDED(d->lpVtbl->Invoke(d, id, &IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &r, NULL,
                                  NULL)) &&
      SUCCEEDED(VariantChangeType(&l, &r, 0, VT_I4))) {
    value = (long)l.lVal;
  }
  VariantClear(&r);
  return value;
}

/* Calls a method with its arguments in the order a host writes them (reversed for the call)
 * and prints its result. */
static long CallMethod(IDispatch* d, DISPID id, const char* name, VARIANT* args, UINT count) {
  VARIANT reversed[10], result, asLong;
  DISPPARAMS params;
  HRESULT hr;
  UINT i;
  long value = -1;
  for (i = 0; i < count; ++i) reversed[i] = args[count - 1 - i];
  params.rgvarg = count ? reversed : NULL;
  params.rgdispidNamedArgs = NULL;
  params.cArgs = count;
  params.cNamedArgs = 0;
  VariantInit(&result);
  VariantInit(&asLong);
  hr = d->lpVtbl->Invoke(d, id, &IID_NULL, 0, DISPATCH_METHOD, &params, &result, NULL, NULL);
  if (SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(&asLong, &result, 0, VT_I4))) {
    value = (long)asLong.lVal;
    printf("%s: %ld\n", name, value);
  } else {
    printf("%s: failed (0x%08X)\n", name, (unsigned)hr);
  }
  VariantClear(&result);
  return value;
}

static void ByRefLong(VARIANT* v, LONG* target) {
  VariantInit(v);
  v->vt = VT_I4 | VT_BYREF;
  v->plVal = target;
}

static void TextArg(VARIANT* v, const char* text) {
  VariantInit(v);
  v->vt = VT_BSTR;
  v->bstrVal = Text(text);
}

static int PlaceCall(const char* address, const char* port, const char* device,
                     const char* number) {
  static const char kMain[] = "vomtel_ocx.vomtel_ocxCtrl.1";
  CLSID clsid;
  IDispatch* d = NULL;
  VARIANT args[10];
  LONG gate = 0, invoke = 0;
  long opened, called = -1;
  char* end = NULL;
  const double portNumber = strtod(port, &end);
  UINT i;
  HRESULT hr;
  if (end == port || *end != '\0') {
    fprintf(stderr, "com_host: the port must be a number: %s\n", port);
    return 0;
  }
  hr = VcCLSIDFromProgIDA(kMain, &clsid);
  if (SUCCEEDED(hr)) {
    hr = CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IDispatch, (void**)&d);
  }
  if (FAILED(hr) || d == NULL) {
    fprintf(stderr, "com_host: cannot create %s (0x%08X); run vomcom-register vomtelx.so\n",
            kMain, (unsigned)hr);
    return 0;
  }
  PutText(d, kServerName, address);
  PutShort(d, kLinkMode, 4);
  PutDouble(d, kOpenPort, portNumber);
  PutText(d, kOpenDevice, device);
  PutShort(d, kGateId, 1);

  opened = CallMethod(d, kOpenServer, "vomtelopenserver", NULL, 0);
  if (opened == 1) {
    gate = (LONG)GetLong(d, kGateId);
    printf("gate: %ld\n", (long)gate);
    /* Gate and invoke id by reference, then device, number and six empty texts. */
    ByRefLong(&args[0], &gate);
    ByRefLong(&args[1], &invoke);
    TextArg(&args[2], device);
    TextArg(&args[3], number);
    for (i = 4; i < 10; ++i) TextArg(&args[i], "");
    called = CallMethod(d, kMakeCall, "vomtelmakecall", args, 10);
    for (i = 2; i < 10; ++i) VariantClear(&args[i]);
    ByRefLong(&args[0], &gate);
    ByRefLong(&args[1], &invoke);
    ++invoke;
    CallMethod(d, kCloseServerHA, "vomtelcloseserverHA", args, 2);
  }
  d->lpVtbl->Release(d);
  return opened == 1 && called == 1;
}

int main(int argc, char** argv) {
  int i, failed = 0;
  if (argc > 1 && strcmp(argv[1], "--call") == 0) {
    if (argc != 6) {
      fprintf(stderr, "usage: com_host --call ADDRESS PORT DEVICE NUMBER\n");
      return 2;
    }
    failed = !PlaceCall(argv[2], argv[3], argv[4], argv[5]);
  } else if (argc > 1) {
    for (i = 1; i < argc; ++i) failed += !Show(argv[i]);
  } else {
    for (i = 0; i < (int)(sizeof kControls / sizeof kControls[0]); ++i) failed += !Show(kControls[i]);
  }
  CoFreeUnusedLibraries();
  return failed == 0 ? 0 : 1;
}
