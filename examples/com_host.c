/* com_host: a host of the control module written against the component runtime's C header
 * alone.
 *
 *   com_host [PROGID]...
 *
 * Creates each named control (default: the module's three controls) by its ProgID through the
 * registry ($VOMTEL_REGISTRY, else the per-user one; register the module first with
 * `vomcom-register vomtelx.so`) and prints the members of its dispatch interface as its
 * type-info view describes them. Exits 0 when every control was created and described. */
#include <stdio.h>

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

int main(int argc, char** argv) {
  int i, failed = 0;
  if (argc > 1) {
    for (i = 1; i < argc; ++i) failed += !Show(argv[i]);
  } else {
    for (i = 0; i < (int)(sizeof kControls / sizeof kControls[0]); ++i) failed += !Show(kControls[i]);
  }
  CoFreeUnusedLibraries();
  return failed == 0 ? 0 : 1;
}
