/* vomtel.h: the C interface of the vomtel CTI client library.
 *
 * Plain C (C11) and C++. Every function returns a 32-bit result code: VOMTEL_OK (1) is
 * success, the VOMTEL_... codes below are the library's own, each with its meaning, and any
 * other code is the server's result word, passed through unchanged. The library never calls
 * back: server events are fetched with vomtelGetEvent (event kinds: VOMTEL_EVENT_... in
 * vomtel_event.h).
 *
 * Threads and blocking: a function runs on its caller's thread and blocks it until it is done;
 * any thread may call any function. The library's own threads (per session a socket service,
 * and a reconnect loop after its link is lost) never touch caller memory. Requests on one gate
 * run one at a time: a request holds its gate from its send to the end of its reply, and the
 * next request of that gate waits for it before its own waits begin. Requests on different
 * gates run side by side; opens run one at a time among themselves. The longest a call waits,
 * not counting the calls queued ahead of it on its gate:
 *  - a request with a reply: up to 3 s for its frame to go out, then its reply wait: 3 s
 *    unless its comment says otherwise (monitor start 1 s, the agent directory queries 5 s,
 *    the single-step transfer vomtel.ini's SST);
 *  - an answer that comes in several frames: 3 s for each frame, 30 s for the whole answer;
 *  - a request sent without a reply (its comment says so): up to 3 s for its frame to go out;
 *  - vomtelOpenServer, vomtelOpenServerHA: for each server 1 s to connect, up to 3 s for the
 *    open request to go out and 1 s for its reply;
 *  - vomtelCloseServer: for each open session a monitor stop, a request as above;
 *  - vomtelOneStepConference: its consultation, 10 s for the call to be established, then the
 *    conference (or the clear and the retrieve), each a request as above;
 *  - vomtelGetEvent: never waits for an event; after the active link is lost, up to 5 s for
 *    the standby session to take over;
 *  - the log setters and the functions marked "does nothing": no wait.
 *
 * Gate and invoke: the first argument is the gate that vomtelOpenServer or vomtelOpenServerHA
 * wrote back, the second the caller's invoke id, which the library never reads. Functions
 * marked "gate 0" work on gate 0 whatever gate they are given.
 *
 * Memory: every pointer argument points to caller memory that the library reads or writes only
 * during the call. Input texts are NUL-terminated; a null input text reads as the empty text.
 * A text inside a caller's record is read at most to the end of its field, NUL or not. A
 * required record or output pointer that is null gives VOMTEL_NULL_ARGUMENT (3009) before
 * anything is sent. Texts that the library writes into caller memory are cut to their field
 * (its size less one) and NUL-terminated; a length field beside them gets the bytes copied.
 *
 * Lists: a query writes its entries into the caller's array and their number into the caller's
 * count, both only when the result is 1. It never writes more entries than the maximum count
 * argument, where it has one (a count of 0 or less writes none), and otherwise never more than
 * the cap named in its comment (VOMTEL_CAP_...); the count written is the number of entries
 * copied. On any other result neither the array nor the count is touched.
 *
 * Exceptions never cross this interface: an internal failure gives VOMTEL_INTERNAL_ERROR.
 * The functions marked "does nothing" read none of their arguments and return their constant.
 *
 * Replies: a request takes the next reply of its session, whatever request number the reply
 * echoes, with one exception: a reply that comes after its request gave up on it is dropped
 * (with a log line), never taken as a later request's reply. A request gives up on its reply
 * when its send or its reply wait ends in VOMTEL_TIMEOUT, and at once when it is sent without
 * waiting (vomtelPutTraceInfo, vomtelPutCounselInfo and the answers to the server's requests,
 * vomtelGetMaxCPSQResult and vomtelBlackListInsertResult). A send that times out before any of
 * its bytes went out is withdrawn: the server never sees a request whose caller was told it
 * failed. A reply wait ends with VOMTEL_NOT_CONNECTED as soon as the
 * link is lost, without waiting out its time.
 *
 * Connections and fail-over: a connect that the server refuses fails at once, without waiting
 * out the connect time. The session id of the server's open reply is an unsigned 32-bit number:
 * 0x80000000 or more is as valid as any other. A request stays on the session it started on
 * even when the gate fails over to its standby meanwhile; it is never sent again on the other
 * session. The silence limit (vomtel.ini's HEARTBEAT_PERIOD) runs on a steady clock: setting the
 * system clock neither ends a link nor keeps a dead one. When a session connects again, its
 * reply and list queues are emptied (no reply of the lost link answers a request on the new
 * one); queued events are kept. Replies and list frames that no request awaits are kept up to
 * 64 frames per queue, events that the caller has not fetched up to vomtel.ini's
 * EVENT_QUEUE_MAX; past that the oldest go, each with a log line. A gate opened on one server
 * (vomtelOpenServer) reconnects in the mode it was opened in (its log shows mode[..][2]), so it
 * comes back active even when the server's open reply says standby.
 *
 * Logging: a log that cannot be written (a folder that cannot be made, a full disk) never fails
 * a request: the line is lost and the request's result stands. The password text of
 * vomtelPwdConfirm is masked in the log and in its packet dumps.
 *
 * Unload: when the library is unloaded or the process exits, every session is stopped and its
 * threads are joined; nothing more is sent to the server then, so close each gate with
 * vomtelCloseServer before.
 *
 * Names: each function is exported under its plain name (vomtelGetAgentCount); exports.tsv
 * gives each name's ordinal and the stdcall spelling of the Windows build
 * (_vomtelGetAgentCount@24). */
#ifndef VOMTEL_VOMTEL_H
#define VOMTEL_VOMTEL_H

#include <stddef.h>
#include <stdint.h>

#include "vomtel/vomtel_event.h"

#if defined(_WIN32) && !defined(_WIN64)
#define VOMTEL_CALL __stdcall
#else
#define VOMTEL_CALL
#endif

#if defined(_WIN32)
#if defined(VOMTEL_BUILDING_LIBRARY)
#define VOMTEL_API __declspec(dllexport)
#else
#define VOMTEL_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define VOMTEL_API __attribute__((visibility("default")))
#else
#define VOMTEL_API
#endif

#ifdef __cplusplus
#define VOMTEL_STATIC_ASSERT(condition, message) static_assert(condition, message)
extern "C" {
#else
#define VOMTEL_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* ---- Result codes ------------------------------------------------------------------------ */
/* The codes the library itself returns. Any code not listed here is the server's result word,
 * passed through unchanged. */
#define VOMTEL_OK 1                     /* success (also the server's word for success) */
#define VOMTEL_NO_ROOM 2                /* no room in the send buffer; nothing was sent */
#define VOMTEL_DOES_NOTHING 2018        /* an entry point that does nothing */
#define VOMTEL_REPLY_MISMATCH 3002      /* the reply does not answer the request */
#define VOMTEL_NO_SESSION 3007          /* no session for the gate */
#define VOMTEL_NULL_ARGUMENT 3009       /* a required record or output pointer is null, or a
                                           device number 0 in a device list */
#define VOMTEL_NO_EVENT 3010            /* no event waiting */
#define VOMTEL_TIMEOUT 3013             /* no reply in time, or the request was not sent in time */
#define VOMTEL_NOT_CONNECTED 3014       /* the gate has no active, connected session */
#define VOMTEL_TEXT_TOO_LONG 3025       /* a text or a count beyond its limit; nothing was sent */
#define VOMTEL_BAD_PORT 3026            /* an open's server port outside 1..65535; nothing opened */
#define VOMTEL_TOO_MANY_DEVICES 3040    /* a device count outside 0..2000, or more entries
                                           than one request or answer may carry */
#define VOMTEL_FRAME_TOO_LONG 3111      /* a received frame too long for the receive buffer */
#define VOMTEL_INTERNAL_ERROR 3112      /* an internal failure was caught */
#define VOMTEL_DIRECTORY_TEXT_TOO_LONG (-3025) /* vomtelGetAgentEx: a text beyond its limit;
                                                  nothing was sent */

/* ---- Caps of the lists without a maximum count argument ----------------------------------- */
#define VOMTEL_CAP_AGENT_LIST 1000      /* agent lists, skill agents, call-back campaigns */
#define VOMTEL_CAP_MULTI_AGENT 1000     /* vomtelMultiAgentGet */
#define VOMTEL_CAP_SKILL_MASTER 512     /* vomtelGetSkillMaster */
#define VOMTEL_CAP_QUEUE_LIST 100       /* waiting calls, waiting periods, skill counts, call loads */
#define VOMTEL_MAX_DEVICES 2000         /* vomtelMultiAddDevice */

/* ---- Argument records --------------------------------------------------------------------- */

/* A device of the open and device calls (36 bytes).
 *  DeviceType  the device's type: the open calls and vomtelMultiAddDevice send its low byte,
 *              vomtelAddDevice the whole value.
 *  HeaderByte  open calls only: its low byte is the session's header byte (protocol version),
 *              usually 48; sessions opened with 0x28 or 0x50 get the call's number id and
 *              queue number as text in events, 0x50 also the universal call id.
 *  LinkMode    its low byte: the open calls' link mode; the device calls' extension byte.
 *  Device      the device number (DN) as text, read to its NUL or the end of the array: the
 *              device that the open calls and vomtelAddDevice register. */
typedef struct DeviceRecord {
  int32_t DeviceType;   /* 0 */
  int32_t HeaderByte;   /* 4 */
  int32_t LinkMode;     /* 8 */
  char Device[24];      /* 12 */
} DeviceRecord;

/* A call of the call-control functions (32 bytes). */
typedef struct ConnectionId {
  int32_t CallId;       /* 0 */
  char Device[28];      /* 4 */
} ConnectionId;

/* UEI, CI, SQL and other data texts (1,032 bytes). The library reads Text (to its NUL or the
 * end of the array) and never reads Length; where it writes Text it sets Length. */
typedef struct UserDataBlock {
  int32_t Length;       /* 0 */
  char Text[1028];      /* 4 */
} UserDataBlock;

/* Private data (1,060 bytes); accepted by the call-control functions, never read. */
typedef struct PrivateDataBlock {
  uint8_t reserved0[32]; /* 0 */
  int32_t Length;        /* 32 */
  char Text[1024];       /* 36 */
} PrivateDataBlock;

/* The customer of vomtelBlackListInsert (148 bytes). */
typedef struct BlackListRecord {
  uint32_t reserved0;   /* 0  not read */
  uint16_t reserved4;   /* 4  not read */
  uint8_t reserved6[2]; /* 6 */
  uint32_t Cpid;        /* 8  not read */
  char CustKey[31];     /* 12 */
  char CustName[31];    /* 43 */
  char CustDate[21];    /* 74 */
  char CustTel[21];     /* 95 */
  char EmployeeId[32];  /* 116 */
} BlackListRecord;

/* The calling list of vomtelSetCampaignListHandle (288 bytes). */
typedef struct CampaignListHandleRecord {
  uint8_t reserved0[8];  /* 0  not read */
  int32_t CiodId;        /* 8 */
  int32_t CampaignId;    /* 12 */
  int32_t ListKind;      /* 16 */
  char ListMode;         /* 20 */
  uint8_t reserved21[3]; /* 21 */
  int32_t AppKind;       /* 24 */
  char FileName[256];    /* 28 */
  int32_t ListCount;     /* 284 */
} CampaignListHandleRecord;

/* One call-back campaign of vomtelCallbackCampaign and vomtelCallbackCampaignResult (16 bytes). */
typedef struct CallbackCampaignEntry {
  uint8_t reserved0[4]; /* 0  neither read nor written */
  int32_t CampaignId;   /* 4 */
  int32_t ServiceCode;  /* 8 */
  int32_t CallbackCount; /* 12 */
} CallbackCampaignEntry;

/* The customer and call-back of vomtelCallbackListInsert (1,600 bytes). */
typedef struct CallbackRecord {
  uint8_t reserved0[12];  /* 0  not read */
  uint32_t CmId;          /* 12 */
  uint32_t CmSq;          /* 16 */
  char CustKey[30];       /* 20 */
  char CustName[20];      /* 50 */
  char CustKey2[30];      /* 70 */
  char CustKey3[30];      /* 100 */
  char CustChar[7][20];   /* 130 */
  char TelNo[5][20];      /* 270 */
  char TkData[1024];      /* 370 sent as data with its length */
  char MailAdd[100];      /* 1394 */
  char SmsPhone[18];      /* 1494 */
  int32_t BlackFlag;      /* 1512 */
  char ReCallTime[20];    /* 1516 */
  char RecallTelNo[20];   /* 1536 */
  char EmployeeId[32];    /* 1556 */
  uint32_t CallKind;      /* 1588 */
  uint8_t reserved1592[4]; /* 1592 not read */
  uint32_t AgentId;       /* 1596 not read */
} CallbackRecord;

/* The record of vomtelCallbackListInsertEx: a CallbackRecord and one more text, which the
 * library reads (at most 255 bytes) but does not send: the request has no field for it. */
typedef struct CallbackRecordEx {
  CallbackRecord Record;  /* 0 */
  char ExtraText[256];    /* 1600 */
} CallbackRecordEx;

/* Where the server put the customer of a call-back insert (16 bytes); written on 1. */
typedef struct CallbackResult {
  uint32_t CiodId;        /* 0 */
  uint32_t CampaignId;    /* 4 */
  uint32_t CampaignSeq;   /* 8 */
  uint16_t ReturnValue;   /* 12 the low 16 bits of the server's return value */
  uint8_t reserved14[2];  /* 14 not written */
} CallbackResult;

/* A campaign definition of vomtelCreateCampaignEx (1,732 bytes). Texts are read to their NUL
 * or the end of their field. Only ScheduleCnt start and end times (at most 4) and SkillCnt
 * skill ids (at most 5) are sent; a larger count gives VOMTEL_TEXT_TOO_LONG (3025). */
typedef struct CampaignRecord {
  int32_t CampId;              /* 0 */
  char CampaignName[31];       /* 4 */
  char CampaignDesc[257];      /* 35 */
  int32_t CampaignSiteCode;    /* 292 */
  int32_t CampaignSvCode;      /* 296 */
  int16_t CampaignMode;        /* 300 */
  uint8_t StartFlag;           /* 302 */
  uint8_t CampEnfl;            /* 303 */
  uint8_t CampCallBack;        /* 304 */
  uint8_t CampDlfl;            /* 305 */
  uint8_t reserved306[2];      /* 306 */
  int32_t CampListCnt;         /* 308 */
  char CampListQuery[256];     /* 312 */
  char CampListFile[104];      /* 568 */
  int32_t CampNextCamp;        /* 672 */
  int32_t CampTokenId;         /* 676 */
  char CampPhoneOrder[12];     /* 680 */
  int16_t CampMaxFreq[5];      /* 692 */
  uint8_t reserved702[2];      /* 702 */
  int32_t CampInterval;        /* 704 */
  char CampTaCode[10];         /* 708 */
  char CampDddNum[6];          /* 718 */
  int32_t CampQueue;           /* 724 */
  int16_t CampMaxRing;         /* 728 */
  uint8_t CampMachine;         /* 730 */
  uint8_t reserved731;         /* 731 */
  int16_t CampAutoDialTm;      /* 732 */
  uint8_t reserved734[2];      /* 734 */
  int32_t CampCrId;            /* 736 */
  char CampCrTm[20];           /* 740 */
  char CampCrIp[20];           /* 760 */
  int32_t CampUpId;            /* 780 */
  char CampUpTm[20];           /* 784 */
  char CampUpIp[18];           /* 804 */
  int16_t CampCustId;          /* 822 */
  int16_t CampPhoneId;         /* 824 */
  uint8_t reserved826[2];      /* 826 */
  int32_t CampScriptId;        /* 828 */
  int32_t CampMentId;          /* 832 */
  int32_t CampCiodId;          /* 836 */
  int32_t CampAnswerCnt;       /* 840 */
  int32_t CampDialSpeed;       /* 844 */
  int32_t CampParentId;        /* 848 */
  int16_t CampLevel;           /* 852 */
  int16_t CampOvTime;          /* 854 */
  int32_t CampAlCnt;           /* 856 */
  char CampSpTel[16];          /* 860 */
  int16_t CampRdCnt;           /* 876 */
  char CampObse[26];           /* 878 */
  int32_t CampGroupId;         /* 904 */
  int16_t Usfl;                /* 908 */
  char RedialStrategy[5][101]; /* 910 */
  uint8_t DialModeOption;      /* 1415 */
  char StartData[9];           /* 1416 */
  char EndData[9];             /* 1425 */
  int16_t ScheduleCnt;         /* 1434 */
  char StartTime[4][5];        /* 1436 */
  char EndTime[4][5];          /* 1456 */
  char UserOption[202];        /* 1476 */
  int16_t SkillCnt;            /* 1678 */
  int32_t SkillId[5];          /* 1680 */
  int32_t RvCallTimeOut;       /* 1700 */
  int32_t CallMax;             /* 1704 */
  uint8_t RvCallStandard;      /* 1708 */
  char CampAni[23];            /* 1709 */
} CampaignRecord;

/* ---- List entries ------------------------------------------------------------------------- */

/* vomtelAgentReadyGet, vomtelAgentBusyGet, vomtelAgentBusyGetII (48 bytes). */
typedef struct AgentReadyEntry {
  char EmployeeId[32];  /* 0 */
  uint8_t reserved32[4]; /* 32 never written */
  int32_t Dn;           /* 36 */
  int32_t BlendMode;    /* 40 */
  int32_t Time;         /* 44 */
} AgentReadyEntry;

/* vomtelAgentReadyGetEx, vomtelAgentReadyGetII (152 bytes). */
typedef struct AgentReadyExEntry {
  uint8_t reserved0[4];   /* 0 never written */
  char AgentId[32];       /* 4 */
  char AgentName[30];     /* 36 */
  uint8_t reserved66[2];  /* 66 */
  int32_t AgentGroup;     /* 68 */
  char GroupName[30];     /* 72 */
  uint8_t reserved102[2]; /* 102 */
  int32_t AgentPart;      /* 104 */
  char PartName[30];      /* 108 */
  uint8_t reserved138[2]; /* 138 */
  int32_t Dn;             /* 140 */
  int32_t BlendMode;      /* 144 */
  int32_t Time;           /* 148 */
} AgentReadyExEntry;

/* vomtelAgentStatusGet (68 bytes). */
typedef struct AgentStatusEntry {
  int32_t Group;          /* 0 */
  int32_t Part;           /* 4 */
  int32_t AgentNumber;    /* 8 */
  uint8_t reserved12[16]; /* 12 never written */
  int32_t Mode;           /* 28 */
  char Name[16];          /* 32 */
  int32_t Dn;             /* 48 */
  uint8_t reserved52[16]; /* 52 never written */
} AgentStatusEntry;

/* vomtelMultiAgentGet (28 bytes). */
typedef struct MultiAgentEntry {
  int32_t Number;         /* 0 extension */
  char AgentId[24];       /* 4 */
} MultiAgentEntry;

/* vomtelAgentSkillGet (20 bytes). */
typedef struct SkillAgentEntry {
  int32_t Group;          /* 0 */
  int32_t Part;           /* 4 */
  int32_t AgentNumber;    /* 8 */
  int32_t Mode;           /* 12 */
  int32_t Time;           /* 16 */
} SkillAgentEntry;

/* vomtelAgentGetBySkill (68 bytes). */
typedef struct SkillCountEntry {
  int32_t Number;         /* 0 */
  char Text1[31];         /* 4 */
  char Text2[31];         /* 35 */
  uint8_t reserved66[2];  /* 66 */
} SkillCountEntry;

/* vomtelGetSkillMaster (1,032 bytes). */
typedef struct SkillMasterEntry {
  int32_t SkillId;        /* 0 */
  char SkillName[1025];   /* 4 */
  uint8_t reserved1029[3]; /* 1029 */
} SkillMasterEntry;

/* vomtelMaxCallLoadAgent (12 bytes). */
typedef struct CallLoadEntry {
  int32_t CampaignId;     /* 0 */
  int32_t MaxCallCount;   /* 4 */
  int32_t AnswerCount;    /* 8 */
} CallLoadEntry;

/* vomtelWaitingCallTimePeriod (8 bytes). */
typedef struct WaitingPeriodEntry {
  int32_t CallCount;      /* 0 */
  int32_t WaitPeriod;     /* 4 */
} WaitingPeriodEntry;

/* vomtelWaitingCallListOfQue (32 bytes). */
typedef struct WaitingCallEntry {
  int32_t CallId;         /* 0 */
  int32_t WaitTime;       /* 4 */
  char CallingNumber[24]; /* 8 */
} WaitingCallEntry;

/* vomtelGetAgentEx; vomtelGetAgent writes all but Skills (1,216 bytes). */
typedef struct AgentExEntry {
  char Tenant[32];        /* 0 */
  char Group[32];         /* 32 */
  char Dn[32];            /* 64 */
  char Part[24];          /* 96 */
  char AgentId[32];       /* 120 */
  char Name[32];          /* 152 */
  uint8_t Mode;           /* 184 */
  uint8_t BlendMode;      /* 185 */
  uint8_t BlockMode;      /* 186 */
  uint8_t reserved187;    /* 187 */
  uint16_t Time;          /* 188 */
  char Skills[1025];      /* 190 */
  uint8_t reserved1215;   /* 1215 */
} AgentExEntry;

/* ---- Layout checks ------------------------------------------------------------------------ */
#define VOMTEL_LAYOUT(type, size) VOMTEL_STATIC_ASSERT(sizeof(type) == (size), #type " size")
#define VOMTEL_AT(type, field, offset) \
  VOMTEL_STATIC_ASSERT(offsetof(type, field) == (offset), #type "." #field " offset")

VOMTEL_LAYOUT(DeviceRecord, 36);
VOMTEL_AT(DeviceRecord, HeaderByte, 4);
VOMTEL_AT(DeviceRecord, LinkMode, 8);
VOMTEL_AT(DeviceRecord, Device, 12);
VOMTEL_LAYOUT(ConnectionId, 32);
VOMTEL_AT(ConnectionId, Device, 4);
VOMTEL_LAYOUT(UserDataBlock, 1032);
VOMTEL_AT(UserDataBlock, Text, 4);
VOMTEL_LAYOUT(PrivateDataBlock, 1060);
VOMTEL_AT(PrivateDataBlock, Length, 32);
VOMTEL_AT(PrivateDataBlock, Text, 36);
VOMTEL_LAYOUT(BlackListRecord, 148);
VOMTEL_AT(BlackListRecord, Cpid, 8);
VOMTEL_AT(BlackListRecord, CustKey, 12);
VOMTEL_AT(BlackListRecord, CustName, 43);
VOMTEL_AT(BlackListRecord, CustDate, 74);
VOMTEL_AT(BlackListRecord, CustTel, 95);
VOMTEL_AT(BlackListRecord, EmployeeId, 116);
VOMTEL_LAYOUT(CampaignListHandleRecord, 288);
VOMTEL_AT(CampaignListHandleRecord, CiodId, 8);
VOMTEL_AT(CampaignListHandleRecord, CampaignId, 12);
VOMTEL_AT(CampaignListHandleRecord, ListKind, 16);
VOMTEL_AT(CampaignListHandleRecord, ListMode, 20);
VOMTEL_AT(CampaignListHandleRecord, AppKind, 24);
VOMTEL_AT(CampaignListHandleRecord, FileName, 28);
VOMTEL_AT(CampaignListHandleRecord, ListCount, 284);
VOMTEL_LAYOUT(CallbackCampaignEntry, 16);
VOMTEL_AT(CallbackCampaignEntry, CampaignId, 4);
VOMTEL_AT(CallbackCampaignEntry, ServiceCode, 8);
VOMTEL_AT(CallbackCampaignEntry, CallbackCount, 12);
VOMTEL_LAYOUT(CallbackRecord, 1600);
VOMTEL_AT(CallbackRecord, CmId, 12);
VOMTEL_AT(CallbackRecord, CmSq, 16);
VOMTEL_AT(CallbackRecord, CustKey, 20);
VOMTEL_AT(CallbackRecord, CustName, 50);
VOMTEL_AT(CallbackRecord, CustKey2, 70);
VOMTEL_AT(CallbackRecord, CustKey3, 100);
VOMTEL_AT(CallbackRecord, CustChar, 130);
VOMTEL_AT(CallbackRecord, TelNo, 270);
VOMTEL_AT(CallbackRecord, TkData, 370);
VOMTEL_AT(CallbackRecord, MailAdd, 1394);
VOMTEL_AT(CallbackRecord, SmsPhone, 1494);
VOMTEL_AT(CallbackRecord, BlackFlag, 1512);
VOMTEL_AT(CallbackRecord, ReCallTime, 1516);
VOMTEL_AT(CallbackRecord, RecallTelNo, 1536);
VOMTEL_AT(CallbackRecord, EmployeeId, 1556);
VOMTEL_AT(CallbackRecord, CallKind, 1588);
VOMTEL_AT(CallbackRecord, AgentId, 1596);
VOMTEL_LAYOUT(CallbackRecordEx, 1856);
VOMTEL_AT(CallbackRecordEx, ExtraText, 1600);
VOMTEL_LAYOUT(CallbackResult, 16);
VOMTEL_AT(CallbackResult, ReturnValue, 12);
VOMTEL_LAYOUT(CampaignRecord, 1732);
VOMTEL_AT(CampaignRecord, CampaignName, 4);
VOMTEL_AT(CampaignRecord, CampaignDesc, 35);
VOMTEL_AT(CampaignRecord, CampaignSiteCode, 292);
VOMTEL_AT(CampaignRecord, CampaignSvCode, 296);
VOMTEL_AT(CampaignRecord, CampaignMode, 300);
VOMTEL_AT(CampaignRecord, StartFlag, 302);
VOMTEL_AT(CampaignRecord, CampEnfl, 303);
VOMTEL_AT(CampaignRecord, CampCallBack, 304);
VOMTEL_AT(CampaignRecord, CampDlfl, 305);
VOMTEL_AT(CampaignRecord, CampListCnt, 308);
VOMTEL_AT(CampaignRecord, CampListQuery, 312);
VOMTEL_AT(CampaignRecord, CampListFile, 568);
VOMTEL_AT(CampaignRecord, CampNextCamp, 672);
VOMTEL_AT(CampaignRecord, CampTokenId, 676);
VOMTEL_AT(CampaignRecord, CampPhoneOrder, 680);
VOMTEL_AT(CampaignRecord, CampMaxFreq, 692);
VOMTEL_AT(CampaignRecord, CampInterval, 704);
VOMTEL_AT(CampaignRecord, CampTaCode, 708);
VOMTEL_AT(CampaignRecord, CampDddNum, 718);
VOMTEL_AT(CampaignRecord, CampQueue, 724);
VOMTEL_AT(CampaignRecord, CampMaxRing, 728);
VOMTEL_AT(CampaignRecord, CampMachine, 730);
VOMTEL_AT(CampaignRecord, CampAutoDialTm, 732);
VOMTEL_AT(CampaignRecord, CampCrId, 736);
VOMTEL_AT(CampaignRecord, CampCrTm, 740);
VOMTEL_AT(CampaignRecord, CampCrIp, 760);
VOMTEL_AT(CampaignRecord, CampUpId, 780);
VOMTEL_AT(CampaignRecord, CampUpTm, 784);
VOMTEL_AT(CampaignRecord, CampUpIp, 804);
VOMTEL_AT(CampaignRecord, CampCustId, 822);
VOMTEL_AT(CampaignRecord, CampPhoneId, 824);
VOMTEL_AT(CampaignRecord, CampScriptId, 828);
VOMTEL_AT(CampaignRecord, CampMentId, 832);
VOMTEL_AT(CampaignRecord, CampCiodId, 836);
VOMTEL_AT(CampaignRecord, CampAnswerCnt, 840);
VOMTEL_AT(CampaignRecord, CampDialSpeed, 844);
VOMTEL_AT(CampaignRecord, CampParentId, 848);
VOMTEL_AT(CampaignRecord, CampLevel, 852);
VOMTEL_AT(CampaignRecord, CampOvTime, 854);
VOMTEL_AT(CampaignRecord, CampAlCnt, 856);
VOMTEL_AT(CampaignRecord, CampSpTel, 860);
VOMTEL_AT(CampaignRecord, CampRdCnt, 876);
VOMTEL_AT(CampaignRecord, CampObse, 878);
VOMTEL_AT(CampaignRecord, CampGroupId, 904);
VOMTEL_AT(CampaignRecord, Usfl, 908);
VOMTEL_AT(CampaignRecord, RedialStrategy, 910);
VOMTEL_AT(CampaignRecord, DialModeOption, 1415);
VOMTEL_AT(CampaignRecord, StartData, 1416);
VOMTEL_AT(CampaignRecord, EndData, 1425);
VOMTEL_AT(CampaignRecord, ScheduleCnt, 1434);
VOMTEL_AT(CampaignRecord, StartTime, 1436);
VOMTEL_AT(CampaignRecord, EndTime, 1456);
VOMTEL_AT(CampaignRecord, UserOption, 1476);
VOMTEL_AT(CampaignRecord, SkillCnt, 1678);
VOMTEL_AT(CampaignRecord, SkillId, 1680);
VOMTEL_AT(CampaignRecord, RvCallTimeOut, 1700);
VOMTEL_AT(CampaignRecord, CallMax, 1704);
VOMTEL_AT(CampaignRecord, RvCallStandard, 1708);
VOMTEL_AT(CampaignRecord, CampAni, 1709);
VOMTEL_LAYOUT(AgentReadyEntry, 48);
VOMTEL_AT(AgentReadyEntry, Dn, 36);
VOMTEL_AT(AgentReadyEntry, BlendMode, 40);
VOMTEL_AT(AgentReadyEntry, Time, 44);
VOMTEL_LAYOUT(AgentReadyExEntry, 152);
VOMTEL_AT(AgentReadyExEntry, AgentId, 4);
VOMTEL_AT(AgentReadyExEntry, AgentName, 36);
VOMTEL_AT(AgentReadyExEntry, AgentGroup, 68);
VOMTEL_AT(AgentReadyExEntry, GroupName, 72);
VOMTEL_AT(AgentReadyExEntry, AgentPart, 104);
VOMTEL_AT(AgentReadyExEntry, PartName, 108);
VOMTEL_AT(AgentReadyExEntry, Dn, 140);
VOMTEL_AT(AgentReadyExEntry, BlendMode, 144);
VOMTEL_AT(AgentReadyExEntry, Time, 148);
VOMTEL_LAYOUT(AgentStatusEntry, 68);
VOMTEL_AT(AgentStatusEntry, AgentNumber, 8);
VOMTEL_AT(AgentStatusEntry, Mode, 28);
VOMTEL_AT(AgentStatusEntry, Name, 32);
VOMTEL_AT(AgentStatusEntry, Dn, 48);
VOMTEL_LAYOUT(MultiAgentEntry, 28);
VOMTEL_AT(MultiAgentEntry, AgentId, 4);
VOMTEL_LAYOUT(SkillAgentEntry, 20);
VOMTEL_AT(SkillAgentEntry, Time, 16);
VOMTEL_LAYOUT(SkillCountEntry, 68);
VOMTEL_AT(SkillCountEntry, Text1, 4);
VOMTEL_AT(SkillCountEntry, Text2, 35);
VOMTEL_LAYOUT(SkillMasterEntry, 1032);
VOMTEL_AT(SkillMasterEntry, SkillName, 4);
VOMTEL_LAYOUT(CallLoadEntry, 12);
VOMTEL_LAYOUT(WaitingPeriodEntry, 8);
VOMTEL_LAYOUT(WaitingCallEntry, 32);
VOMTEL_AT(WaitingCallEntry, CallingNumber, 8);
VOMTEL_LAYOUT(AgentExEntry, 1216);
VOMTEL_AT(AgentExEntry, Group, 32);
VOMTEL_AT(AgentExEntry, Dn, 64);
VOMTEL_AT(AgentExEntry, Part, 96);
VOMTEL_AT(AgentExEntry, AgentId, 120);
VOMTEL_AT(AgentExEntry, Name, 152);
VOMTEL_AT(AgentExEntry, Mode, 184);
VOMTEL_AT(AgentExEntry, BlendMode, 185);
VOMTEL_AT(AgentExEntry, BlockMode, 186);
VOMTEL_AT(AgentExEntry, Time, 188);
VOMTEL_AT(AgentExEntry, Skills, 190);
VOMTEL_LAYOUT(EventData, 6240);
VOMTEL_AT(EventData, cnidText, 8);
VOMTEL_AT(EventData, cnsq, 76);
VOMTEL_AT(EventData, CallRefID, 84);
VOMTEL_AT(EventData, ucid, 104);
VOMTEL_AT(EventData, AgentMode, 172);
VOMTEL_AT(EventData, AgentID, 176);
VOMTEL_AT(EventData, MonitorParty, 272);
VOMTEL_AT(EventData, UUI, 296);
VOMTEL_AT(EventData, OtherParty, 428);
VOMTEL_AT(EventData, ThirdParty, 468);
VOMTEL_AT(EventData, CalledParty, 508);
VOMTEL_AT(EventData, OriginatingParty, 548);
VOMTEL_AT(EventData, ConnectionList1, 580);
VOMTEL_AT(EventData, ForwardDn, 660);
VOMTEL_AT(EventData, AutoAnswerMode, 712);
VOMTEL_AT(EventData, TimeStamp, 728);
VOMTEL_AT(EventData, PrivData, 776);
VOMTEL_AT(EventData, QueueData, 904);
VOMTEL_AT(EventData, queueWait, 976);
VOMTEL_AT(EventData, ReasonCode, 988);
VOMTEL_AT(EventData, UEILen, 992);
VOMTEL_AT(EventData, UEI, 996);
VOMTEL_AT(EventData, CILen, 2024);
VOMTEL_AT(EventData, CI, 2028);
VOMTEL_AT(EventData, MonitorID, 3060);
VOMTEL_AT(EventData, PrivateData, 3100);
VOMTEL_AT(EventData, VoiceLength, 4124);
VOMTEL_AT(EventData, ErrorValue, 4144);
VOMTEL_AT(EventData, WorkMode, 4148);
VOMTEL_AT(EventData, TypeIE, 4160);
VOMTEL_AT(EventData, PrivateEvent, 4164);
VOMTEL_AT(EventData, reserved4312, 4312);

/* ==== Server, monitor, devices and settings ================================================ */

/* Opens a gate to one server: registers the server (address, port), the record's device,
 * the application name, the low bytes of the record's link mode, device type and header byte
 * and the header word, connects and sends the open request (reply awaited up to 1 s).
 * 1 when the gate is usable, else 3014 (not connected; also for a device number or
 * application name over 255 bytes, which is never sent). The gate's number, the lowest that no
 * open gate uses, is written to *gate whatever the result of the connect; after a failed open
 * the gate is gone and its number free again. With a null gate pointer the gate is opened all
 * the same and its number not written. Refused before anything is registered or connected,
 * *gate not written: a null device (3009); a port outside 1..65535 (VOMTEL_BAD_PORT, 3026).
 * protocol and reserved are not read.
 * The gate's logs take vomtel.ini's LEVEL, LOGPATH and JPUTF, read once when the library is
 * first used; the log setters below do not change them. */
VOMTEL_API int VOMTEL_CALL vomtelOpenServer(int* gate, int invoke, const DeviceRecord* device,
                                            const char* serverName, int port,
                                            const char* protocol, const char* application,
                                            int reserved, int headerWord);
/* As vomtelOpenServer with two servers (active and standby) under the one gate. */
VOMTEL_API int VOMTEL_CALL vomtelOpenServerHA(int* gate, int invoke, const DeviceRecord* device,
                                              const char* serverName,
                                              const char* secondServerName, int port,
                                              const char* protocol, const char* application,
                                              int reserved, int headerWord);
/* Closes every session of the gate (monitor stop, close request, socket closed): any gate
 * number of 0 or more, one in the middle of a fail-over too. Waits up to 3 s for each open
 * session's monitor-stop reply; the close request is not answered. Always 1; an unknown gate
 * is a harmless no-op. vomtelCloseServerHA is the same function. */
VOMTEL_API int VOMTEL_CALL vomtelCloseServer(int gate, int invoke);
VOMTEL_API int VOMTEL_CALL vomtelCloseServerHA(int gate, int invoke);
/* Monitor start (1-s wait) and stop on every session of the gate: the active session's
 * result, 3014 when none is active, 3007 when the gate has no session. */
VOMTEL_API int VOMTEL_CALL vomtelMonitorStart(int gate, int invoke);
VOMTEL_API int VOMTEL_CALL vomtelMonitorStop(int gate, int invoke);
/* On 1 writes the server's monitor number (one byte, widened) to *monitor. monitor must not
 * be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelGetMonitor(int gate, int invoke, int* monitor);
/* Registers the record's device (type: the whole DeviceType; extension byte: low byte of
 * LinkMode) on every session of the gate. device must not be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelAddDevice(int gate, int invoke, const DeviceRecord* device);
/* Registers count device numbers at once (type and extension byte: low bytes of the record's
 * DeviceType and LinkMode). count outside 0..2000 gives 3040 before anything is read or sent;
 * device and devices must not be null (3009; devices may be null when count is 0); a device
 * number 0 in the list gives 3009. */
VOMTEL_API int VOMTEL_CALL vomtelMultiAddDevice(int gate, int invoke, const DeviceRecord* device,
                                                int count, const uint32_t* devices);
VOMTEL_API int VOMTEL_CALL vomtelRemoveDevice(int gate, int invoke, const char* device);
/* The log setters. They reach only a gate that the calling thread is assembling, and an open
 * assembles its gate and applies vomtel.ini's values to it as it opens it, within the one
 * call. So a level or folder set before an open has no effect on the new gate, nor on gates
 * already open: a gate's log level and folder come from vomtel.ini (LEVEL, LOGPATH). */
/* vomtelSetLogLevel, then vomtelSetLogPath; returns vomtelSetLogPath's result. */
VOMTEL_API int VOMTEL_CALL vomtelSetIni(int level, const char* folder);
/* Log level (values above 3 taken as 3) of the gate being assembled. Returns 1. */
VOMTEL_API int VOMTEL_CALL vomtelSetLogLevel(int level);
/* Log folder of the gate being assembled (made when missing): 1 when it exists, 0 when it
 * cannot be made or no gate is being assembled (so 0 whenever it is called between opens). */
VOMTEL_API int VOMTEL_CALL vomtelSetLogPath(const char* folder);
/* Writes the header byte of the gate's active session (0 when none) and returns 1. version
 * must not be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelGetOrbaVersion(int gate, int* version);
/* Takes the gate's next event into *record (the caller zeroes it) without waiting for one to
 * arrive: 1 with the event, 3010 when none waits (EventKind 0). When the gate's active session
 * has been lost it waits up to 5 s for another session of the gate to become active; EventKind
 * 999: none did, or the gate has no session (the gate is closed). record must not be null
 * (3009). reserved is not read. */
VOMTEL_API int VOMTEL_CALL vomtelGetEvent(int gate, EventData* record, int reserved);

/* ==== Call control ========================================================================= */
/* ConnectionId pointers must not be null (3009). A null UEI or CI block sends the empty text.
 * Texts over their limits give 3025: UUI 32 bytes (the make-call family, the consultation and
 * the one-step conference), UEI 1024, CI 128, any other text 255. Private data is never read.
 * The reserved arguments are not read. */
VOMTEL_API int VOMTEL_CALL vomtelAnswerCall(int gate, int invoke, const ConnectionId* call,
                                            const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelClearConnection(int gate, int invoke, const ConnectionId* call,
                                                 const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelHoldCall(int gate, int invoke, const ConnectionId* call,
                                          int reserved, const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelRetrieveCall(int gate, int invoke, const ConnectionId* call,
                                              const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelAlternateCall(int gate, int invoke, const ConnectionId* held,
                                               const ConnectionId* active,
                                               const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelReconnectCall(int gate, int invoke, const ConnectionId* held,
                                               const ConnectionId* active,
                                               const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelConferenceCall(int gate, int invoke, const ConnectionId* held,
                                                const ConnectionId* active,
                                                const void* reserved1, const void* reserved2,
                                                const void* reserved3);
VOMTEL_API int VOMTEL_CALL vomtelTransferCall(int gate, int invoke, const ConnectionId* held,
                                              const ConnectionId* active, const void* reserved1,
                                              const void* reserved2, const void* reserved3);
VOMTEL_API int VOMTEL_CALL vomtelConsultationCall(
    int gate, int invoke, const ConnectionId* held, const char* calledDn, const void* reserved1,
    const char* uui, const char* accountCode, const char* authCode, const void* reserved2,
    const UserDataBlock* uei, const UserDataBlock* ci, const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelMakeCall(int gate, int invoke, const char* callingDn,
                                          const char* calledDn, const char* uui,
                                          const char* accountCode, const char* authCode,
                                          const void* reserved, const UserDataBlock* uei,
                                          const UserDataBlock* ci, const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelObservationCall(int gate, int invoke, const char* callingDn,
                                                 const char* calledDn, const char* uui,
                                                 const char* accountCode, const char* authCode,
                                                 const void* reserved, const UserDataBlock* uei,
                                                 const UserDataBlock* ci,
                                                 const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelObservationTalkCall(
    int gate, int invoke, const char* callingDn, const char* calledDn, const char* uui,
    const char* accountCode, const char* authCode, const void* reserved,
    const UserDataBlock* uei, const UserDataBlock* ci, const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelWhisperCall(int gate, int invoke, const char* callingDn,
                                             const char* calledDn, const char* uui,
                                             const char* accountCode, const char* authCode,
                                             const void* reserved, const UserDataBlock* uei,
                                             const UserDataBlock* ci,
                                             const PrivateDataBlock* priv);
/* Waits the configured SST seconds (3 by default) for its reply. */
VOMTEL_API int VOMTEL_CALL vomtelSingleStepTransfer(
    int gate, int invoke, const ConnectionId* call, const char* calledDn, int mode,
    const void* reserved1, const char* uui, const void* reserved2, const void* reserved3,
    const UserDataBlock* uei, const UserDataBlock* ci);
/* accountCode and authCode are not read: the request carries two empty texts in their place. */
VOMTEL_API int VOMTEL_CALL vomtelSingleStepConference(
    int gate, int invoke, int callId, const char* callingDn, const char* calledDn, int mode,
    const char* uui, const char* accountCode, const char* authCode, const void* reserved,
    const UserDataBlock* uei, const UserDataBlock* ci);
/* Consults calledDn, waits up to 10 s for the call to be established and conferences it;
 * when it is not, clears the consultation and retrieves the held call and returns 3013 (the
 * retrieve's result when that failed). A consultation the server refuses is returned as is. */
VOMTEL_API int VOMTEL_CALL vomtelOneStepConference(int gate, int invoke, const ConnectionId* held,
                                                   const char* calledDn, const void* reserved1,
                                                   const char* uui, const void* reserved2,
                                                   const UserDataBlock* uei,
                                                   const UserDataBlock* ci,
                                                   const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelDivertDeflect(int gate, int invoke, const ConnectionId* call,
                                               const char* divertDn, const char* uui,
                                               const UserDataBlock* uei, const UserDataBlock* ci,
                                               const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelDivertDirect(int gate, int invoke, const ConnectionId* call,
                                              const char* divertDn, const char* uui,
                                              const UserDataBlock* uei, const UserDataBlock* ci,
                                              const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelSendDTMF(int gate, int invoke, const ConnectionId* call,
                                          const char* digits, int toneDuration,
                                          int pauseDuration);
/* Writes the server's number to *result when a reply came. result must not be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelCallToCNID(int gate, int invoke, int first, int second,
                                            int* result);
/* uei must not be null (3009). Its text has no limit of 1024: up to the block's 1,028 bytes
 * go out. */
VOMTEL_API int VOMTEL_CALL vomtelUserExInfoData(int gate, int invoke, int callId,
                                                const UserDataBlock* uei);

/* ==== Phone features and agent state ======================================================= */
VOMTEL_API int VOMTEL_CALL vomtelSetFeatureDND(int gate, int invoke, const char* device, int mode,
                                               const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelSetFeatureForward(int gate, int invoke, const char* device,
                                                   int forwardMode, int forwardOn,
                                                   const char* forwardDn,
                                                   const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelSetFeatureMicrophoneMute(int gate, int invoke,
                                                          const char* device, int mode);
VOMTEL_API int VOMTEL_CALL vomtelSetFeatureSpeakerMute(int gate, int invoke, const char* device,
                                                       int mode);
VOMTEL_API int VOMTEL_CALL vomtelSetFeatureAutoAnswer(int gate, int invoke, const char* device,
                                                      int mode, const PrivateDataBlock* priv);
/* Agent state (mode 0 login, 1 logout, 2 not ready, 3 ready, 4 other work, 5 after-call work).
 * The sixth argument is the agent's part, the seventh its group. */
VOMTEL_API int VOMTEL_CALL vomtelSetFeatureAgentStatus(int gate, int invoke, const char* device,
                                                       int agentMode, const char* agentId,
                                                       const char* agentPart,
                                                       const char* agentGroup, int reasonCode,
                                                       int workMode,
                                                       const PrivateDataBlock* priv);
VOMTEL_API int VOMTEL_CALL vomtelSetAgentFlag(int gate, int invoke, const char* agentId,
                                              int waitMode);
VOMTEL_API int VOMTEL_CALL vomtelSetAgentBlocking(int gate, int invoke, const char* agentId,
                                                  int blockingTime);
/* Gate 0. Writes the server's two numbers (valid seconds, setter) to results[0] and
 * results[1] when a reply came. results must not be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelSetAgentBlockingEx(int gate, int invoke, const char* agentId,
                                                    int blockingTime, int campaignId,
                                                    const char* campaignName, int source,
                                                    int* results);
/* UEI over 1024 bytes: 3025. */
VOMTEL_API int VOMTEL_CALL vomtelPwdConfirm(int gate, int invoke, int deviceNumber, int confirm,
                                            const UserDataBlock* uei);
/* The call id is read through callId, which must not be null (3009); data over 1024: 3025. */
VOMTEL_API int VOMTEL_CALL vomtelSetUEIData(int gate, int invoke, int serverId,
                                            const int* callId, const UserDataBlock* uei);

/* ==== Queries ============================================================================== */
/* Entry and count pointers must not be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGet(int gate, int invoke, int group, int part,
                                               int maxCount, AgentReadyEntry* entries,
                                               uint32_t* count);
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGetII(int gate, int invoke, int group, int part,
                                                 int maxCount, AgentReadyExEntry* entries,
                                                 uint32_t* count);
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGetEx(int gate, int invoke, int group, int part,
                                                 int maxCount, AgentReadyExEntry* entries,
                                                 uint32_t* count);
/* Write only the number of entries the server returned. */
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGetCount(int gate, int invoke, int group, int part,
                                                    int maxCount, int* count);
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGetCountII(int gate, int invoke, int reserved,
                                                      int group, int part, int maxCount,
                                                      int* count);
/* Gate 0. */
VOMTEL_API int VOMTEL_CALL vomtelAgentBusyGet(int gate, int invoke, int group, int part,
                                              int maxCount, AgentReadyEntry* entries,
                                              uint32_t* count);
VOMTEL_API int VOMTEL_CALL vomtelAgentBusyGetII(int gate, int invoke, int reserved, int group,
                                                int part, int maxCount,
                                                AgentReadyEntry* entries, uint32_t* count);
VOMTEL_API int VOMTEL_CALL vomtelAgentBusyGetCount(int gate, int invoke, int group, int part,
                                                   int maxCount, int* count);
VOMTEL_API int VOMTEL_CALL vomtelAgentBusyGetCountII(int gate, int invoke, int reserved,
                                                     int group, int part, int maxCount,
                                                     int* count);
/* The answer comes in several frames, each awaited up to 3 s. At most maxCount entries. */
VOMTEL_API int VOMTEL_CALL vomtelAgentStatusGet(int gate, int invoke, int mode, int maxCount,
                                                int group, int part, AgentStatusEntry* entries,
                                                uint32_t* count, int reserved);
/* On 1 writes the agent's name (cut to 30 bytes) to name (char[31]) and mode, extension,
 * blend mode, block mode and time to the five outs. None may be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelQueryAgentStatusEx(int gate, int invoke, const char* agentId,
                                                    int device, char* name, int* mode,
                                                    int* extension, int* blendMode,
                                                    int* blockMode, int* time, int reserved1,
                                                    int reserved2, int reserved3);
/* At most VOMTEL_CAP_MULTI_AGENT (1,000) entries: an array of that many holds any answer. */
VOMTEL_API int VOMTEL_CALL vomtelMultiAgentGet(int gate, int invoke, const char* deviceDn,
                                               const char* agentId, MultiAgentEntry* entries,
                                               uint32_t* count);
/* first is the maximum count: at most that many entries (none for 0 or less), and never more
 * than VOMTEL_CAP_AGENT_LIST. */
VOMTEL_API int VOMTEL_CALL vomtelAgentSkillGet(int gate, int invoke, int first, int second,
                                               SkillAgentEntry* entries, uint32_t* count);
/* The server's answer carries no entries: on 1 the count is 0 and the array untouched. */
VOMTEL_API int VOMTEL_CALL vomtelAgentGetBySkill(int gate, int invoke, int tenantId, int skillId,
                                                 int agentMode, int stateCount, uint32_t* count,
                                                 SkillCountEntry* entries);
/* At most VOMTEL_CAP_SKILL_MASTER (512) entries: an array of that many holds any answer. */
VOMTEL_API int VOMTEL_CALL vomtelGetSkillMaster(int gate, int invoke, int tenantId,
                                                SkillMasterEntry* entries, uint32_t* count);
/* Reply awaited up to 5 s; the agents come as list frames. At most VOMTEL_CAP_AGENT_LIST
 * entries. */
VOMTEL_API int VOMTEL_CALL vomtelGetAgent(int gate, int invoke, const char* text1,
                                          const char* text2, const char* text3,
                                          const char* text4, const char* text5,
                                          const char* text6, const char* text7,
                                          AgentExEntry* entries, uint32_t* count,
                                          const char* text8);
/* As vomtelGetAgent; on 1 also writes the server's read-count text (cut to 1024 bytes) to
 * readCount (char[1025], must not be null). The first five texts may hold 1024 bytes, the
 * sixth 20, mode, blend and maxCount 255; a longer one gives VOMTEL_DIRECTORY_TEXT_TOO_LONG
 * (-3025) before anything is sent. At most VOMTEL_CAP_AGENT_LIST entries. */
VOMTEL_API int VOMTEL_CALL vomtelGetAgentEx(int gate, int invoke, const char* dn, const char* id,
                                            const char* skill, const char* tenant,
                                            const char* group, const char* part,
                                            const char* mode, const char* blend,
                                            AgentExEntry* entries, char* readCount,
                                            uint32_t* count, const char* maxCount);
/* Writes the server's count to *counts when a reply came; list over 1024 bytes: 3025. */
VOMTEL_API int VOMTEL_CALL vomtelGetAgentCount(int gate, int invoke, const UserDataBlock* list,
                                               int agentMode, int blendMode, uint32_t* counts);
/* On 1 writes the ready rate (the server's number / 100) to *rate (must not be null, 3009). */
VOMTEL_API int VOMTEL_CALL vomtelReadyRateGet(int gate, int invoke, int value, float* rate);
/* Writes the queue's two numbers to *first and *second when a reply carried them (neither may
 * be null, 3009). */
VOMTEL_API int VOMTEL_CALL vomtelWaitTimeGet(int gate, int invoke, int tenantId,
                                             const char* queueDn, int* first, int* second);
/* At most VOMTEL_CAP_QUEUE_LIST entries. */
VOMTEL_API int VOMTEL_CALL vomtelWaitingCallTimePeriod(int gate, int invoke, int interval,
                                                       const char* queue, uint32_t* count,
                                                       WaitingPeriodEntry* entries);
/* At most VOMTEL_CAP_QUEUE_LIST entries. */
VOMTEL_API int VOMTEL_CALL vomtelWaitingCallListOfQue(int gate, int invoke, const char* queue,
                                                      uint32_t* count,
                                                      WaitingCallEntry* entries);
/* The result is the server's word at reply bytes 14-17. At most VOMTEL_CAP_QUEUE_LIST
 * entries. */
VOMTEL_API int VOMTEL_CALL vomtelMaxCallLoadAgent(int gate, int invoke, const char* employeeId,
                                                  uint32_t* count, CallLoadEntry* entries);
/* Gate 0. Writes the server's UEI and CI into the blocks (cut to 1027 bytes, NUL-terminated,
 * Length set) when a reply came. Neither block may be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelGetUEIData(int gate, int invoke, int serverId, int callId,
                                            UserDataBlock* uei, UserDataBlock* ci);

/* ==== IVR routing and SQL ================================================================== */
VOMTEL_API int VOMTEL_CALL vomtelIVRRegisterCall(int gate, int invoke, int first, int second,
                                                 const char* text1, const char* text2,
                                                 const UserDataBlock* uei, int last);
VOMTEL_API int VOMTEL_CALL vomtelIVRReleaseCall(int gate, int invoke, int first, int second,
                                                const char* dn, const char* targetDn);
VOMTEL_API int VOMTEL_CALL vomtelIVRAllowRouting(int gate, int invoke, int first, int second,
                                                 const char* text, int last);
/* Writes the server's count to *count when a reply came (must not be null, 3009). */
VOMTEL_API int VOMTEL_CALL vomtelIVRNumberOfWait(int gate, int invoke, uint32_t value, int number,
                                                 const char* text, int* count);
/* Runs a query: on 1 writes the rows (joined by the delimiter, cut to 1027 bytes and
 * NUL-terminated) into result->Text and their byte count into result->Length; the row count
 * goes to *rows whenever a reply carried it. rows and result must not be null (3009). The
 * query's text has no limit: up to its block's 1,028 bytes go out (so for vomtelSQLExecute). */
VOMTEL_API int VOMTEL_CALL vomtelSQLQuery(int gate, int invoke, const char* device,
                                          int recordNumber, int delimiter,
                                          const UserDataBlock* query, int* rows,
                                          UserDataBlock* result);
VOMTEL_API int VOMTEL_CALL vomtelSQLExecute(int gate, int invoke, const char* device,
                                            const UserDataBlock* statement);

/* ==== Trace and counsel upload (sent; no reply awaited: the result is the send's) ========== */
VOMTEL_API int VOMTEL_CALL vomtelPutTraceInfo(int gate, int invoke, int first, int second,
                                              const char* text1, const char* text2,
                                              const char* text3, const char* text4,
                                              const char* text5, const char* text6, int number,
                                              const char* text7, const UserDataBlock* trace);
VOMTEL_API int VOMTEL_CALL vomtelPutCounselInfo(int gate, int invoke, const char* cnid, int cnsq,
                                                const char* tag,
                                                const UserDataBlock* attachment);

/* ==== Outbound campaigns, preview, call-back and black lists =============================== */
/* Writes the server's third number to *result when a reply came (must not be null, 3009). */
VOMTEL_API int VOMTEL_CALL vomtelGetMaxCPSQ(int gate, int invoke, int first, int second,
                                            int* result);
/* Answers the server's private event 100; sent without waiting. */
VOMTEL_API int VOMTEL_CALL vomtelGetMaxCPSQResult(int gate, int gateTo, int reserved, int first,
                                                  int second, int third, int fourth);
/* The result is the server's word at reply bytes 6-9. record must not be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelBlackListInsert(int gate, int invoke, int number,
                                                 const BlackListRecord* record);
/* Answers a server request; sent without waiting. */
VOMTEL_API int VOMTEL_CALL vomtelBlackListInsertResult(int gate, int gateTo, int reserved,
                                                       int result);
VOMTEL_API int VOMTEL_CALL vomtelSetCampaignListHandle(int gate, int invoke,
                                                       const CampaignListHandleRecord* record);
VOMTEL_API int VOMTEL_CALL vomtelSetCampaignListHandleResult(int gate, int gateTo, int reserved,
                                                             int result);
/* The result is the server's status word at reply bytes 6-9; the entries and their count are
 * written only when it is 1. At most VOMTEL_CAP_AGENT_LIST entries; count and entries must not
 * be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelCallbackCampaign(int gate, int invoke, int requestId,
                                                  uint32_t* count,
                                                  CallbackCampaignEntry* entries);
/* Sends the low 16 bits of count (signed) entries; 0 or less sends none. entries may be null
 * only then (3009). More than 680 entries (what one request holds) give 3040 before entries
 * is read. */
VOMTEL_API int VOMTEL_CALL vomtelCallbackCampaignResult(int gate, int gateTo, int reserved,
                                                        int requestId, int count,
                                                        const CallbackCampaignEntry* entries);
/* On 1 writes the server's answer into *result (when result is not null). record must not
 * be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelCallbackListInsert(int gate, int invoke, int requestId,
                                                    const CallbackRecord* record,
                                                    CallbackResult* result);
/* As vomtelCallbackListInsert; ExtraText is read (at most 255 bytes) but not sent. */
VOMTEL_API int VOMTEL_CALL vomtelCallbackListInsertEx(int gate, int invoke, int requestId,
                                                      const CallbackRecordEx* record,
                                                      CallbackResult* result);
/* The result is the server's word; the new campaign id goes to *campaignId whenever a reply
 * carried it. Neither pointer may be null (3009). */
VOMTEL_API int VOMTEL_CALL vomtelCreateCampaignEx(int gate, int invoke, uint32_t* campaignId,
                                                  const CampaignRecord* campaign);
VOMTEL_API int VOMTEL_CALL vomtelDestoryCampaign(int gate, int invoke, int first, int second,
                                                 int third);
VOMTEL_API int VOMTEL_CALL vomtelStartCampaign(int gate, int invoke, int first, int second);
VOMTEL_API int VOMTEL_CALL vomtelStopCampaign(int gate, int invoke, int first, int second);
VOMTEL_API int VOMTEL_CALL vomtelStartSystemPreview(int gate, int invoke, uint32_t value,
                                                    int number, const char* agentId);
VOMTEL_API int VOMTEL_CALL vomtelStopSystemPreview(int gate, int invoke, uint32_t value,
                                                   int number, const char* agentId);
VOMTEL_API int VOMTEL_CALL vomtelSysPreviewState(int gate, int invoke, uint32_t value,
                                                 int number, const char* agentId, int reserved);
/* The result is the server's word at reply bytes 6-9. */
VOMTEL_API int VOMTEL_CALL vomtelPreviewMakeCall(int gate, int invoke, int first, int second,
                                                 int third, const char* employeeId,
                                                 int callKind);
/* data must not be null (3009); up to its block's 1,028 bytes go out. */
VOMTEL_API int VOMTEL_CALL vomtelCampaignInfo(int gate, int invoke, uint32_t value,
                                              const UserDataBlock* data);
/* 3002 when the reply names another service type. */
VOMTEL_API int VOMTEL_CALL vomtelCallingListService(int gate, int invoke, int serviceType,
                                                    int campaignId, int callingId,
                                                    int listCount, int actionFlag);

/* ==== Entry points that do nothing ========================================================= */
/* Do nothing; return 1. */
VOMTEL_API int VOMTEL_CALL vomtelSendMsg(int gate, int invoke, int a3, int a4, int a5, int a6);
VOMTEL_API int VOMTEL_CALL vomtelSetPbxID(int gate, int invoke, int pbxId);
VOMTEL_API int VOMTEL_CALL vomtelAgentBusyGetValue(int gate, int invoke, int a3, int a4, int a5,
                                                   void* a6, void* a7);
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGetValue(int gate, int invoke, int a3, int a4, int a5,
                                                    void* a6, void* a7);
/* Opens nothing (no proxy support) and writes nothing: returns 2018. */
VOMTEL_API int VOMTEL_CALL vomtelOpenServerP(int* gate, int invoke, const char* proxyIp,
                                             int proxyPort, const char* proxyId,
                                             const char* proxyPassword,
                                             const DeviceRecord* device, const char* serverName,
                                             int port, const char* protocol,
                                             const char* application, int reserved,
                                             int headerWord);
/* Do nothing; return 2018. */
VOMTEL_API int VOMTEL_CALL vomtelOneStepTransfer(int gate, int invoke, const void* a3,
                                                 const void* a4, const void* a5, const void* a6,
                                                 const void* a7, const void* a8,
                                                 const void* a9);
VOMTEL_API int VOMTEL_CALL vomtelGetPartMaster(int gate, int invoke, int a3, int a4, int a5,
                                               int a6, int a7, void* a8, void* a9);
VOMTEL_API int VOMTEL_CALL vomtelQueryAgentStatus(int gate, int invoke, const void* a3, int a4,
                                                  void* a5, void* a6, void* a7);
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGetExu(int gate, int invoke, int a3, int a4, int a5,
                                                  void* a6, void* a7);
VOMTEL_API int VOMTEL_CALL vomtelGetTenantMaster(int gate, int invoke, int a3, int a4, int a5,
                                                 void* a6, void* a7);
VOMTEL_API int VOMTEL_CALL vomtelCallbackListInsertResult(int gate, int gateTo, int invoke,
                                                          int ciodId, int campaignId,
                                                          int campaignSeq, int result);
VOMTEL_API int VOMTEL_CALL vomtelCurrentDN(int gate, int invoke, void* a3);
VOMTEL_API int VOMTEL_CALL vomtelEventNotify(int gate, int invoke, void* a3);
VOMTEL_API int VOMTEL_CALL vomtelGetEventPoll(int gate, void* a2, int a3);
VOMTEL_API int VOMTEL_CALL vomtelSetCounselResult(int gate, int invoke, const void* record);
VOMTEL_API int VOMTEL_CALL vomtelCreateCampaign(int gate, int invoke, void* campaignId,
                                                const void* campaign);
VOMTEL_API int VOMTEL_CALL vomtelErrMsg(int gate, int invoke, int code, void* text);
VOMTEL_API int VOMTEL_CALL vomtelPreviewMakeCallResult(int gate, int gateTo, int invoke,
                                                       int result);
VOMTEL_API int VOMTEL_CALL vomtelSendPopup(int gate, int invoke, const char* employeeId,
                                           const void* event);
VOMTEL_API int VOMTEL_CALL vomtelSetCounselResultResult(int gate, int gateTo, int invoke,
                                                        int result);
VOMTEL_API int VOMTEL_CALL vomtelCreateCampaignResult(int gate, int gateTo, int invoke, int a4,
                                                      int a5);
VOMTEL_API int VOMTEL_CALL vomtelQueryAgentStatusExIII(int gate, int invoke, const void* a3,
                                                       int a4, void* a5);
VOMTEL_API int VOMTEL_CALL vomtelSendData(int gate, int invoke, int a3, const void* a4, int a5);
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGetW(int gate, int invoke, int a3, int a4, int a5,
                                                void* a6, void* a7, int a8);
VOMTEL_API int VOMTEL_CALL vomtelGetGroupMaster(int gate, int invoke, int a3, int a4, int a5,
                                                int a6, void* a7, void* a8);
VOMTEL_API int VOMTEL_CALL vomtelSendWebChatMsg(int gate, int invoke, const void* a3,
                                                const void* a4, const void* a5, const void* a6,
                                                int a7, int a8);
VOMTEL_API int VOMTEL_CALL vomtelAgentBusyGetValueII(int gate, int invoke, int a3, int a4, int a5,
                                                     int a6, void* a7, void* a8);
VOMTEL_API int VOMTEL_CALL vomtelAgentReadyGetValueII(int gate, int invoke, int a3, int a4,
                                                      int a5, int a6, void* a7, void* a8);
VOMTEL_API int VOMTEL_CALL vomtelAgentStatusGetII(int gate, int a2, int invoke, int mode,
                                                  int maxCount, int group, int part,
                                                  void* entries, void* count, int a10);
VOMTEL_API int VOMTEL_CALL vomtelGetAgentMaster(int gate, int invoke, int a3, int a4, int a5,
                                                int a6, int a7, int a8, void* a9, void* a10);
VOMTEL_API int VOMTEL_CALL vomtelGetEmployeeMaster(int gate, int invoke, int a3, int a4, int a5,
                                                   int a6, int a7, int a8, void* a9, void* a10);
VOMTEL_API int VOMTEL_CALL vomtelNotifyRecord(int gate, int invoke, int callId,
                                              const char* device, int mode, const char* code);
VOMTEL_API int VOMTEL_CALL vomtelPutTraceInfoEx(int gate, int invoke, int a3, int a4,
                                                const void* a5, const void* a6, const void* a7,
                                                const void* a8, const void* a9, const void* a10,
                                                int a11, const void* a12, const void* a13);

#ifdef __cplusplus
}
#endif

#endif /* VOMTEL_VOMTEL_H */
