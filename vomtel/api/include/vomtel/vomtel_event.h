/* EventData: the event record that vomtelGetEvent fills.
 *
 * The record is 6,240 bytes with a fixed byte layout (offsets in the comments); every gap is
 * an explicit reserved array, so nothing depends on the compiler's padding. Numbers are in
 * host byte order; a text is a NUL-terminated character array of fixed size holding the bytes
 * the server sent (no conversion), cut to the array's size less one.
 *
 * The caller allocates the record. On an event the library zeroes bytes 0-4311 and then
 * writes the fields that the event carries; it never writes bytes 4312 and on. When no event
 * is delivered only EventKind is written (0). Fields marked "never written" always read 0 or
 * the empty text.
 *
 * Plain C (C11) and C++. */
#ifndef VOMTEL_VOMTEL_EVENT_H
#define VOMTEL_VOMTEL_EVENT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Event kinds: the values of EventKind. Most are the server's event codes as sent; 254, 998
 * and 999 are made by the library. A code the server sends that is not listed here is
 * delivered with its EventKind and TimeStamp only, every other field 0: no body is read. */
#define VOMTEL_EVENT_NONE 0                 /* no event delivered */
/* Call events. */
#define VOMTEL_EVENT_CONFERENCED 2          /* calls joined into a conference */
#define VOMTEL_EVENT_CONNECTION_CLEARED 3   /* a party left the call */
#define VOMTEL_EVENT_DELIVERED 4            /* the call is ringing (alerting) */
#define VOMTEL_EVENT_DIVERTED 5             /* the call was diverted away from the device */
#define VOMTEL_EVENT_ESTABLISHED 6          /* the call was answered */
#define VOMTEL_EVENT_FAILED 7               /* the call could not be completed */
#define VOMTEL_EVENT_HELD 8                 /* the call was put on hold */
#define VOMTEL_EVENT_NETWORK_REACHED 9      /* the call left for an outside network */
#define VOMTEL_EVENT_ORIGINATED 10          /* the device started dialling the call */
#define VOMTEL_EVENT_QUEUED 11              /* the call waits in a queue */
#define VOMTEL_EVENT_RETRIEVED 12           /* a held call was taken back */
#define VOMTEL_EVENT_SERVICE_INITIATED 13   /* the device went off-hook to make a call */
#define VOMTEL_EVENT_TRANSFERRED 14         /* the call was transferred */
/* Phone features: MonitorParty, MonitorID and the feature's field. */
#define VOMTEL_EVENT_DO_NOT_DISTURB 102     /* do-not-disturb switched; DNDMode */
#define VOMTEL_EVENT_FORWARDING 103         /* forwarding switched; ForwardType, ForwardDn */
#define VOMTEL_EVENT_AUTO_ANSWER 105        /* auto answer switched; AutoAnswerMode */
#define VOMTEL_EVENT_MICROPHONE_MUTE 106    /* microphone mute switched; MicrophoneMuteMode */
#define VOMTEL_EVENT_SPEAKER_MUTE 107       /* speaker mute switched; SpeakerMuteMode */
#define VOMTEL_EVENT_PRIVATE 200            /* private event; TypeIE holds the sub-code */
/* Agent states: MonitorParty, MonitorID, AgentMode (in brackets), AgentID, AgentGroup,
 * WorkMode, ReasonCode. */
#define VOMTEL_EVENT_LOGGED_ON 201          /* the agent logged on (AgentMode 0) */
#define VOMTEL_EVENT_LOGGED_OFF 202         /* the agent logged off (1) */
#define VOMTEL_EVENT_NOT_READY 203          /* the agent is not ready (2) */
#define VOMTEL_EVENT_READY 204              /* the agent is ready for calls (3) */
#define VOMTEL_EVENT_OTHER_WORK 205         /* the agent is on other work (4) */
#define VOMTEL_EVENT_AFTER_CALL_WORK 206    /* the agent is in after-call work (5) */
/* Other events. */
#define VOMTEL_EVENT_CODE_250 250           /* the server's event code 250; MonitorParty */
#define VOMTEL_EVENT_PASSWORD_CONFIRM 253   /* password confirmation; MonitorParty, ReasonCode,
                                               UEI */
#define VOMTEL_EVENT_POPUP 254              /* private event with sub-code 107 (outbound pop-up) */
#define VOMTEL_EVENT_CODE_251 998           /* the server's event code 251 */
#define VOMTEL_EVENT_SERVER_DOWN 999        /* no session of the gate is left; only TimeStamp
                                               is set */

/* Sub-codes of the private event that fill the PrivateEvent union. */
#define VOMTEL_PRIVATE_MAX_CPSQ 100
#define VOMTEL_PRIVATE_LIST_NOTICE 101
#define VOMTEL_PRIVATE_POPUP 107

/* Capacities of the text fields, NUL included. */
#define VOMTEL_EVENT_DEVICE_SIZE 24
#define VOMTEL_EVENT_USER_DATA_SIZE 1025

/* Time of the event: from the event frame, or the local time of the fetch for 999. */
typedef struct vomtelEventTime {
  int16_t Year;        /* 728 */
  int16_t Month;       /* 730 */
  int16_t Day;         /* 732 */
  int16_t Hour;        /* 734 */
  int16_t Minute;      /* 736 */
  int16_t Second;      /* 738 */
  int16_t Millisecond; /* 740 */
} vomtelEventTime;

/* Sub-code 100: the server asks for the maximum CPSQ (answered with vomtelGetMaxCPSQResult).
 * Offsets relative to the union (add 4164). */
typedef struct vomtelMaxCpsqData {
  uint32_t Gate;          /* 0 */
  uint16_t Invoke;        /* 4 */
  uint8_t reserved6[2];   /* 6 */
  uint32_t Ciod;          /* 8 */
  uint32_t Campaign;      /* 12 */
  uint8_t reserved16[132]; /* 16 */
} vomtelMaxCpsqData;

/* Sub-code 101: a list notice. */
typedef struct vomtelListNoticeData {
  uint32_t Value1;      /* 0 */
  uint16_t Value2;      /* 4 */
  uint8_t reserved6[2]; /* 6 */
  uint32_t Value3;      /* 8 */
  char Text1[31];       /* 12 */
  char Text2[31];       /* 43 */
  char Text3[21];       /* 74 */
  char Text4[21];       /* 95 */
  char Text5[32];       /* 116 */
} vomtelListNoticeData;

/* Sub-code 107: the outbound pop-up (EventKind 254). */
typedef struct vomtelPopupData {
  char EmployeeId[32];     /* 0 */
  uint8_t reserved32[8];   /* 32 */
  uint32_t PopupNumber;    /* 40 */
  uint8_t reserved44[24];  /* 44 */
  int32_t TokenId;         /* 68 */
  uint8_t reserved72[76];  /* 72 */
} vomtelPopupData;

/* Written only for the sub-codes 100, 101 and 107. */
typedef union vomtelPrivateEventData {
  vomtelMaxCpsqData MaxCpsq;
  vomtelListNoticeData ListNotice;
  vomtelPopupData Popup;
} vomtelPrivateEventData;

typedef struct EventData {
  int32_t EventKind;              /* 0    event code, 254, 998, 999; 0 when none */
  uint32_t cnid;                  /* 4    number id of the call (tag 0xB0) */
  char cnidText[65];              /* 8    cnid as text, or the server's own text */
  uint8_t reserved73[3];          /* 73 */
  int32_t cnsq;                   /* 76   sequence of cnid */
  uint8_t ctype;                  /* 80   call type */
  uint8_t reserved81[3];          /* 81 */
  int32_t CallRefID;              /* 84 */
  int32_t PreOldCallRefID;        /* 88 */
  int32_t SecOldCallRefID;        /* 92 */
  int32_t LocalConnState;         /* 96 */
  int32_t EventCause;             /* 100 */
  char ucid[64];                  /* 104  universal call id */
  int32_t Type;                   /* 168  pop-up: script */
  int32_t AgentMode;              /* 172  0 login ... 5 after-call work (0 on other events) */
  char AgentID[24];               /* 176 */
  char AgentGroup[24];            /* 200 */
  char AgentData[24];             /* 224  never written */
  char LocalAgent[24];            /* 248  never written */
  char MonitorParty[24];          /* 272  pop-up: customer number */
  char UUI[32];                   /* 296 */
  char AccountCode[32];           /* 328  never written */
  char AuthorisationCode[32];     /* 360  never written */
  char DtmfDigit[24];             /* 392  never written */
  int32_t NumberOfQueue;          /* 416  never written */
  int32_t OtherPartyType;         /* 420 */
  int32_t OtherPartyCause;        /* 424 */
  char OtherParty[24];            /* 428 */
  int32_t OtherPartyTrunk;        /* 452  never written */
  int32_t OtherPartyGroup;        /* 456  never written */
  int32_t ThirdPartyType;         /* 460  pop-up: call kind */
  int32_t ThirdPartyCause;        /* 464 */
  char ThirdParty[24];            /* 468 */
  int32_t ThirdPartyTrunk;        /* 492  pop-up: cm mode */
  int32_t ThirdPartyGroup;        /* 496  never written */
  int32_t CalledPartyType;        /* 500 */
  int32_t CalledPartyCause;       /* 504  never written */
  char CalledParty[24];           /* 508 */
  int32_t CalledPartyTrunk;       /* 532  never written */
  int32_t CalledPartyGroup;       /* 536  never written */
  int32_t OriginatingPartyType;   /* 540 */
  int32_t OriginatingPartyCause;  /* 544  never written */
  char OriginatingParty[24];      /* 548 */
  int32_t OriginatingPartyTrunk;  /* 572  never written */
  int32_t OriginatingPartyGroup;  /* 576  never written */
  char ConnectionList1[24];       /* 580 */
  char ConnectionList2[24];       /* 604 */
  char ConnectionList3[24];       /* 628 */
  int32_t DNDMode;                /* 652 */
  int32_t ForwardType;            /* 656 */
  char ForwardDn[24];             /* 660 */
  char MessageInvDn[24];          /* 684  never written */
  int32_t MessageWaitingMode;     /* 708  never written */
  int32_t AutoAnswerMode;         /* 712 */
  int32_t MicrophoneMuteMode;     /* 716 */
  int32_t SpeakerMuteMode;        /* 720 */
  int32_t SpeakerVolume;          /* 724  never written */
  vomtelEventTime TimeStamp;      /* 728 */
  uint8_t reserved742[34];        /* 742 */
  char PrivData[128];             /* 776  never written */
  int32_t QueueData;              /* 904  queue device number (tag 0xB5) */
  uint8_t reserved908[68];        /* 908 */
  int32_t queueWait;              /* 976  (tag 0xB6) */
  int32_t replyCall;              /* 980  never written */
  int32_t abandonCall;            /* 984  never written */
  uint32_t ReasonCode;            /* 988 */
  int32_t UEILen;                 /* 992  bytes of UEI copied */
  char UEI[1025];                 /* 996 */
  uint8_t reserved2021[3];        /* 2021 */
  int32_t CILen;                  /* 2024 bytes of CI copied */
  char CI[1025];                  /* 2028 */
  uint8_t reserved3053[3];        /* 3053 */
  int32_t Gate;                   /* 3056 never written */
  int32_t MonitorID;              /* 3060 */
  uint8_t reserved3064[36];       /* 3064 */
  char PrivateData[1024];         /* 3100 never written */
  int32_t VoiceLength;            /* 4124 pop-up: wait */
  int32_t VoicePosition;          /* 4128 pop-up: gap */
  char VoiceSpeed;                /* 4132 never written */
  char VoiceLevel;                /* 4133 never written */
  char VoiceVolume;               /* 4134 never written */
  char SysStatus;                 /* 4135 never written */
  int32_t RouteRegReqID;          /* 4136 never written */
  int32_t RoutingCrossID;         /* 4140 never written */
  uint8_t ErrorValue;             /* 4144 never written */
  uint8_t ServerID;               /* 4145 never written */
  uint8_t PbxType;                /* 4146 never written */
  uint8_t CallKind;               /* 4147 never written */
  int32_t WorkMode;               /* 4148 */
  int32_t EDivide;                /* 4152 never written */
  int32_t EUnAttend;              /* 4156 never written */
  int32_t TypeIE;                 /* 4160 private sub-code, low 8 bits; 0 on other events */
  vomtelPrivateEventData PrivateEvent; /* 4164 by sub-code (100, 101, 107) */
  uint8_t reserved4312[1928];     /* 4312 never written by the library */
} EventData;

/* Bytes of the record that the library may write. */
#define VOMTEL_EVENT_WRITTEN_SIZE 4312
#define VOMTEL_EVENT_DATA_SIZE 6240

#ifdef __cplusplus
}
#endif

#endif /* VOMTEL_VOMTEL_EVENT_H */
