/*
 * vomcom/automation.h - the component runtime's one plain C header for hosts and modules.
 *
 * Valid C11 and C++20. It gives the binary conventions of the automation interfaces on LP64
 * Linux (32-bit HRESULT/LONG/ULONG/DWORD/UINT, 16-bit UTF-16 OLECHAR, 24-byte VARIANT), the
 * interface layouts (C: a struct whose first member is lpVtbl; C++: an abstract struct of pure
 * virtual methods in the same slot order, no virtual destructor), the interface IDs, and the
 * runtime's exported C functions (BSTR, VARIANT, GUID text, object creation, narrow code page,
 * Windows-form paths, the per-user registry file and the log hook).
 *
 * Ownership follows the platform: a BSTR returned by a function belongs to the caller
 * (SysFreeString); an interface pointer written to an out parameter is AddRef'd for the caller
 * (Release). A null BSTR is the empty text everywhere.
 */
#ifndef VOMCOM_AUTOMATION_H
#define VOMCOM_AUTOMATION_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#if defined(__GNUC__)
#define VOMCOM_API __attribute__((visibility("default")))
#else
#define VOMCOM_API
#endif

#ifdef __cplusplus
#define VOMCOM_EXTERN_C extern "C"
#define VOMCOM_STATIC_ASSERT(c, m) static_assert(c, m)
#else
#define VOMCOM_EXTERN_C
#define VOMCOM_STATIC_ASSERT(c, m) _Static_assert(c, m)
#endif

/* ------------------------------------------------------------------------------------------ */
/* Scalar types (LP64: never C long for the 32-bit types)                                     */

typedef int32_t HRESULT;
typedef int32_t SCODE;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t INT;
typedef int32_t BOOL;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef uintptr_t UINT_PTR;
typedef int32_t DISPID;
typedef int32_t MEMBERID;
typedef uint32_t LCID;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;
#ifdef __cplusplus
typedef char16_t OLECHAR;
#else
typedef uint16_t OLECHAR;
#endif
typedef OLECHAR* BSTR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

/* ------------------------------------------------------------------------------------------ */
/* GUID: Data1 u32 @0, Data2 u16 @4, Data3 u16 @6, Data4 u8[8] @8                              */

typedef struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;
VOMCOM_STATIC_ASSERT(sizeof(GUID) == 16, "GUID is 16 bytes");

#ifdef __cplusplus
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
inline bool IsEqualGUID(REFGUID a, REFGUID b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool IsEqualIID(REFIID a, REFIID b) { return IsEqualGUID(a, b); }
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return IsEqualGUID(a, b); }
inline bool operator==(const GUID& a, const GUID& b) { return IsEqualGUID(a, b); }
#else
typedef const GUID* REFGUID;
typedef const IID* REFIID;
typedef const CLSID* REFCLSID;
#define IsEqualGUID(a, b) (memcmp((a), (b), sizeof(GUID)) == 0)
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)
#endif

/* ------------------------------------------------------------------------------------------ */
/* HRESULT values                                                                             */

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define S_OK ((HRESULT)0x00000000)
#define S_FALSE ((HRESULT)0x00000001)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_ABORT ((HRESULT)0x80004004)
#define E_FAIL ((HRESULT)0x80004005)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_ACCESSDENIED ((HRESULT)0x80070005)
#define E_HANDLE ((HRESULT)0x80070006)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3)
#define CO_E_DLLNOTFOUND ((HRESULT)0x800401F8)
#define CO_E_ERRORINDLL ((HRESULT)0x800401F9)
#define RPC_E_WRONG_THREAD ((HRESULT)0x8001010E)
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006)
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000A)
#define DISP_E_BADINDEX ((HRESULT)0x8002000B)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000E)
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000F)
#define SELFREG_E_TYPELIB ((HRESULT)0x80040200)
#define SELFREG_E_CLASS ((HRESULT)0x80040201)
#define CONNECT_E_NOCONNECTION ((HRESULT)0x80040200)
#define CONNECT_E_ADVISELIMIT ((HRESULT)0x80040201)
#define CONNECT_E_CANNOTCONNECT ((HRESULT)0x80040202)
/* Our own registry results, in the platform's Win32 facility: no such key or value; the
 * caller's buffer was too small (the text is cut and NUL-terminated). */
#define VC_E_NOTFOUND ((HRESULT)0x80070002)
#define VC_E_MOREDATA ((HRESULT)0x800700EA)
/* Put on a read-only property (the language runtime's error 383). */
#define VC_E_SETNOTSUPPORTED ((HRESULT)0x800A017F)

/* ------------------------------------------------------------------------------------------ */
/* VARIANT                                                                                    */

enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_RECORD = 36,
  VT_VECTOR = 0x1000,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF
};

/* VariantChangeType flags */
#define VARIANT_NOVALUEPROP 0x01
#define VARIANT_ALPHABOOL 0x02
#define VARIANT_NOUSEROVERRIDE 0x04
#define VARIANT_LOCALBOOL 0x10

#ifdef __cplusplus
struct IUnknown;
struct IDispatch;
#else
typedef struct IUnknown IUnknown;
typedef struct IDispatch IDispatch;
#endif

typedef struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    int16_t iVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    char cVal;
    uint16_t uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    BYTE* pbVal;
    int16_t* piVal;
    LONG* plVal;
    LONGLONG* pllVal;
    float* pfltVal;
    double* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    struct VARIANT* pvarVal;
    void* byref;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } brecVal;
  };
} VARIANT;
typedef VARIANT VARIANTARG;
VOMCOM_STATIC_ASSERT(sizeof(VARIANT) == 24, "VARIANT is 24 bytes");
VOMCOM_STATIC_ASSERT(offsetof(VARIANT, lVal) == 8, "VARIANT value at 8");

/* ------------------------------------------------------------------------------------------ */
/* Invoke                                                                                     */

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define DISPID_VALUE 0
#define DISPID_UNKNOWN (-1)
#define DISPID_PROPERTYPUT (-3)
#define DISPID_NEWENUM (-4)
#define DISPID_ABOUTBOX (-552)

#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800

typedef struct DISPPARAMS {
  VARIANTARG* rgvarg;         /* reversed: rgvarg[0] is the last argument */
  DISPID* rgdispidNamedArgs;  /* DISPIDs of the first cNamedArgs entries of rgvarg */
  UINT cArgs;
  UINT cNamedArgs;
} DISPPARAMS;
VOMCOM_STATIC_ASSERT(sizeof(DISPPARAMS) == 24, "DISPPARAMS is 24 bytes");

typedef struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(struct EXCEPINFO*);
  SCODE scode;
} EXCEPINFO;
VOMCOM_STATIC_ASSERT(sizeof(EXCEPINFO) == 64, "EXCEPINFO is 64 bytes");

typedef struct SIZEL {
  LONG cx;
  LONG cy;
} SIZEL;

/* A host-supplied drawing surface: rows of width RGBA pixels (bytes R, G, B, A), stride bytes
 * apart. */
typedef struct VcSurface {
  int32_t width;
  int32_t height;
  int32_t stride;
  uint8_t* rgba;
} VcSurface;

/* Object creation contexts; only in-process servers exist. */
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_ALL 0x17

/* IObjectSafety options */
#define INTERFACESAFE_FOR_UNTRUSTED_CALLER 0x1
#define INTERFACESAFE_FOR_UNTRUSTED_DATA 0x2

/* ------------------------------------------------------------------------------------------ */
/* Type-info view (our own; no binary type libraries)                                         */

#define VC_TYPE_DISPATCH 1 /* a dispatch interface */
#define VC_TYPE_EVENTS 2   /* an outgoing (event) dispatch interface */
#define VC_TYPE_COCLASS 3  /* a creatable class */

#define VC_TYPEFLAG_HIDDEN 0x1
#define VC_TYPEFLAG_CONTROL 0x2
#define VC_TYPEFLAG_CREATABLE 0x4

#define VC_IMPLTYPE_DEFAULT 0x1
#define VC_IMPLTYPE_SOURCE 0x2

#define VC_MEMBER_METHOD 0x1  /* same values as the DISPATCH_* flags */
#define VC_MEMBER_PROPGET 0x2
#define VC_MEMBER_PROPPUT 0x4

#define VC_MEMBERFLAG_HIDDEN 0x1

/* All texts are UTF-8 and stay valid while the object that gave them lives. */
typedef struct VcImplType {
  GUID iid;
  uint32_t flags; /* VC_IMPLTYPE_* */
} VcImplType;

typedef struct VcInterfaceInfo {
  const char* name;
  const char* docString;
  GUID guid;
  uint32_t kind;  /* VC_TYPE_* */
  uint32_t flags; /* VC_TYPEFLAG_* */
  uint32_t implCount; /* a coclass: its interfaces */
  const VcImplType* impl;
} VcInterfaceInfo;

typedef struct VcMemberInfo {
  DISPID id;
  uint32_t kind; /* VC_MEMBER_*: a read/write property is two members, get and put */
  const char* name;
  VARTYPE resultType; /* VT_EMPTY: none; a put has none and its value as its one parameter */
  uint16_t reserved;
  uint32_t paramCount;
  const VARTYPE* params; /* paramCount entries in declaration order */
  uint32_t flags;        /* VC_MEMBERFLAG_* */
} VcMemberInfo;

typedef struct VcTypeLibInfo {
  GUID libid;
  uint16_t majorVersion;
  uint16_t minorVersion;
  LCID lcid;
  const char* name;
  const char* helpString;
  const char* helpFile;
} VcTypeLibInfo;

/* ------------------------------------------------------------------------------------------ */
/* Interfaces                                                                                 */

#ifdef __cplusplus

struct ITypeInfo;
struct IEnumConnections;
struct IEnumConnectionPoints;
struct IConnectionPoint;
struct IConnectionPointContainer;
struct IErrorLog;
struct IPropertyBag;
struct IVcTypeInfo;
struct IVcTimerSink;

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
};

/* Stands for the platform's type information in IDispatch::GetTypeInfo; the object behind it
 * is only an IUnknown here: QueryInterface it for IID_IVcTypeInfo. */
struct ITypeInfo : IUnknown {};

struct IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) = 0;
  virtual HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) = 0;
};

struct IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;
};

typedef struct CONNECTDATA {
  IUnknown* pUnk;
  DWORD dwCookie;
} CONNECTDATA;

struct IEnumConnections : IUnknown {
  virtual HRESULT Next(ULONG count, CONNECTDATA* out, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnections** out) = 0;
};

struct IConnectionPoint : IUnknown {
  virtual HRESULT GetConnectionInterface(IID* out) = 0;
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** out) = 0;
  virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
  virtual HRESULT Unadvise(DWORD cookie) = 0;
  virtual HRESULT EnumConnections(IEnumConnections** out) = 0;
};

struct IEnumConnectionPoints : IUnknown {
  virtual HRESULT Next(ULONG count, IConnectionPoint** out, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnectionPoints** out) = 0;
};

struct IConnectionPointContainer : IUnknown {
  virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints** out) = 0;
  virtual HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** out) = 0;
};

struct IObjectSafety : IUnknown {
  virtual HRESULT GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) = 0;
  virtual HRESULT SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) = 0;
};

struct IErrorLog : IUnknown {
  virtual HRESULT AddError(LPCOLESTR propName, EXCEPINFO* info) = 0;
};

struct IPropertyBag : IUnknown {
  virtual HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) = 0;
  virtual HRESULT Write(LPCOLESTR name, VARIANT* value) = 0;
};

/* Slots 3-6 as the platform lays them out; IsDirty is our own, appended at slot 7 (S_OK when
 * changed since the last save that cleared the flag, else S_FALSE). */
struct IPersistPropertyBag : IUnknown {
  virtual HRESULT GetClassID(CLSID* out) = 0;
  virtual HRESULT InitNew() = 0;
  virtual HRESULT Load(IPropertyBag* bag, IErrorLog* log) = 0;
  virtual HRESULT Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) = 0;
  virtual HRESULT IsDirty() = 0;
};

struct IVcTypeInfo : IUnknown {
  virtual HRESULT GetInterfaceInfo(VcInterfaceInfo* out) = 0;
  virtual HRESULT GetMemberCount(UINT* count) = 0;
  virtual HRESULT GetMember(UINT index, VcMemberInfo* out) = 0; /* DISP_E_BADINDEX past end */
};

struct IVcTypeLib : IUnknown {
  virtual HRESULT GetLibInfo(VcTypeLibInfo* out) = 0;
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, IVcTypeInfo** out) = 0;
  virtual HRESULT GetTypeInfoOfGuid(REFGUID guid, IVcTypeInfo** out) = 0;
};

struct IVcTimerSink : IUnknown {
  virtual void OnTimer(UINT_PTR id) = 0;
};

struct IVcTimerService : IUnknown {
  /* Starts (or, for an id the sink already has, replaces) a periodic timer; returns id, or 0
   * on failure. Ticks come only from the host's event loop, at most one pending per timer. */
  virtual UINT_PTR SetTimer(IVcTimerSink* sink, UINT_PTR id, UINT elapseMs) = 0;
  /* TRUE when the timer existed; a pending tick of it is dropped. */
  virtual BOOL KillTimer(IVcTimerSink* sink, UINT_PTR id) = 0;
};

struct IVcUserInterface : IUnknown {
  /* A modal message with the caption and an OK button; returns when it is closed. */
  virtual HRESULT ShowMessage(const char* captionUtf8, const char* textUtf8) = 0;
};

struct IVcControl : IUnknown {
  virtual HRESULT SetClientSite(IUnknown* site) = 0; /* null detaches (kills the timers) */
  virtual HRESULT GetClientSite(IUnknown** out) = 0;
  virtual HRESULT SetExtent(const SIZEL* size) = 0; /* HIMETRIC; the control may force it */
  virtual HRESULT GetExtent(SIZEL* out) = 0;
  virtual HRESULT Draw(VcSurface* surface) = 0;
  virtual HRESULT GetPages(CLSID* out, ULONG capacity, ULONG* count) = 0;
};

#else /* C */

typedef struct ITypeInfo ITypeInfo;
typedef struct IClassFactory IClassFactory;
typedef struct IEnumConnections IEnumConnections;
typedef struct IConnectionPoint IConnectionPoint;
typedef struct IEnumConnectionPoints IEnumConnectionPoints;
typedef struct IConnectionPointContainer IConnectionPointContainer;
typedef struct IObjectSafety IObjectSafety;
typedef struct IErrorLog IErrorLog;
typedef struct IPropertyBag IPropertyBag;
typedef struct IPersistPropertyBag IPersistPropertyBag;
typedef struct IVcTypeInfo IVcTypeInfo;
typedef struct IVcTypeLib IVcTypeLib;
typedef struct IVcTimerSink IVcTimerSink;
typedef struct IVcTimerService IVcTimerService;
typedef struct IVcUserInterface IVcUserInterface;
typedef struct IVcControl IVcControl;

#define VOMCOM_IUNKNOWN_SLOTS(T)                                  \
  HRESULT (*QueryInterface)(T * This, REFIID iid, void** out); \
  ULONG (*AddRef)(T * This);                                    \
  ULONG (*Release)(T * This)

typedef struct IUnknownVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IUnknown);
} IUnknownVtbl;
struct IUnknown {
  const IUnknownVtbl* lpVtbl;
};

typedef struct ITypeInfoVtbl {
  VOMCOM_IUNKNOWN_SLOTS(ITypeInfo);
} ITypeInfoVtbl;
struct ITypeInfo {
  const ITypeInfoVtbl* lpVtbl;
};

typedef struct IDispatchVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IDispatch);
  HRESULT (*GetTypeInfoCount)(IDispatch* This, UINT* count);
  HRESULT (*GetTypeInfo)(IDispatch* This, UINT index, LCID lcid, ITypeInfo** out);
  HRESULT (*GetIDsOfNames)(IDispatch* This, REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                           DISPID* ids);
  HRESULT (*Invoke)(IDispatch* This, DISPID id, REFIID iid, LCID lcid, WORD flags,
                    DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr);
} IDispatchVtbl;
struct IDispatch {
  const IDispatchVtbl* lpVtbl;
};

typedef struct IClassFactoryVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IClassFactory);
  HRESULT (*CreateInstance)(IClassFactory* This, IUnknown* outer, REFIID iid, void** out);
  HRESULT (*LockServer)(IClassFactory* This, BOOL lock);
} IClassFactoryVtbl;
struct IClassFactory {
  const IClassFactoryVtbl* lpVtbl;
};

typedef struct CONNECTDATA {
  IUnknown* pUnk;
  DWORD dwCookie;
} CONNECTDATA;

typedef struct IEnumConnectionsVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IEnumConnections);
  HRESULT (*Next)(IEnumConnections* This, ULONG count, CONNECTDATA* out, ULONG* fetched);
  HRESULT (*Skip)(IEnumConnections* This, ULONG count);
  HRESULT (*Reset)(IEnumConnections* This);
  HRESULT (*Clone)(IEnumConnections* This, IEnumConnections** out);
} IEnumConnectionsVtbl;
struct IEnumConnections {
  const IEnumConnectionsVtbl* lpVtbl;
};

typedef struct IConnectionPointVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IConnectionPoint);
  HRESULT (*GetConnectionInterface)(IConnectionPoint* This, IID* out);
  HRESULT (*GetConnectionPointContainer)(IConnectionPoint* This,
                                         IConnectionPointContainer** out);
  HRESULT (*Advise)(IConnectionPoint* This, IUnknown* sink, DWORD* cookie);
  HRESULT (*Unadvise)(IConnectionPoint* This, DWORD cookie);
  HRESULT (*EnumConnections)(IConnectionPoint* This, IEnumConnections** out);
} IConnectionPointVtbl;
struct IConnectionPoint {
  const IConnectionPointVtbl* lpVtbl;
};

typedef struct IEnumConnectionPointsVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IEnumConnectionPoints);
  HRESULT (*Next)(IEnumConnectionPoints* This, ULONG count, IConnectionPoint** out,
                  ULONG* fetched);
  HRESULT (*Skip)(IEnumConnectionPoints* This, ULONG count);
  HRESULT (*Reset)(IEnumConnectionPoints* This);
  HRESULT (*Clone)(IEnumConnectionPoints* This, IEnumConnectionPoints** out);
} IEnumConnectionPointsVtbl;
struct IEnumConnectionPoints {
  const IEnumConnectionPointsVtbl* lpVtbl;
};

typedef struct IConnectionPointContainerVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IConnectionPointContainer);
  HRESULT (*EnumConnectionPoints)(IConnectionPointContainer* This, IEnumConnectionPoints** out);
  HRESULT (*FindConnectionPoint)(IConnectionPointContainer* This, REFIID iid,
                                 IConnectionPoint** out);
} IConnectionPointContainerVtbl;
struct IConnectionPointContainer {
  const IConnectionPointContainerVtbl* lpVtbl;
};

typedef struct IObjectSafetyVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IObjectSafety);
  HRESULT (*GetInterfaceSafetyOptions)(IObjectSafety* This, REFIID iid, DWORD* supported,
                                       DWORD* enabled);
  HRESULT (*SetInterfaceSafetyOptions)(IObjectSafety* This, REFIID iid, DWORD mask,
                                       DWORD enabled);
} IObjectSafetyVtbl;
struct IObjectSafety {
  const IObjectSafetyVtbl* lpVtbl;
};

typedef struct IErrorLogVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IErrorLog);
  HRESULT (*AddError)(IErrorLog* This, LPCOLESTR propName, EXCEPINFO* info);
} IErrorLogVtbl;
struct IErrorLog {
  const IErrorLogVtbl* lpVtbl;
};

typedef struct IPropertyBagVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IPropertyBag);
  HRESULT (*Read)(IPropertyBag* This, LPCOLESTR name, VARIANT* value, IErrorLog* log);
  HRESULT (*Write)(IPropertyBag* This, LPCOLESTR name, VARIANT* value);
} IPropertyBagVtbl;
struct IPropertyBag {
  const IPropertyBagVtbl* lpVtbl;
};

typedef struct IPersistPropertyBagVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IPersistPropertyBag);
  HRESULT (*GetClassID)(IPersistPropertyBag* This, CLSID* out);
  HRESULT (*InitNew)(IPersistPropertyBag* This);
  HRESULT (*Load)(IPersistPropertyBag* This, IPropertyBag* bag, IErrorLog* log);
  HRESULT (*Save)(IPersistPropertyBag* This, IPropertyBag* bag, BOOL clearDirty, BOOL saveAll);
  HRESULT (*IsDirty)(IPersistPropertyBag* This);
} IPersistPropertyBagVtbl;
struct IPersistPropertyBag {
  const IPersistPropertyBagVtbl* lpVtbl;
};

typedef struct IVcTypeInfoVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IVcTypeInfo);
  HRESULT (*GetInterfaceInfo)(IVcTypeInfo* This, VcInterfaceInfo* out);
  HRESULT (*GetMemberCount)(IVcTypeInfo* This, UINT* count);
  HRESULT (*GetMember)(IVcTypeInfo* This, UINT index, VcMemberInfo* out);
} IVcTypeInfoVtbl;
struct IVcTypeInfo {
  const IVcTypeInfoVtbl* lpVtbl;
};

typedef struct IVcTypeLibVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IVcTypeLib);
  HRESULT (*GetLibInfo)(IVcTypeLib* This, VcTypeLibInfo* out);
  HRESULT (*GetTypeInfoCount)(IVcTypeLib* This, UINT* count);
  HRESULT (*GetTypeInfo)(IVcTypeLib* This, UINT index, IVcTypeInfo** out);
  HRESULT (*GetTypeInfoOfGuid)(IVcTypeLib* This, REFGUID guid, IVcTypeInfo** out);
} IVcTypeLibVtbl;
struct IVcTypeLib {
  const IVcTypeLibVtbl* lpVtbl;
};

typedef struct IVcTimerSinkVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IVcTimerSink);
  void (*OnTimer)(IVcTimerSink* This, UINT_PTR id);
} IVcTimerSinkVtbl;
struct IVcTimerSink {
  const IVcTimerSinkVtbl* lpVtbl;
};

typedef struct IVcTimerServiceVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IVcTimerService);
  UINT_PTR (*SetTimer)(IVcTimerService* This, IVcTimerSink* sink, UINT_PTR id, UINT elapseMs);
  BOOL (*KillTimer)(IVcTimerService* This, IVcTimerSink* sink, UINT_PTR id);
} IVcTimerServiceVtbl;
struct IVcTimerService {
  const IVcTimerServiceVtbl* lpVtbl;
};

typedef struct IVcUserInterfaceVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IVcUserInterface);
  HRESULT (*ShowMessage)(IVcUserInterface* This, const char* captionUtf8, const char* textUtf8);
} IVcUserInterfaceVtbl;
struct IVcUserInterface {
  const IVcUserInterfaceVtbl* lpVtbl;
};

typedef struct IVcControlVtbl {
  VOMCOM_IUNKNOWN_SLOTS(IVcControl);
  HRESULT (*SetClientSite)(IVcControl* This, IUnknown* site);
  HRESULT (*GetClientSite)(IVcControl* This, IUnknown** out);
  HRESULT (*SetExtent)(IVcControl* This, const SIZEL* size);
  HRESULT (*GetExtent)(IVcControl* This, SIZEL* out);
  HRESULT (*Draw)(IVcControl* This, VcSurface* surface);
  HRESULT (*GetPages)(IVcControl* This, CLSID* out, ULONG capacity, ULONG* count);
} IVcControlVtbl;
struct IVcControl {
  const IVcControlVtbl* lpVtbl;
};

#endif /* C */

/* ------------------------------------------------------------------------------------------ */
/* Interface IDs                                                                              */

#ifdef __cplusplus
extern "C" {
#endif

VOMCOM_API extern const IID IID_NULL;
VOMCOM_API extern const IID IID_IUnknown;
VOMCOM_API extern const IID IID_IClassFactory;
VOMCOM_API extern const IID IID_IDispatch;
VOMCOM_API extern const IID IID_ITypeInfo;
VOMCOM_API extern const IID IID_IConnectionPointContainer;
VOMCOM_API extern const IID IID_IEnumConnectionPoints;
VOMCOM_API extern const IID IID_IConnectionPoint;
VOMCOM_API extern const IID IID_IEnumConnections;
VOMCOM_API extern const IID IID_IObjectSafety;
VOMCOM_API extern const IID IID_IPropertyBag;
VOMCOM_API extern const IID IID_IPersistPropertyBag;
/* Our own interfaces */
VOMCOM_API extern const IID IID_IVcTypeInfo;
VOMCOM_API extern const IID IID_IVcTypeLib;
VOMCOM_API extern const IID IID_IVcTimerSink;
VOMCOM_API extern const IID IID_IVcTimerService;
VOMCOM_API extern const IID IID_IVcUserInterface;
VOMCOM_API extern const IID IID_IVcControl;

#ifdef __cplusplus
}
#endif

/* ------------------------------------------------------------------------------------------ */
/* Functions                                                                                  */

#ifdef __cplusplus
extern "C" {
#endif

/* BSTR. SysAllocString(NULL) gives NULL; SysAllocStringLen(NULL, n) gives n zeroed units. */
VOMCOM_API BSTR SysAllocString(const OLECHAR* text);
VOMCOM_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
VOMCOM_API BSTR SysAllocStringByteLen(const char* bytes, UINT byteLength);
VOMCOM_API void SysFreeString(BSTR text);
VOMCOM_API UINT SysStringLen(BSTR text);
VOMCOM_API UINT SysStringByteLen(BSTR text);

/* VARIANT. VariantChangeType follows BYREF in src, may be called with dst == src and leaves
 * dst unchanged when it fails (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW, DISP_E_BADVARTYPE). */
VOMCOM_API void VariantInit(VARIANT* v);
VOMCOM_API HRESULT VariantClear(VARIANT* v);
VOMCOM_API HRESULT VariantCopy(VARIANT* dst, const VARIANT* src);
VOMCOM_API HRESULT VariantChangeType(VARIANT* dst, const VARIANT* src, uint16_t flags,
                                     VARTYPE vt);

/* GUID text "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}". StringFromGUID2 returns the units
 * written with the NUL (39), 0 when out is too small. */
VOMCOM_API int StringFromGUID2(REFGUID guid, OLECHAR* out, int capacity);
VOMCOM_API HRESULT CLSIDFromString(LPCOLESTR text, CLSID* out); /* CO_E_CLASSSTRING */
VOMCOM_API void VcGuidToText(REFGUID guid, char out[39]);
VOMCOM_API HRESULT VcGuidFromText(const char* text, GUID* out); /* braces optional */

/* Creation through the registry file: CLSID\{clsid}\InprocServer32 names the module, which is
 * loaded once and kept while its DllCanUnloadNow says S_FALSE. */
VOMCOM_API HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsctx, REFIID iid,
                                    void** out);
VOMCOM_API HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsctx, void* reserved, REFIID iid,
                                    void** out);
VOMCOM_API HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* out);
VOMCOM_API HRESULT VcCLSIDFromProgIDA(const char* progId, CLSID* out);
VOMCOM_API void CoFreeUnusedLibraries(void);

/* The module entry points a module exports (declared here so their signatures match). */
typedef HRESULT (*VcDllGetClassObjectFn)(REFCLSID clsid, REFIID iid, void** out);
typedef HRESULT (*VcDllCanUnloadNowFn)(void);
typedef HRESULT (*VcDllRegisterServerFn)(void);

/* Narrow code page of the desk (CP949 unless VcSetCodePage or $VOMTEL_CODEPAGE says other).
 * VcBstrToNarrow writes at most outSize-1 bytes, never half a character, NUL-terminated,
 * unmappable characters as '?', and returns the bytes written without the NUL (0 when outSize
 * is 0). VcBstrFromNarrow reads at most maxBytes and stops at a NUL; bytes that are no
 * character become '?'. */
VOMCOM_API HRESULT VcSetCodePage(const char* codePage); /* E_INVALIDARG: iconv lacks it */
VOMCOM_API size_t VcBstrToNarrow(BSTR text, char* out, size_t outSize);
VOMCOM_API BSTR VcBstrFromNarrow(const char* text, size_t maxBytes);

/* "C:\softphone" -> "<root>/C/softphone", root $VOMTEL_DRIVE_ROOT, else
 * $XDG_STATE_HOME/vomtel/drives, else ~/.local/state/vomtel/drives. Backslashes become '/',
 * repeated separators one; a path without a drive keeps its place. Returns 1, or 0 (out
 * untouched beyond a NUL) when out is too small or an argument is NULL. */
VOMCOM_API int VcMapWindowsPath(const char* path, char* out, size_t outSize);

/* Per-user registry file ($VOMTEL_REGISTRY, else $XDG_CONFIG_HOME/vomtel/registry.reg, else
 * ~/.config/vomtel/registry.reg), keys under HKEY_CLASSES_ROOT such as
 * "CLSID\\{...}\\InprocServer32", names NULL or "" for the default value. Each change is
 * written at once (temporary file + rename, under a lock file) unless a batch is open on this
 * thread: VcRegBegin takes the lock and VcRegCommit writes every change of the batch at once
 * (VcRegAbort drops them). A registry that cannot be written gives E_ACCESSDENIED or E_FAIL.
 * VcRegGetValue: VC_E_NOTFOUND when missing, VC_E_MOREDATA when cut. */
VOMCOM_API HRESULT VcRegSetValue(const char* key, const char* name, const char* value);
VOMCOM_API HRESULT VcRegGetValue(const char* key, const char* name, char* out, size_t outSize);
VOMCOM_API HRESULT VcRegDeleteTree(const char* key); /* S_FALSE when there was no such key */
VOMCOM_API HRESULT VcRegKeyExists(const char* key);  /* S_OK or S_FALSE */
/* The name of the index-th key directly below key (in file order); S_FALSE past the last. */
VOMCOM_API HRESULT VcRegEnumKey(const char* key, UINT index, char* out, size_t outSize);
VOMCOM_API HRESULT VcRegBegin(void);
VOMCOM_API HRESULT VcRegCommit(void);
VOMCOM_API HRESULT VcRegAbort(void);

/* The runtime's log: connection-point sink failures and module loading problems. Without a
 * hook the lines go to standard error. */
typedef void (*VcLogHook)(void* context, const char* lineUtf8);
VOMCOM_API void VcSetLogHook(VcLogHook hook, void* context);
VOMCOM_API void VcLogWrite(const char* lineUtf8);

#ifdef __cplusplus
}
#endif

#endif /* VOMCOM_AUTOMATION_H */
