#!/usr/bin/env python3
"""Black-box table of the exported C interface, driven through ctypes against the ctisim
program.

Usage: exports_blackbox.py LIBVOMTEL CTISIM

Every row names an export, its arguments, the class, code and field bytes that must reach the
server, the reply the server gives and the result and outputs the caller must see. Then:
the same exports against a server that answers everything with another result (handed back
unchanged, outputs untouched); the gate-0 exports called with another gate; null records and
outputs (3009, nothing sent); the do-nothing names; list replies longer than the caller's
array (guard bytes intact).
"""

import ctypes
import os
import queue
import socket
import struct
import subprocess
import sys
import tempfile
import threading

LIB_PATH, SIM_PATH = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
os.chdir(tempfile.mkdtemp(prefix="vomtel-capi-"))  # the library writes its logs here
lib = ctypes.CDLL(LIB_PATH)

HEADER_BYTE = 0x30  # the version byte of the requests (DeviceRecord.HeaderByte)
NULL = None
failures = []


def fail(what):
    failures.append(what)
    print("FAIL", what, flush=True)


# ---- Wire encoding (big-endian) ---------------------------------------------------------------
def u8(v): return struct.pack(">B", v & 0xFF)
def u16(v): return struct.pack(">H", v & 0xFFFF)
def u32(v): return struct.pack(">I", v & 0xFFFFFFFF)
def s8(t): t = t.encode() if isinstance(t, str) else t; return u8(len(t)) + t
def s16(t): t = t.encode() if isinstance(t, str) else t; return u16(len(t)) + t
def i32(v): return struct.unpack("<i", struct.pack("<I", v & 0xFFFFFFFF))[0]


# ---- The simulator ------------------------------------------------------------------------------
def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Request:
    def __init__(self, line):
        f = line.split()
        self.cls, self.code = int(f[3], 16), int(f[5], 16)
        self.number = int(f[9])
        self.body = bytes(int(x, 16) for x in f[11:])

    def __repr__(self):
        return "0x%02x:0x%02x %s" % (self.cls, self.code, self.body.hex())

    @staticmethod
    def empty():
        return Request("conn 0 class 0x00 code 0x00 session 0x0 number 0 body")


class Sim:
    """A ctisim process; `rules` maps (class, code) to (result, reply data)."""

    def __init__(self, rules=None, events=0):
        self.port = free_port()
        args = [SIM_PATH, "--port", str(self.port), "--events", str(events), "--keepalive", "0",
                "--exit-after", "120"]
        for (cls, code), (result, data) in (rules or {}).items():
            text = "0x%02x:0x%02x=%d" % (cls, code, result)
            if data:
                text += "/" + data.hex()
            args += ["--rule", text]
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, text=True)
        first = self.proc.stdout.readline()
        if "listening" not in first:
            raise RuntimeError("ctisim did not start: " + first)
        self.requests = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            if line.startswith("conn "):
                self.requests.put(Request(line))

    def next(self, timeout=5.0):
        try:
            return self.requests.get(timeout=timeout)
        except queue.Empty:
            return None

    def skip_to(self, cls, code):
        while True:
            r = self.next()
            if r is None or (r.cls, r.code) == (cls, code):
                return r

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


# ---- Records -------------------------------------------------------------------------------------
def device_record(dn=b"3001", dtype=0, link=4):
    return struct.pack("<iii24s", dtype, HEADER_BYTE, link, dn)


def connection(call_id, device):
    return ctypes.create_string_buffer(struct.pack("<i28s", call_id, device), 32)


def block(text=b""):
    return ctypes.create_string_buffer(struct.pack("<i1028s", len(text), text), 1032)


def int_out(v=-7):
    return ctypes.c_int(v)


def cstr(buf, off, size):
    raw = bytes(buf)[off:off + size]
    return raw.split(b"\0", 1)[0]


def le32(buf, off):
    return struct.unpack_from("<i", bytes(buf), off)[0]


def open_gate(sim, dn=b"3001"):
    gate = ctypes.c_int(-1)
    dev = ctypes.create_string_buffer(device_record(dn), 36)
    r = lib.vomtelOpenServer(ctypes.byref(gate), 0, dev, b"127.0.0.1", sim.port, b"TCPIP",
                             b"capi", 1, 0)
    if r != 1:
        raise RuntimeError("open failed: %d" % r)
    sim.skip_to(0x45, 0x46)
    return gate.value


def close_gate(gate):
    lib.vomtelCloseServer(gate, 0)


def reply_bytes(cls, code, result, number, data):
    """The reply frame ctisim sends, from its first byte (for readers that start there)."""
    rest = bytes([cls, code, HEADER_BYTE]) + u16(0) + u32(result) + u16(number) + data
    return bytes([0xA2]) + u16(len(rest)) + rest


# ---- The table -----------------------------------------------------------------------------------
class Row:
    """One export: `call(gate, ctx)` calls it; the request must be `cls`:`code` whose fields (body
    from byte 6, or from byte 4 for answers) are `fields` (exact) or contain each of `has`; the
    server answers `result` with `data`; the export must return `expect` (default: result) and
    `check(ctx, request)` must hold."""

    def __init__(self, name, cls, code, call, fields=None, has=(), result=1, data=b"",
                 expect=None, check=None, answer=False, waits=True):
        self.name, self.cls, self.code, self.call = name, cls, code, call
        self.fields, self.has, self.result, self.data = fields, has, result, data
        self.expect, self.check, self.answer, self.waits = expect, check, answer, waits


C = 0x41
S = 0x45
M = 0x42
V = 0x57
CALL = lambda: connection(9, b"3001")
HELD = lambda: connection(7, b"3001")
ACTIVE = lambda: connection(8, b"3002")
UEI, CI = b"uei-data", b"ci-data"


def out(ctx, key, obj):
    ctx[key] = obj
    return obj


def ref(ctx, key, v=-7):
    return ctypes.byref(out(ctx, key, int_out(v)))


def buf(ctx, key, size, fill=0xEE):
    return out(ctx, key, ctypes.create_string_buffer(bytes([fill]) * size, size))


def expect_eq(label, got, want):
    if got != want:
        raise AssertionError("%s: got %r, want %r" % (label, got, want))


def dial_fields(kind):
    return (s8("3001") + s8("3002") + s8("uui") + s8("acc") + s8("auth") + s16(UEI) + s16(CI) +
            u8(kind))


def dial_row(name, kind):
    fn = getattr(lib, name)
    return Row(name, C, 0x65, lambda g, x: fn(g, 0, b"3001", b"3002", b"uui", b"acc", b"auth",
                                              NULL, block(UEI), block(CI), NULL),
               fields=dial_fields(kind))


two_calls = u32(7) + s8("3001") + u8(0) + u32(8) + s8("3002") + u8(0)

# Reply data shared by the list rows.
READY_DATA = u16(2) + (s8("a1") + s8("Ann") + u32(11) + s8("G1") + u32(21) + s8("P1") + u32(3001) +
                       u8(1) + u16(30)) + (s8("a2") + s8("Bob") + u32(12) + s8("G2") + u32(22) +
                                           s8("P2") + u32(3002) + u8(0) + u16(40))
BUSY_DATA = u16(2) + s8("e1") + u32(3001) + u8(1) + u16(5) + s8("e2") + u32(3002) + u8(2) + u16(6)


def check_ready_ex(x, _):
    e, n = x["e"], x["n"]
    expect_eq("count", n.value, 2)
    expect_eq("agent id", cstr(e, 4, 32), b"a1")
    expect_eq("name", cstr(e, 36, 30), b"Ann")
    expect_eq("group", le32(e, 68), 11)
    expect_eq("group name", cstr(e, 72, 30), b"G1")
    expect_eq("part", le32(e, 104), 21)
    expect_eq("part name", cstr(e, 108, 30), b"P1")
    expect_eq("dn, blend, time", (le32(e, 140), le32(e, 144), le32(e, 148)), (3001, 1, 30))
    expect_eq("second dn", le32(e, 152 + 140), 3002)
    expect_eq("unwritten bytes 0-3", bytes(e)[0:4], b"\xee" * 4)


def check_busy(x, _):
    e, n = x["e"], x["n"]
    expect_eq("count", n.value, 2)
    expect_eq("employee", cstr(e, 0, 32), b"e1")
    expect_eq("numbers", (le32(e, 36), le32(e, 40), le32(e, 44)), (3001, 1, 5))
    expect_eq("second", (cstr(e, 48, 32), le32(e, 48 + 36)), (b"e2", 3002))


def u32p(ctx, key, v=0xEEEEEEEE):
    return ctypes.byref(out(ctx, key, ctypes.c_uint32(v)))


def rows():
    R = []
    # Server, monitor and devices.
    R.append(Row("vomtelMonitorStart", M, 0x1E, lambda g, x: lib.vomtelMonitorStart(g, 0),
                 fields=b""))
    R.append(Row("vomtelMonitorStop", M, 0x28, lambda g, x: lib.vomtelMonitorStop(g, 0),
                 fields=b""))
    R.append(Row("vomtelGetMonitor", M, 0x46,
                 lambda g, x: lib.vomtelGetMonitor(g, 0, ref(x, "m")), fields=b"", data=u8(0x9A),
                 check=lambda x, r: expect_eq("monitor", x["m"].value, 0x9A)))
    R.append(Row("vomtelAddDevice", S, 0x0A, lambda g, x: lib.vomtelAddDevice(
        g, 0, ctypes.create_string_buffer(device_record(b"3055", 2, 300), 36)),
        fields=u8(2) + u8(44) + s8("3055")))
    R.append(Row("vomtelMultiAddDevice", S, 0x64, lambda g, x: lib.vomtelMultiAddDevice(
        g, 0, ctypes.create_string_buffer(device_record(b"", 0x102, 0x203), 36), 3,
        (ctypes.c_uint32 * 3)(3001, 3002, 3003)),
        fields=u8(2) + u8(3) + u16(3) + u32(3001) + u32(3002) + u32(3003)))
    R.append(Row("vomtelRemoveDevice", S, 0x50,
                 lambda g, x: lib.vomtelRemoveDevice(g, 0, b"3055"), fields=s8("3055")))
    # Call control.
    R.append(Row("vomtelAnswerCall", C, 0x14,
                 lambda g, x: lib.vomtelAnswerCall(g, 0, CALL(), NULL), fields=u32(9) + s8("3001")))
    R.append(Row("vomtelClearConnection", C, 0x28,
                 lambda g, x: lib.vomtelClearConnection(g, 0, CALL(), NULL),
                 fields=u32(9) + s8("3001") + u8(0) + u16(0)))
    R.append(Row("vomtelHoldCall", C, 0x5A, lambda g, x: lib.vomtelHoldCall(g, 0, CALL(), 0, NULL),
                 fields=u32(9) + s8("3001") + u8(0)))
    R.append(Row("vomtelRetrieveCall", C, 0x78,
                 lambda g, x: lib.vomtelRetrieveCall(g, 0, CALL(), NULL),
                 fields=u32(9) + s8("3001") + u8(0)))
    for name, code in (("vomtelAlternateCall", 0x0A), ("vomtelReconnectCall", 0x6E)):
        fn = getattr(lib, name)
        R.append(Row(name, C, code, lambda g, x, fn=fn: fn(g, 0, HELD(), ACTIVE(), NULL),
                     fields=two_calls))
    for name, code in (("vomtelConferenceCall", 0x32), ("vomtelTransferCall", 0x82)):
        fn = getattr(lib, name)
        R.append(Row(name, C, code, lambda g, x, fn=fn: fn(g, 0, HELD(), ACTIVE(), NULL, NULL, NULL),
                     fields=two_calls))
    R.append(Row("vomtelConsultationCall", C, 0x3C, lambda g, x: lib.vomtelConsultationCall(
        g, 0, HELD(), b"3002", NULL, b"uui", b"acc", b"auth", NULL, block(UEI), block(CI), NULL),
        fields=u32(7) + s8("3001") + s8("3002") + u8(0) + s8("uui") + s8("acc") + s8("auth") +
        s16(UEI) + s16(CI)))
    for name, kind in (("vomtelMakeCall", 0), ("vomtelObservationCall", 1),
                       ("vomtelObservationTalkCall", 2), ("vomtelWhisperCall", 3)):
        R.append(dial_row(name, kind))
    R.append(Row("vomtelMakeCall null blocks", C, 0x65, lambda g, x: lib.vomtelMakeCall(
        g, 0, b"3001", b"3002", NULL, NULL, NULL, NULL, NULL, NULL, NULL),
        fields=s8("3001") + s8("3002") + s8("") * 3 + s16("") + s16("") + u8(0)))
    R.append(Row("vomtelSingleStepTransfer", C, 0xAC, lambda g, x: lib.vomtelSingleStepTransfer(
        g, 0, CALL(), b"3002", 2, NULL, b"uui", NULL, NULL, block(UEI), block(CI)),
        fields=u32(9) + s8("3001") + u8(0) + s8("3002") + u8(2) + s8("uui") + s8("") + s8("") +
        s16(UEI) + s8(CI)))
    R.append(Row("vomtelSingleStepConference", C, 0xAD, lambda g, x: lib.vomtelSingleStepConference(
        g, 0, 9, b"3001", b"3002", 1, b"uui", b"acc", b"auth", NULL, block(UEI), block(CI)),
        fields=u32(9) + s8("3001") + s8("3002") + u8(1) + s8("uui") + s8("") + s8("") + s16(UEI) +
        s8(CI)))
    for name, code in (("vomtelDivertDeflect", 0x51), ("vomtelDivertDirect", 0x53)):
        fn = getattr(lib, name)
        R.append(Row(name, C, code, lambda g, x, fn=fn: fn(g, 0, CALL(), b"3009", b"uui",
                                                          block(UEI), block(CI), NULL),
                     has=(u32(0) + u16(0) + u32(9) + s8("3001") + u8(0) + s8("3009"), UEI, CI,
                          u8(code))))
    R.append(Row("vomtelSendDTMF", C, 0xA0,
                 lambda g, x: lib.vomtelSendDTMF(g, 0, CALL(), b"12#", 100, 50),
                 fields=u32(9) + s8("3001") + s8("12#") + u32(100) + u32(50)))
    R.append(Row("vomtelCallToCNID", S, 0x5F,
                 lambda g, x: lib.vomtelCallToCNID(g, 0, 9, 3001, ref(x, "o")),
                 fields=u32(9) + u32(3001), data=u32(123456),
                 check=lambda x, r: expect_eq("cnid", x["o"].value, 123456)))
    R.append(Row("vomtelUserExInfoData", S, 0x78,
                 lambda g, x: lib.vomtelUserExInfoData(g, 0, 9, block(UEI)),
                 fields=u32(9) + s16(UEI)))
    # Phone features and agent state.
    for name, code in (("vomtelSetFeatureMicrophoneMute", 0xE3),
                       ("vomtelSetFeatureSpeakerMute", 0xE4)):
        fn = getattr(lib, name)
        R.append(Row(name, C, code, lambda g, x, fn=fn: fn(g, 0, b"3001", 1),
                     fields=s8("3001") + u8(1)))
    for name, code in (("vomtelSetFeatureDND", 0xDF), ("vomtelSetFeatureAutoAnswer", 0xE2)):
        fn = getattr(lib, name)
        R.append(Row(name, C, code, lambda g, x, fn=fn: fn(g, 0, b"3001", 1, NULL),
                     fields=s8("3001") + u8(1)))
    R.append(Row("vomtelSetFeatureForward", C, 0xDE,
                 lambda g, x: lib.vomtelSetFeatureForward(g, 0, b"3001", 2, 1, b"3009", NULL),
                 fields=s8("3001") + u8(2) + u8(1) + s8("3009")))
    # The sixth argument is the part, the seventh the group; the body carries group, then part.
    R.append(Row("vomtelSetFeatureAgentStatus", C, 0xDD, lambda g, x: lib.vomtelSetFeatureAgentStatus(
        g, 0, b"3001", 2, b"agent7", b"thePart", b"theGroup", 3, 1, NULL),
        fields=s8("3001") + u8(2) + s8("agent7") + s8("theGroup") + s8("thePart") + u8(3) + u8(1)))
    R.append(Row("vomtelSetAgentFlag", S, 0x5A, lambda g, x: lib.vomtelSetAgentFlag(g, 0, b"agent7", 1),
                 fields=s8("agent7") + u8(1)))
    R.append(Row("vomtelSetAgentBlocking", S, 0xCB,
                 lambda g, x: lib.vomtelSetAgentBlocking(g, 0, b"agent7", 30),
                 fields=s8("agent7") + u32(30)))
    R.append(Row("vomtelSetAgentBlockingEx", S, 0xCB, lambda g, x: lib.vomtelSetAgentBlockingEx(
        g, 0, b"agent7", 30, 5, b"camp", 2, out(x, "r", (ctypes.c_int * 2)(-1, -1))),
        fields=s8("agent7") + u32(30) + s8("camp") + u32(5) + u32(2), data=u32(60) + u32(77),
        check=lambda x, r: expect_eq("results", list(x["r"]), [60, 77])))
    R.append(Row("vomtelPwdConfirm", S, 0xFC,
                 lambda g, x: lib.vomtelPwdConfirm(g, 0, 3001, 1, block(UEI)),
                 fields=u32(3001) + u32(1) + s16(UEI)))
    R.append(Row("vomtelSetUEIData", S, 0xAA, lambda g, x: lib.vomtelSetUEIData(
        g, 0, 0x102, ctypes.byref(ctypes.c_int(9)), block(UEI)), fields=u8(2) + u32(9) + s16(UEI)))
    # Queries.
    R.append(Row("vomtelAgentReadyGet", S, 0x98, lambda g, x: lib.vomtelAgentReadyGet(
        g, 0, 11, 21, 5, buf(x, "e", 48 * 3), u32p(x, "n")),
        fields=u32(11) + u32(21) + u16(5), data=READY_DATA,
        check=lambda x, r: (expect_eq("count", x["n"].value, 2),
                            expect_eq("first", (cstr(x["e"], 0, 32), le32(x["e"], 36),
                                                le32(x["e"], 40), le32(x["e"], 44)),
                                      (b"a1", 3001, 1, 30)))))
    R.append(Row("vomtelAgentReadyGetII", S, 0x98, lambda g, x: lib.vomtelAgentReadyGetII(
        g, 0, 11, 21, 5, buf(x, "e", 152 * 3), u32p(x, "n")),
        fields=u32(11) + u32(21) + u16(5), data=READY_DATA, check=check_ready_ex))
    R.append(Row("vomtelAgentReadyGetEx", S, 0x60, lambda g, x: lib.vomtelAgentReadyGetEx(
        g, 0, 11, 21, 5, buf(x, "e", 152 * 3), u32p(x, "n")),
        fields=u16(11) + u16(21) + u16(5), data=READY_DATA, check=check_ready_ex))
    R.append(Row("vomtelAgentReadyGetCount", S, 0x98, lambda g, x: lib.vomtelAgentReadyGetCount(
        g, 0, 11, 21, 5, ref(x, "n")), fields=u32(11) + u32(21) + u16(5), data=READY_DATA,
        check=lambda x, r: expect_eq("count", x["n"].value, 2)))
    R.append(Row("vomtelAgentReadyGetCountII", S, 0x98, lambda g, x: lib.vomtelAgentReadyGetCountII(
        g, 0, 99, 11, 21, 5, ref(x, "n")), fields=u32(11) + u32(21) + u16(5), data=READY_DATA,
        check=lambda x, r: expect_eq("count", x["n"].value, 2)))
    R.append(Row("vomtelAgentStatusGet (one frame, empty)", S, 0xBE,
                 lambda g, x: lib.vomtelAgentStatusGet(g, 0, 3, 50, 11, 21, buf(x, "e", 68),
                                                       u32p(x, "n"), 0),
                 fields=u8(3) + u32(50) + u32(11) + u32(21), data=u8(0),
                 check=lambda x, r: expect_eq("count", x["n"].value, 0)))
    R.append(Row("vomtelQueryAgentStatusEx", S, 0x6E, lambda g, x: lib.vomtelQueryAgentStatusEx(
        g, 0, b"agent7", 3001, buf(x, "name", 31), ref(x, "a"), ref(x, "b"), ref(x, "c"),
        ref(x, "d"), ref(x, "e"), 0, 0, 0), fields=s8("agent7") + u32(3001),
        data=s8("agent7") + u8(203) + u32(3001) + u8(1) + u8(2) + u16(300) + u8(0),
        check=lambda x, r: (expect_eq("name", cstr(x["name"], 0, 31), b"agent7"),
                            expect_eq("outs", [x[k].value for k in "abcde"],
                                      [2, 3001, 1, 2, 300]))))
    R.append(Row("vomtelMultiAgentGet", S, 0xE6, lambda g, x: lib.vomtelMultiAgentGet(
        g, 0, b"3001", b"agent7", buf(x, "e", 28 * 2), u32p(x, "n")),
        fields=s8("3001") + s8("agent7"), data=u16(1) + s8("agent7") + u32(3001),
        check=lambda x, r: expect_eq("entry", (x["n"].value, le32(x["e"], 0), cstr(x["e"], 4, 24)),
                                     (1, 3001, b"agent7"))))
    R.append(Row("vomtelAgentSkillGet", S, 0x5D, lambda g, x: lib.vomtelAgentSkillGet(
        g, 0, 4, 7, buf(x, "e", 20 * 2), u32p(x, "n")), fields=u32(4) + u32(7),
        data=u16(1) + u32(11) + u32(21) + u32(31) + u8(3) + u16(9),
        check=lambda x, r: expect_eq("entry", [x["n"].value] + [le32(x["e"], i * 4) for i in range(5)],
                                     [1, 11, 21, 31, 3, 9])))
    R.append(Row("vomtelAgentGetBySkill", S, 0x61, lambda g, x: lib.vomtelAgentGetBySkill(
        g, 0, 1, 7, 3, 4, u32p(x, "n"), buf(x, "e", 68)), fields=u32(1) + u32(7) + u8(3) + u16(4),
        check=lambda x, r: (expect_eq("count", x["n"].value, 0),
                            expect_eq("entries untouched", bytes(x["e"])[:68], b"\xee" * 68))))
    R.append(Row("vomtelGetSkillMaster", S, 0xD2, lambda g, x: lib.vomtelGetSkillMaster(
        g, 0, 1, buf(x, "e", 1032 * 2), u32p(x, "n")), fields=u32(1),
        data=u16(2) + u16(5) + s8("sales") + u16(6) + s8("care"),
        check=lambda x, r: expect_eq("entries", (x["n"].value, le32(x["e"], 0), cstr(x["e"], 4, 1025),
                                                 le32(x["e"], 1032), cstr(x["e"], 1036, 1025)),
                                     (2, 5, b"sales", 6, b"care"))))
    # The directory's agents come as list frames (none here); the read count is in the reply.
    R.append(Row("vomtelGetAgent", S, 0xC2, lambda g, x: lib.vomtelGetAgent(
        g, 0, b"dn", b"id", b"sk", b"te", b"gr", b"pa", b"mo", buf(x, "e", 1216), u32p(x, "n"),
        b"10"), fields=b"".join(s8(t) for t in ("dn", "id", "sk", "te", "gr", "pa", "mo", "10")),
        check=lambda x, r: expect_eq("count", x["n"].value, 0)))
    R.append(Row("vomtelGetAgentEx", S, 0xC7, lambda g, x: lib.vomtelGetAgentEx(
        g, 0, b"dn", b"id", b"sk", b"te", b"gr", b"pa", b"mo", b"bl", buf(x, "e", 1216),
        buf(x, "rc", 1025), u32p(x, "n"), b"10"),
        fields=b"".join(s16(t) for t in ("dn", "id", "sk", "te", "gr", "pa")) + s8("mo") + s8("bl") +
        s8("10"), data=s16("0/0") + u32(0),
        check=lambda x, r: expect_eq("count, read count", (x["n"].value, cstr(x["rc"], 0, 1025)),
                                     (0, b"0/0"))))
    R.append(Row("vomtelGetAgentCount", S, 0x5D, lambda g, x: lib.vomtelGetAgentCount(
        g, 0, block(b"a,b"), 3, 1, u32p(x, "n")), fields=s16("a,b") + u8(3) + u8(1),
        data=u32(42), check=lambda x, r: expect_eq("count", x["n"].value, 42)))
    R.append(Row("vomtelReadyRateGet", S, 0xFB, lambda g, x: lib.vomtelReadyRateGet(
        g, 0, 5, ctypes.byref(out(x, "f", ctypes.c_float(-1)))), fields=u32(5), data=u32(2550),
        check=lambda x, r: expect_eq("rate", round(x["f"].value, 3), 25.5)))
    R.append(Row("vomtelWaitTimeGet", S, 0x82, lambda g, x: lib.vomtelWaitTimeGet(
        g, 0, 1, b"5000", ref(x, "a"), ref(x, "b")), fields=u32(1) + s8("5000"),
        data=u32(12) + u32(34),
        check=lambda x, r: expect_eq("outs", (x["a"].value, x["b"].value), (12, 34))))
    R.append(Row("vomtelWaitingCallTimePeriod", S, 0x84, lambda g, x: lib.vomtelWaitingCallTimePeriod(
        g, 0, 10, b"5000", u32p(x, "n"), buf(x, "e", 8 * 2)), fields=u32(10) + s8("5000"),
        data=s8("5000") + u32(1) + u32(3) + u32(60),
        check=lambda x, r: expect_eq("entry", (x["n"].value, le32(x["e"], 0), le32(x["e"], 4)),
                                     (1, 3, 60))))
    R.append(Row("vomtelWaitingCallListOfQue", S, 0x84, lambda g, x: lib.vomtelWaitingCallListOfQue(
        g, 0, b"5000", u32p(x, "n"), buf(x, "e", 32 * 2)), fields=s8("5000"),
        data=s8("5000") + u32(1) + u32(77) + u32(15) + s8("0101234"),
        check=lambda x, r: expect_eq("entry", (x["n"].value, le32(x["e"], 0), le32(x["e"], 4),
                                               cstr(x["e"], 8, 24)), (1, 77, 15, b"0101234"))))
    R.append(Row("vomtelMaxCallLoadAgent", S, 0xD6, lambda g, x: lib.vomtelMaxCallLoadAgent(
        g, 0, b"emp1", u32p(x, "n"), buf(x, "e", 12 * 2)), fields=s8("emp1"),
        data=u32(1) + s8("emp1") + u16(1) + u32(5) + u32(10) + u32(4), expect=1,
        check=lambda x, r: expect_eq("entry", (x["n"].value, le32(x["e"], 0), le32(x["e"], 4),
                                               le32(x["e"], 8)), (1, 5, 10, 4))))
    # IVR and SQL.
    R.append(Row("vomtelIVRRegisterCall", V, 0x3C, lambda g, x: lib.vomtelIVRRegisterCall(
        g, 0, 1, 9, b"3001", b"0101", block(UEI), 2),
        fields=u32(1) + u32(9) + s8("3001") + s8("0101") + s16(UEI) + u32(2)))
    R.append(Row("vomtelIVRReleaseCall", V, 0x3D, lambda g, x: lib.vomtelIVRReleaseCall(
        g, 0, 1, 9, b"3001", b"3002"), fields=u32(1) + u32(9) + s8("3001") + s8("3002")))
    R.append(Row("vomtelIVRAllowRouting", V, 0x3E, lambda g, x: lib.vomtelIVRAllowRouting(
        g, 0, 1, 9, b"3001", 1), fields=u32(1) + u32(9) + s8("3001") + u32(1)))
    R.append(Row("vomtelIVRNumberOfWait", V, 0x3F, lambda g, x: lib.vomtelIVRNumberOfWait(
        g, 0, ctypes.c_uint32(0x80000001), 9, b"3001", ref(x, "n")),
        fields=u32(0x80000001) + u32(9) + s8("3001"), data=u32(4),
        check=lambda x, r: expect_eq("count", x["n"].value, 4)))
    R.append(Row("vomtelSQLQuery", S, 0x5E, lambda g, x: lib.vomtelSQLQuery(
        g, 0, b"3001", 2, ord(","), block(b"select 1"), ref(x, "rows"), out(x, "res", block(b"old"))),
        fields=s8("3001") + u16(2) + u8(ord(",")) + s16("select 1"), data=u32(2) + s16("a,b,c"),
        check=lambda x, r: expect_eq("rows, length, text",
                                     (x["rows"].value, le32(x["res"], 0), cstr(x["res"], 4, 1028)),
                                     (2, 5, b"a,b,c"))))
    R.append(Row("vomtelSQLExecute", S, 0xA0, lambda g, x: lib.vomtelSQLExecute(
        g, 0, b"3001", block(b"delete x")), fields=s8("3001") + s16("delete x")))
    # Uploads: sent, no reply awaited.
    R.append(Row("vomtelPutTraceInfo", S, 0xC0, lambda g, x: lib.vomtelPutTraceInfo(
        g, 0, 1, 2, b"t1", b"t2", b"t3", b"t4", b"t5", b"t6", 7, b"t7", block(b"trace")),
        fields=u32(1) + u32(2) + b"".join(s8("t%d" % i) for i in range(1, 7)) + u8(7) + s8("t7") +
        s16("trace"), waits=False))
    R.append(Row("vomtelPutCounselInfo", S, 0xC1, lambda g, x: lib.vomtelPutCounselInfo(
        g, 0, b"cnid", 0x10005, b"tag", block(b"attach")),
        fields=s8("cnid") + u16(5) + s8("tag") + s16("attach"), waits=False))
    # Outbound.
    R.append(Row("vomtelGetMaxCPSQ", S, 0xF6, lambda g, x: lib.vomtelGetMaxCPSQ(
        g, 0, 1, 2, ref(x, "o")), fields=u32(1) + u32(2), data=u32(7) + u32(8) + u32(9),
        check=lambda x, r: expect_eq("maxcpsq", x["o"].value, 9)))
    R.append(Row("vomtelGetMaxCPSQResult", S, 0xF6, lambda g, x: lib.vomtelGetMaxCPSQResult(
        g, 3, 0, 11, 12, 13, 14), answer=True, fields=u32(3),
        has=(u32(11), u32(12), u32(13), u32(14)), waits=False))
    R.append(Row("vomtelBlackListInsert", S, 0xF7, lambda g, x: lib.vomtelBlackListInsert(
        g, 0, 5, ctypes.create_string_buffer(struct.pack("<IH2xI31s31s21s21s32s", 0, 0, 77, b"key",
                                                         b"name", b"20260101", b"0101", b"emp"),
                                             148)),
        has=(s8("key") + s8("name") + s8("20260101") + s8("0101") + s8("emp"),),
        result=0x00050000, expect=5))  # its result is read at reply bytes 6-9
    R.append(Row("vomtelBlackListInsertResult", S, 0xF7, lambda g, x: lib.vomtelBlackListInsertResult(
        g, 3, 0, 1), answer=True, fields=u32(3), has=(u32(1),), waits=False))
    handle = struct.pack("<8siiic3xi256si", b"", 1, 55, 2, b"B", 3, b"list.txt", 100)
    R.append(Row("vomtelSetCampaignListHandle", S, 0xF5, lambda g, x: lib.vomtelSetCampaignListHandle(
        g, 0, ctypes.create_string_buffer(handle, 288)),
        has=(u32(55), u32(2), b"B", u32(3), s8("list.txt"), u32(100))))
    R.append(Row("vomtelSetCampaignListHandleResult", S, 0xF5,
                 lambda g, x: lib.vomtelSetCampaignListHandleResult(g, 3, 0, 1), answer=True,
                 fields=u32(3), has=(u32(1),)))
    R.append(Row("vomtelCallbackCampaignResult", S, 0xC8, lambda g, x: lib.vomtelCallbackCampaignResult(
        g, 3, 0, 44, 0x10002, (ctypes.c_uint8 * 32)(*struct.pack("<4xiii4xiii", 1, 2, 3, 4, 5, 6))),
        answer=True, fields=u32(3), has=(u32(44) + u16(2) + u32(1) + u32(2) + u32(3) + u32(4) +
                                         u32(5) + u32(6),)))
    R.append(Row("vomtelDestoryCampaign", S, 0xFB, lambda g, x: lib.vomtelDestoryCampaign(
        g, 0, 1, 2, 0x101), fields=u32(1) + u32(2) + u8(1)))
    R.append(Row("vomtelStartCampaign", S, 0xF0, lambda g, x: lib.vomtelStartCampaign(g, 0, 1, 2),
                 fields=u32(1) + u32(2) + u8(1)))
    R.append(Row("vomtelStopCampaign", S, 0xF0, lambda g, x: lib.vomtelStopCampaign(g, 0, 1, 2),
                 fields=u32(1) + u32(2) + u8(0)))
    R.append(Row("vomtelStartSystemPreview", S, 0xF1, lambda g, x: lib.vomtelStartSystemPreview(
        g, 0, ctypes.c_uint32(0x90000000), 2, b"agent7"),
        fields=u32(0x90000000) + u32(2) + s8("agent7") + u8(1)))
    R.append(Row("vomtelStopSystemPreview", S, 0xF1, lambda g, x: lib.vomtelStopSystemPreview(
        g, 0, ctypes.c_uint32(1), 2, b"agent7"), fields=u32(1) + u32(2) + s8("agent7") + u8(0)))
    R.append(Row("vomtelSysPreviewState", S, 0xF2, lambda g, x: lib.vomtelSysPreviewState(
        g, 0, ctypes.c_uint32(1), 2, b"agent7", 0), fields=u32(1) + u32(2) + s8("agent7")))
    R.append(Row("vomtelPreviewMakeCall", S, 0xF8, lambda g, x: lib.vomtelPreviewMakeCall(
        g, 0, 1, 2, 3, b"emp", 4), fields=u32(1) + u32(2) + u32(3) + s8("emp") + u32(4),
        result=0x00060000, expect=6))  # read at reply bytes 6-9
    R.append(Row("vomtelCampaignInfo", S, 0x8C, lambda g, x: lib.vomtelCampaignInfo(
        g, 0, ctypes.c_uint32(9), block(b"sys")), fields=u32(9) + s16("sys")))
    R.append(Row("vomtelCallingListService", S, 0xD5, lambda g, x: lib.vomtelCallingListService(
        g, 0, 0, 2, 3, 4, 0x101), fields=u16(0) + u32(2) + u32(3) + u32(4) + u8(1)))
    R.append(Row("vomtelCallingListService other type", S, 0xD5,
                 lambda g, x: lib.vomtelCallingListService(g, 0, 5, 2, 3, 4, 1),
                 fields=u16(5) + u32(2) + u32(3) + u32(4) + u8(1), expect=3002))
    R.append(Row("vomtelCallbackListInsert", S, 0xC9, lambda g, x: lib.vomtelCallbackListInsert(
        g, 0, 44, callback_record(), out(x, "res", ctypes.create_string_buffer(b"\xee" * 16, 16))),
        has=(u32(1) + u32(2) + s8("ckey"), s8("cname"), s8("tel1"), b"tk-data", s8("mail@x"),
             s8("emp9")), result=0x00070008, data=u32(0x11) + u32(0x22),
        expect=1, check=check_callback_result))
    R.append(Row("vomtelCallbackListInsertEx", S, 0xC9, lambda g, x: lib.vomtelCallbackListInsertEx(
        g, 0, 44, callback_record(extra=b"Z" * 256), NULL),
        has=(s8("ckey"), s8("emp9")), result=0x00070008, data=u32(0x11) + u32(0x22), expect=1,
        check=lambda x, r: expect_eq("extra text not sent", b"ZZZZ" in r.body, False)))
    R.append(Row("vomtelCreateCampaignEx", S, 0xFA, lambda g, x: lib.vomtelCreateCampaignEx(
        g, 0, u32p(x, "id"), campaign_record(schedules=2, skills=3)),
        has=(u32(31) + s8("camp31") + s8("desc"), u16(2) + s8("0900") + s8("1000") + s8("1800") +
             s8("1900"), u16(3) + u32(101) + u32(102) + u32(103) + u32(0x1700)),
        result=0x00010000, data=u32(0x12345678), expect=1,
        check=lambda x, r: expect_eq("campaign id (reply bytes 10-13)", x["id"].value, struct.unpack_from(
            ">I", reply_bytes(S, 0xFA, 0x00010000, r.number, u32(0x12345678)), 10)[0])))
    R.append(Row("vomtelCallbackCampaign", S, 0xC8, lambda g, x: lib.vomtelCallbackCampaign(
        g, 0, 44, u32p(x, "n"), buf(x, "e", 16 * 3)), fields=u32(44), result=0x00010002,
        data=u16(0xAAAA) + u32(0xBBBB) + u32(0xCCCC) + u32(0xDDDD) + u32(0xEEEE) + u32(0xFFFF),
        expect=1, check=check_callback_campaign))
    R.append(Row("vomtelCallbackCampaign status 5", S, 0xC8, lambda g, x: lib.vomtelCallbackCampaign(
        g, 0, 44, u32p(x, "n"), buf(x, "e", 16)), fields=u32(44), result=0x00050001,
        data=u16(0) + u32(1) + u32(2) + u32(3), expect=5,  # the status at reply bytes 6-9
        check=lambda x, r: expect_eq("count and entries untouched",
                                     (x["n"].value, bytes(x["e"])), (0xEEEEEEEE, b"\xee" * 16))))
    return R


def callback_record(extra=None):
    rec = bytearray(1600)
    struct.pack_into("<II", rec, 12, 1, 2)
    rec[20:24] = b"ckey"
    rec[50:55] = b"cname"
    rec[270:274] = b"tel1"
    rec[370:377] = b"tk-data"
    rec[1394:1400] = b"mail@x"
    rec[1556:1560] = b"emp9"
    if extra is not None:
        rec += extra
    return ctypes.create_string_buffer(bytes(rec), len(rec))


def check_callback_result(x, r):
    reply = reply_bytes(S, 0xC9, 0x00070008, r.number, u32(0x11) + u32(0x22))
    words = struct.unpack_from(">IIII", reply, 6)
    got = struct.unpack_from("<IIIH", bytes(x["res"]), 0)
    expect_eq("call-back result", got, (words[0], words[1], words[2], words[3] & 0xFFFF))
    expect_eq("reserved bytes untouched", bytes(x["res"])[14:16], b"\xee\xee")


def check_callback_campaign(x, r):
    # Read from the reply's first byte: status at 6-9, count at 10-11, entries from 12.
    reply = reply_bytes(S, 0xC8, 0x00010002, r.number,
                        u16(0xAAAA) + u32(0xBBBB) + u32(0xCCCC) + u32(0xDDDD) + u32(0xEEEE) +
                        u32(0xFFFF))
    expect_eq("count", x["n"].value, 2)
    for i in range(2):
        want = struct.unpack_from(">III", reply, 12 + 12 * i)
        got = struct.unpack_from("<III", bytes(x["e"]), 16 * i + 4)
        expect_eq("entry %d" % i, tuple(v & 0xFFFFFFFF for v in got), want)
    expect_eq("guard entry", bytes(x["e"])[32:48], b"\xee" * 16)


def campaign_record(schedules, skills):
    rec = bytearray(1732)
    struct.pack_into("<i", rec, 0, 31)
    rec[4:10] = b"camp31"
    rec[35:39] = b"desc"
    struct.pack_into("<h", rec, 1434, schedules)
    for i, (s, e) in enumerate((("0900", "1800"), ("1000", "1900"), ("1100", "2000"),
                                ("1200", "2100"))):
        rec[1436 + 5 * i:1436 + 5 * i + 4] = s.encode()
        rec[1456 + 5 * i:1456 + 5 * i + 4] = e.encode()
    struct.pack_into("<h", rec, 1678, skills)
    struct.pack_into("<iiiii", rec, 1680, 101, 102, 103, 104, 105)
    struct.pack_into("<i", rec, 1700, 0x1700)
    return ctypes.create_string_buffer(bytes(rec), 1732)


def fields_of(row, request):
    # An answer to a server request carries the request id between session id and number.
    return request.body[4:8] + request.body[10:] if row.answer else request.body[6:]


def check_request(row, request):
    if request is None:
        raise AssertionError("no request reached the server")
    expect_eq("class:code", (request.cls, request.code), (row.cls, row.code))
    body = fields_of(row, request)
    if row.fields is not None:
        if row.answer:
            expect_eq("answer prefix", body[:4], row.fields)
        else:
            expect_eq("fields", body.hex(), row.fields.hex())
    for part in row.has:
        if part not in body:
            raise AssertionError("fields %s lack %s" % (body.hex(), part.hex()))


def run_row(row):
    sim = Sim({(row.cls, row.code): (row.result, row.data)})
    gate = open_gate(sim)
    try:
        ctx = {}
        got = row.call(gate, ctx)
        request = sim.next()
        check_request(row, request)
        want = row.expect if row.expect is not None else (1 if not row.waits else i32(row.result))
        expect_eq("result", got, want)
        if row.check:
            row.check(ctx, request)
    finally:
        close_gate(gate)
        sim.stop()


def run_table():
    for row in rows():
        try:
            run_row(row)
        except AssertionError as e:
            fail("%s: %s" % (row.name, e))


# ---- A server that answers every request with another result -------------------------------------
REFUSED = 4242


def run_refused():
    """Every awaited export hands the server's result back unchanged and leaves its outputs."""
    table = [r for r in rows() if r.waits and r.expect is None]
    codes = {(r.cls, r.code) for r in table} | {(C, 0x3C)}
    sim = Sim({code: (REFUSED, b"") for code in codes})
    gate = open_gate(sim)
    try:
        for row in table:
            ctx = {}
            try:
                got = row.call(gate, ctx)
                check_request(row, sim.next())
                expect_eq("result", got, REFUSED)
                for key, value in ctx.items():
                    if isinstance(value, ctypes.c_uint32):
                        expect_eq(key + " untouched", value.value, 0xEEEEEEEE)
                    elif isinstance(value, ctypes.Array) and value._type_ is ctypes.c_char and \
                            key in ("e", "name", "rc"):
                        expect_eq(key + " untouched", bytes(value).strip(b"\xee"), b"")
            except AssertionError as e:
                fail("%s refused: %s" % (row.name, e))
        # A consultation refused by the server ends the one-step conference at once.
        got = lib.vomtelOneStepConference(gate, 0, HELD(), b"3002", NULL, b"uui", NULL,
                                          block(UEI), block(CI), NULL)
        try:
            r = sim.next()
            check_request(Row("", C, 0x3C, None, fields=u32(7) + s8("3001") + s8("3002") + u8(0) +
                              s8("uui") + s8("") + s8("") + s16(UEI) + s16(CI)), r)
            expect_eq("result", got, REFUSED)
        except AssertionError as e:
            fail("vomtelOneStepConference refused: %s" % e)
    finally:
        close_gate(gate)
        sim.stop()


# ---- The one-step conference whose consultation is never established -------------------------------
def run_one_step():
    """The consultation goes out with the held call; no established event comes within 10 s, so
    the new call is cleared and the held one retrieved, whose result is handed back."""
    sim = Sim({(C, 0x3C): (1, u32(55)), (C, 0x78): (4243, b"")})
    gate = open_gate(sim)
    try:
        got = lib.vomtelOneStepConference(gate, 0, HELD(), b"3002", NULL, b"uui", NULL,
                                          block(UEI), block(CI), NULL)
        check_request(Row("", C, 0x3C, None, fields=u32(7) + s8("3001") + s8("3002") + u8(0) +
                          s8("uui") + s8("") + s8("") + s16(UEI) + s16(CI)), sim.next())
        check_request(Row("", C, 0x28, None, fields=u32(55) + s8("3001") + u8(0) + u16(0)),
                      sim.next(timeout=15))
        check_request(Row("", C, 0x78, None, fields=u32(7) + s8("3001") + u8(0)), sim.next())
        expect_eq("result", got, 4243)
    except AssertionError as e:
        fail("vomtelOneStepConference not established: %s" % e)
    finally:
        close_gate(gate)
        sim.stop()


# ---- Gate 0 whatever the caller's gate -------------------------------------------------------------
def run_gate_zero():
    zero_sim = Sim({(S, 0x97): (1, BUSY_DATA), (S, 0xCB): (1, u32(5) + u32(6)),
                    (S, 0xAB): (1, s16(b"U" * 1100) + s16(b"c\0i"))})
    other_sim = Sim()
    zero = open_gate(zero_sim)
    other = open_gate(other_sim)
    try:
        expect_eq("gates", (zero, other != 0), (0, True))
        busy = u32(11) + u32(21) + u16(5)
        calls = [
            ("vomtelAgentBusyGet", 0x97, busy, lambda x: lib.vomtelAgentBusyGet(
                other, 0, 11, 21, 5, buf(x, "e", 48 * 3), u32p(x, "n")), lambda x: check_busy(x, 0)),
            ("vomtelAgentBusyGetII", 0x97, busy, lambda x: lib.vomtelAgentBusyGetII(
                other, 0, 0, 11, 21, 5, buf(x, "e", 48 * 3), u32p(x, "n")), lambda x: check_busy(x, 0)),
            ("vomtelAgentBusyGetCount", 0x97, busy, lambda x: lib.vomtelAgentBusyGetCount(
                other, 0, 11, 21, 5, ref(x, "c")),
             lambda x: expect_eq("count", x["c"].value, 2)),
            ("vomtelAgentBusyGetCountII", 0x97, busy, lambda x: lib.vomtelAgentBusyGetCountII(
                other, 0, 0, 11, 21, 5, ref(x, "c")),
             lambda x: expect_eq("count", x["c"].value, 2)),
            ("vomtelSetAgentBlockingEx", 0xCB, s8("agent7") + u32(30) + s8("camp") + u32(5) + u32(2),
             lambda x: lib.vomtelSetAgentBlockingEx(
                 other, 0, b"agent7", 30, 5, b"camp", 2, out(x, "r", (ctypes.c_int * 2)(-1, -1))),
             lambda x: expect_eq("results", list(x["r"]), [5, 6])),
            # The UEI text is cut to the block (1027 bytes and the NUL), its length set; a NUL
            # inside the CI is one of its bytes.
            ("vomtelGetUEIData", 0xAB, u8(1) + u32(9), lambda x: lib.vomtelGetUEIData(
                other, 0, 0x101, 9, out(x, "u", block(b"old")), out(x, "c", block(b"old"))),
             lambda x: expect_eq("blocks", (le32(x["u"], 0), cstr(x["u"], 4, 1028),
                                            le32(x["c"], 0), bytes(x["c"])[4:8]),
                                 (1027, b"U" * 1027, 3, b"c\0i\0"))),
        ]
        for name, code, fields, call, check in calls:
            ctx = {}
            try:
                expect_eq("result", call(ctx), 1)
                check_request(Row(name, S, code, None, fields=fields), zero_sim.next())
                check(ctx)
            except AssertionError as e:
                fail("%s with gate %d: %s" % (name, other, e))
        if not other_sim.requests.empty():
            fail("a gate-0 export sent on gate %d: %r" % (other, other_sim.next()))
    finally:
        close_gate(other)
        close_gate(zero)
        zero_sim.stop()
        other_sim.stop()


# ---- Nulls and the do-nothing names send nothing ------------------------------------------------
def run_nothing_sent():
    sim = Sim()
    gate = open_gate(sim)
    dev = ctypes.create_string_buffer(device_record(), 36)
    e = ctypes.create_string_buffer(2048)
    n = ctypes.c_uint32(0)
    i = ctypes.c_int(0)
    calls = [
        (3009, "vomtelAddDevice", lambda: lib.vomtelAddDevice(gate, 0, NULL)),
        (3009, "vomtelMultiAddDevice", lambda: lib.vomtelMultiAddDevice(gate, 0, NULL, 1, (ctypes.c_uint32 * 1)(1))),
        (3040, "vomtelMultiAddDevice 2001", lambda: lib.vomtelMultiAddDevice(gate, 0, dev, 2001, NULL)),
        (3040, "vomtelMultiAddDevice -1", lambda: lib.vomtelMultiAddDevice(gate, 0, dev, -1, NULL)),
        (3040, "vomtelMultiAddDevice 65537", lambda: lib.vomtelMultiAddDevice(gate, 0, dev, 65537, NULL)),
        (3009, "vomtelGetMonitor", lambda: lib.vomtelGetMonitor(gate, 0, NULL)),
        (3009, "vomtelAnswerCall", lambda: lib.vomtelAnswerCall(gate, 0, NULL, NULL)),
        (3009, "vomtelTransferCall", lambda: lib.vomtelTransferCall(gate, 0, HELD(), NULL, NULL, NULL, NULL)),
        (3009, "vomtelConsultationCall", lambda: lib.vomtelConsultationCall(
            gate, 0, NULL, b"3002", NULL, b"", b"", b"", NULL, NULL, NULL, NULL)),
        (3009, "vomtelSendDTMF", lambda: lib.vomtelSendDTMF(gate, 0, NULL, b"1", 1, 1)),
        (3009, "vomtelCallToCNID", lambda: lib.vomtelCallToCNID(gate, 0, 1, 2, NULL)),
        (3009, "vomtelUserExInfoData", lambda: lib.vomtelUserExInfoData(gate, 0, 1, NULL)),
        (3009, "vomtelSetAgentBlockingEx", lambda: lib.vomtelSetAgentBlockingEx(
            gate, 0, b"a", 1, 1, b"c", 1, NULL)),
        (3009, "vomtelSetUEIData", lambda: lib.vomtelSetUEIData(gate, 0, 1, NULL, block())),
        (3009, "vomtelAgentReadyGet", lambda: lib.vomtelAgentReadyGet(gate, 0, 1, 2, 3, NULL, ctypes.byref(n))),
        (3009, "vomtelAgentStatusGet", lambda: lib.vomtelAgentStatusGet(gate, 0, 1, 2, 3, 4, e, NULL, 0)),
        (3009, "vomtelAgentReadyGetCount", lambda: lib.vomtelAgentReadyGetCount(gate, 0, 1, 2, 3, NULL)),
        (3009, "vomtelQueryAgentStatusEx", lambda: lib.vomtelQueryAgentStatusEx(
            gate, 0, b"a", 1, e, ctypes.byref(i), NULL, ctypes.byref(i), ctypes.byref(i), ctypes.byref(i), 0, 0, 0)),
        (3009, "vomtelMultiAgentGet", lambda: lib.vomtelMultiAgentGet(gate, 0, b"", b"", NULL, ctypes.byref(n))),
        (3009, "vomtelGetSkillMaster", lambda: lib.vomtelGetSkillMaster(gate, 0, 1, e, NULL)),
        (3009, "vomtelGetAgent", lambda: lib.vomtelGetAgent(gate, 0, b"", b"", b"", b"", b"", b"", b"", NULL, ctypes.byref(n), b"")),
        (3009, "vomtelGetAgentCount", lambda: lib.vomtelGetAgentCount(gate, 0, NULL, 1, 1, NULL)),
        (3009, "vomtelReadyRateGet", lambda: lib.vomtelReadyRateGet(gate, 0, 1, NULL)),
        (3009, "vomtelWaitTimeGet", lambda: lib.vomtelWaitTimeGet(gate, 0, 1, b"q", ctypes.byref(i), NULL)),
        (3009, "vomtelWaitingCallListOfQue", lambda: lib.vomtelWaitingCallListOfQue(gate, 0, b"q", ctypes.byref(n), NULL)),
        (3009, "vomtelMaxCallLoadAgent", lambda: lib.vomtelMaxCallLoadAgent(gate, 0, b"e", NULL, e)),
        (3009, "vomtelGetUEIData", lambda: lib.vomtelGetUEIData(gate, 0, 1, 1, NULL, block())),
        (3009, "vomtelIVRNumberOfWait", lambda: lib.vomtelIVRNumberOfWait(gate, 0, 1, 1, b"", NULL)),
        (3009, "vomtelSQLQuery", lambda: lib.vomtelSQLQuery(gate, 0, b"", 1, 1, NULL, ctypes.byref(i), NULL)),
        (3009, "vomtelGetMaxCPSQ", lambda: lib.vomtelGetMaxCPSQ(gate, 0, 1, 2, NULL)),
        (3009, "vomtelBlackListInsert", lambda: lib.vomtelBlackListInsert(gate, 0, 1, NULL)),
        (3009, "vomtelSetCampaignListHandle", lambda: lib.vomtelSetCampaignListHandle(gate, 0, NULL)),
        (3009, "vomtelCallbackCampaign", lambda: lib.vomtelCallbackCampaign(gate, 0, 1, ctypes.byref(n), NULL)),
        (3009, "vomtelCallbackCampaignResult", lambda: lib.vomtelCallbackCampaignResult(gate, 3, 0, 1, 2, NULL)),
        (3009, "vomtelCallbackListInsert", lambda: lib.vomtelCallbackListInsert(gate, 0, 1, NULL, e)),
        (3009, "vomtelCreateCampaignEx", lambda: lib.vomtelCreateCampaignEx(gate, 0, NULL, campaign_record(0, 0))),
        (3009, "vomtelCampaignInfo", lambda: lib.vomtelCampaignInfo(gate, 0, 1, NULL)),
        (3009, "vomtelGetEvent", lambda: lib.vomtelGetEvent(gate, NULL, 0)),
        # The log settings send nothing; with no gate being opened there is no log to set.
        (1, "vomtelSetLogLevel", lambda: lib.vomtelSetLogLevel(7)),
        (0, "vomtelSetLogPath", lambda: lib.vomtelSetLogPath(b".")),
        (0, "vomtelSetIni", lambda: lib.vomtelSetIni(2, b".")),
        (3009, "vomtelOpenServer", lambda: lib.vomtelOpenServer(
            ctypes.byref(i), 0, NULL, b"127.0.0.1", sim.port, b"TCPIP", b"capi", 1, 0)),
        (3009, "vomtelOpenServerHA", lambda: lib.vomtelOpenServerHA(
            ctypes.byref(i), 0, NULL, b"127.0.0.1", b"127.0.0.1", sim.port, b"TCPIP", b"capi", 1, 0)),
        (3009, "vomtelMultiAddDevice null numbers", lambda: lib.vomtelMultiAddDevice(gate, 0, dev, 2, NULL)),
        (3009, "vomtelGetOrbaVersion", lambda: lib.vomtelGetOrbaVersion(gate, NULL)),
        (3009, "vomtelClearConnection", lambda: lib.vomtelClearConnection(gate, 0, NULL, NULL)),
        (3009, "vomtelHoldCall", lambda: lib.vomtelHoldCall(gate, 0, NULL, 0, NULL)),
        (3009, "vomtelRetrieveCall", lambda: lib.vomtelRetrieveCall(gate, 0, NULL, NULL)),
        (3009, "vomtelAlternateCall", lambda: lib.vomtelAlternateCall(gate, 0, NULL, ACTIVE(), NULL)),
        (3009, "vomtelReconnectCall", lambda: lib.vomtelReconnectCall(gate, 0, HELD(), NULL, NULL)),
        (3009, "vomtelConferenceCall", lambda: lib.vomtelConferenceCall(gate, 0, NULL, ACTIVE(), NULL, NULL, NULL)),
        (3009, "vomtelSingleStepTransfer", lambda: lib.vomtelSingleStepTransfer(
            gate, 0, NULL, b"3002", 1, NULL, b"", NULL, NULL, NULL, NULL)),
        (3009, "vomtelOneStepConference", lambda: lib.vomtelOneStepConference(
            gate, 0, NULL, b"3002", NULL, b"", NULL, NULL, NULL, NULL)),
        (3009, "vomtelDivertDeflect", lambda: lib.vomtelDivertDeflect(gate, 0, NULL, b"3009", b"", NULL, NULL, NULL)),
        (3009, "vomtelDivertDirect", lambda: lib.vomtelDivertDirect(gate, 0, NULL, b"3009", b"", NULL, NULL, NULL)),
        (3009, "vomtelAgentReadyGetII", lambda: lib.vomtelAgentReadyGetII(gate, 0, 1, 2, 3, NULL, ctypes.byref(n))),
        (3009, "vomtelAgentReadyGetEx", lambda: lib.vomtelAgentReadyGetEx(gate, 0, 1, 2, 3, e, NULL)),
        (3009, "vomtelAgentReadyGetCountII", lambda: lib.vomtelAgentReadyGetCountII(gate, 0, 0, 1, 2, 3, NULL)),
        (3009, "vomtelAgentBusyGet", lambda: lib.vomtelAgentBusyGet(gate, 0, 1, 2, 3, NULL, ctypes.byref(n))),
        (3009, "vomtelAgentBusyGetII", lambda: lib.vomtelAgentBusyGetII(gate, 0, 0, 1, 2, 3, e, NULL)),
        (3009, "vomtelAgentBusyGetCount", lambda: lib.vomtelAgentBusyGetCount(gate, 0, 1, 2, 3, NULL)),
        (3009, "vomtelAgentBusyGetCountII", lambda: lib.vomtelAgentBusyGetCountII(gate, 0, 0, 1, 2, 3, NULL)),
        (3009, "vomtelAgentSkillGet", lambda: lib.vomtelAgentSkillGet(gate, 0, 1, 2, NULL, ctypes.byref(n))),
        (3009, "vomtelAgentGetBySkill", lambda: lib.vomtelAgentGetBySkill(gate, 0, 1, 2, 3, 4, NULL, e)),
        (3009, "vomtelGetAgentEx", lambda: lib.vomtelGetAgentEx(
            gate, 0, b"", b"", b"", b"", b"", b"", b"", b"", e, NULL, ctypes.byref(n), b"")),
        (3009, "vomtelWaitingCallTimePeriod", lambda: lib.vomtelWaitingCallTimePeriod(gate, 0, 1, b"q", ctypes.byref(n), NULL)),
        (3009, "vomtelSQLQuery null rows", lambda: lib.vomtelSQLQuery(gate, 0, b"", 1, 1, NULL, NULL, block())),
        (3009, "vomtelCallbackListInsertEx", lambda: lib.vomtelCallbackListInsertEx(gate, 0, 1, NULL, e)),
        (3009, "vomtelCreateCampaignEx null record", lambda: lib.vomtelCreateCampaignEx(gate, 0, ctypes.byref(n), NULL)),
        (-3025, "vomtelGetAgentEx 21-byte part", lambda: lib.vomtelGetAgentEx(
            gate, 0, b"", b"", b"", b"", b"", b"p" * 21, b"", b"", e, e, ctypes.byref(n), b"")),
        (3025, "vomtelMakeCall 33-byte UUI", lambda: lib.vomtelMakeCall(
            gate, 0, b"3001", b"3002", b"u" * 33, b"", b"", NULL, NULL, NULL, NULL)),
        (3025, "vomtelGetAgentCount 1025-byte list", lambda: lib.vomtelGetAgentCount(
            gate, 0, block(b"l" * 1025), 1, 1, ctypes.byref(n))),
        (3025, "vomtelCreateCampaignEx 5 schedules", lambda: lib.vomtelCreateCampaignEx(
            gate, 0, ctypes.byref(n), campaign_record(5, 0))),
        (3025, "vomtelCreateCampaignEx 6 skills", lambda: lib.vomtelCreateCampaignEx(
            gate, 0, ctypes.byref(n), campaign_record(0, 6))),
        (3025, "vomtelCreateCampaignEx -1 skills", lambda: lib.vomtelCreateCampaignEx(
            gate, 0, ctypes.byref(n), campaign_record(0, -1))),
    ]
    do_nothing = {
        1: ["vomtelSendMsg", "vomtelSetPbxID", "vomtelAgentBusyGetValue", "vomtelAgentReadyGetValue"],
        2018: ["vomtelOpenServerP", "vomtelOneStepTransfer", "vomtelGetPartMaster",
               "vomtelQueryAgentStatus", "vomtelAgentReadyGetExu", "vomtelGetTenantMaster",
               "vomtelCallbackListInsertResult", "vomtelCurrentDN", "vomtelEventNotify",
               "vomtelGetEventPoll", "vomtelSetCounselResult", "vomtelCreateCampaign",
               "vomtelErrMsg", "vomtelPreviewMakeCallResult", "vomtelSendPopup",
               "vomtelSetCounselResultResult", "vomtelCreateCampaignResult",
               "vomtelQueryAgentStatusExIII", "vomtelSendData", "vomtelAgentReadyGetW",
               "vomtelGetGroupMaster", "vomtelSendWebChatMsg", "vomtelAgentBusyGetValueII",
               "vomtelAgentReadyGetValueII", "vomtelAgentStatusGetII", "vomtelGetAgentMaster",
               "vomtelGetEmployeeMaster", "vomtelNotifyRecord", "vomtelPutTraceInfoEx"],
    }
    try:
        for want, name, call in calls:
            got = call()
            if got != want:
                fail("%s: got %d, want %d" % (name, got, want))
        for want, names in do_nothing.items():
            for name in names:
                # Every argument null or zero: the do-nothing bodies read none of them.
                got = getattr(lib, name)(*([NULL] * 13))
                if got != want:
                    fail("%s: got %d, want %d" % (name, got, want))
        # The next request the server sees is this one: nothing above reached it.
        lib.vomtelSetAgentFlag(gate, 0, b"marker", 1)
        r = sim.next()
        if r is None or (r.cls, r.code, r.body[6:]) != (S, 0x5A, s8("marker") + u8(1)):
            fail("a refused call sent a request: %r" % r)
    finally:
        close_gate(gate)
        sim.stop()


# ---- Replies longer than the caller's array ----------------------------------------------------------
def run_guards():
    GUARD = 0xA5
    cases = [
        # name, (class, code), reply data, call(gate, entries, count), entry size, room
        ("vomtelAgentReadyGet maxCount 2", (S, 0x98), READY_DATA[:0] + u16(3) + READY_DATA[2:] +
         READY_DATA[2:READY_DATA.index(s8("a2"))],
         lambda g, e, n: lib.vomtelAgentReadyGet(g, 0, 1, 2, 2, e, n), 48, 2),
        ("vomtelAgentReadyGetEx maxCount 0", (S, 0x60), READY_DATA,
         lambda g, e, n: lib.vomtelAgentReadyGetEx(g, 0, 1, 2, 0, e, n), 152, 0),
        ("vomtelAgentReadyGetII maxCount -5", (S, 0x98), READY_DATA,
         lambda g, e, n: lib.vomtelAgentReadyGetII(g, 0, 1, 2, -5, e, n), 152, 0),
        # The multi-agent and skill-master caps are the control module's arrays: 1,000 and 512.
        ("vomtelMultiAgentGet 700 under cap 1000", (S, 0xE6),
         u16(700) + b"".join(s8("id%d" % i) + u32(i) for i in range(700)),
         lambda g, e, n: lib.vomtelMultiAgentGet(g, 0, b"", b"", e, n), 28, 700),
        ("vomtelMultiAgentGet cap 1000", (S, 0xE6),  # one-byte ids: 1,200 fit one frame
         u16(1200) + b"".join(s8("abcdefghij"[i % 10]) + u32(i) for i in range(1200)),
         lambda g, e, n: lib.vomtelMultiAgentGet(g, 0, b"", b"", e, n), 28, 1000),
        ("vomtelGetSkillMaster 150 under cap 512", (S, 0xD2),
         u16(150) + b"".join(u16(i) + s8("s%d" % i) for i in range(150)),
         lambda g, e, n: lib.vomtelGetSkillMaster(g, 0, 1, e, n), 1032, 150),
        ("vomtelGetSkillMaster cap 512", (S, 0xD2),
         u16(600) + b"".join(u16(i) + s8("s%d" % i) for i in range(600)),
         lambda g, e, n: lib.vomtelGetSkillMaster(g, 0, 1, e, n), 1032, 512),
        ("vomtelWaitingCallListOfQue cap 100", (S, 0x84),
         s8("q") + u32(150) + b"".join(u32(i) + u32(i) + s8("n") for i in range(150)),
         lambda g, e, n: lib.vomtelWaitingCallListOfQue(g, 0, b"q", n, e), 32, 100),
        ("vomtelWaitingCallTimePeriod cap 100", (S, 0x84),
         s8("q") + u32(150) + b"".join(u32(i) + u32(i) for i in range(150)),
         lambda g, e, n: lib.vomtelWaitingCallTimePeriod(g, 0, 1, b"q", n, e), 8, 100),
        ("vomtelMaxCallLoadAgent cap 100", (S, 0xD6),
         u32(1) + s8("e") + u16(150) + b"".join(u32(i) * 3 for i in range(150)),
         lambda g, e, n: lib.vomtelMaxCallLoadAgent(g, 0, b"e", n, e), 12, 100),
        # The first integer of the skill query is its maximum count.
        ("vomtelAgentSkillGet maxCount 2", (S, 0x5D),
         u16(3) + b"".join(u32(i) + u32(i) + u32(i) + u8(3) + u16(9) for i in range(3)),
         lambda g, e, n: lib.vomtelAgentSkillGet(g, 0, 2, 7, e, n), 20, 2),
        # Busy agents are asked on gate 0, the gate these cases open.
        ("vomtelAgentBusyGet maxCount 1", (S, 0x97), BUSY_DATA,
         lambda g, e, n: lib.vomtelAgentBusyGet(g, 0, 1, 2, 1, e, n), 48, 1),
        ("vomtelAgentBusyGetII maxCount 1", (S, 0x97), BUSY_DATA,
         lambda g, e, n: lib.vomtelAgentBusyGetII(g, 0, 0, 1, 2, 1, e, n), 48, 1),
    ]
    for name, code, data, call, size, room in cases:
        sim = Sim({code: (1, data)})
        gate = open_gate(sim)
        try:
            entries = ctypes.create_string_buffer(bytes([GUARD]) * (size * room + 64), size * room + 64)
            n = ctypes.c_uint32(0xEEEEEEEE)
            got = call(gate, entries, ctypes.byref(n))
            expect_eq("result", got, 1)
            expect_eq("count", n.value, room)
            expect_eq("guard bytes", bytes(entries)[size * room:], bytes([GUARD]) * 64)
        except AssertionError as e:
            fail("%s: %s" % (name, e))
        finally:
            close_gate(gate)
            sim.stop()
    # A text longer than its field is cut to it and NUL-terminated; the next field keeps its bytes.
    sim = Sim({(S, 0xE6): (1, u16(1) + s8("x" * 40) + u32(3001))})
    gate = open_gate(sim)
    try:
        entries = ctypes.create_string_buffer(b"\xa5" * 56, 56)
        n = ctypes.c_uint32(0)
        expect_eq("result", lib.vomtelMultiAgentGet(gate, 0, b"", b"", entries, ctypes.byref(n)), 1)
        expect_eq("cut text", bytes(entries)[4:28], b"x" * 23 + b"\0")
        expect_eq("next entry untouched", bytes(entries)[28:], b"\xa5" * 28)
    except AssertionError as e:
        fail("cut text: %s" % e)
    finally:
        close_gate(gate)
        sim.stop()
    # Texts written outside list entries are cut to their fields too, length fields set.
    long_name = s8("N" * 40) + u8(203) + u32(3001) + u8(1) + u8(2) + u16(300) + u8(0)
    sim = Sim({(S, 0x6E): (1, long_name), (S, 0x5E): (1, u32(3) + s16("r" * 2000)),
               (S, 0x60): (1, u16(1) + s8("i" * 40) + s8("n" * 40) + u32(11) + s8("g" * 40) +
                           u32(21) + s8("p" * 40) + u32(3001) + u8(1) + u16(30))})
    gate = open_gate(sim)
    try:
        name = ctypes.create_string_buffer(b"\xa5" * 40, 40)
        outs = [int_out() for _ in range(5)]
        expect_eq("agent state", lib.vomtelQueryAgentStatusEx(
            gate, 0, b"a", 1, name, *[ctypes.byref(v) for v in outs], 0, 0, 0), 1)
        expect_eq("agent name", bytes(name), b"N" * 30 + b"\0" + b"\xa5" * 9)
        rows, result = int_out(), block(b"old")
        expect_eq("query", lib.vomtelSQLQuery(gate, 0, b"d", 1, 44, block(b"q"), ctypes.byref(rows),
                                              result), 1)
        expect_eq("rows, length, text", (rows.value, le32(result, 0), bytes(result)[4:]),
                  (3, 1027, b"r" * 1027 + b"\0"))
        entries = ctypes.create_string_buffer(b"\xa5" * 160, 160)
        n = ctypes.c_uint32(0)
        expect_eq("ready", lib.vomtelAgentReadyGetEx(gate, 0, 1, 2, 1, entries, ctypes.byref(n)), 1)
        expect_eq("ready texts", (bytes(entries)[4:36], cstr(entries, 36, 30), le32(entries, 68),
                                  cstr(entries, 72, 30), le32(entries, 104), cstr(entries, 108, 30),
                                  le32(entries, 140)),
                  (b"i" * 31 + b"\0", b"n" * 29, 11, b"g" * 29, 21, b"p" * 29, 3001))
        expect_eq("next entry", bytes(entries)[152:], b"\xa5" * 8)
    except AssertionError as e:
        fail("cut texts: %s" % e)
    finally:
        close_gate(gate)
        sim.stop()


# ---- Opening, closing, version and events ---------------------------------------------------------
def run_session():
    # A single open sends the record's low bytes (device type 5, link mode 44 of 300) and DN.
    sim = Sim()
    gate = ctypes.c_int(-1)
    try:
        dev = ctypes.create_string_buffer(device_record(b"3001", 0x205, 300), 36)
        got = lib.vomtelOpenServer(ctypes.byref(gate), 0, dev, b"127.0.0.1", sim.port, b"TCPIP",
                                   b"capi", 1, 0)
        expect_eq("open", got, 1)
        r = sim.skip_to(0x45, 0x46)
        expect_eq("open body", r.body[:7] if r else None, u8(5) + u8(44) + s8("3001"))
    except AssertionError as e:
        fail("open: %s" % e)
    finally:
        close_gate(gate.value)
        sim.stop()

    # Both servers of an HA open land under one gate; the record's low bytes are sent.
    sim = Sim()
    gate = ctypes.c_int(-1)
    try:
        dev = ctypes.create_string_buffer(device_record(b"3001", 0x205, 300), 36)
        got = lib.vomtelOpenServerHA(ctypes.byref(gate), 0, dev, b"127.0.0.1", b"127.0.0.1",
                                     sim.port, b"TCPIP", b"capi", 1, 0)
        expect_eq("open HA", got, 1)
        for _ in range(2):
            r = sim.skip_to(0x45, 0x46)
            expect_eq("open body", r.body[:7] if r else None, u8(5) + u8(44) + s8("3001"))
        version = int_out(-1)
        expect_eq("version result", lib.vomtelGetOrbaVersion(gate.value, ctypes.byref(version)), 1)
        expect_eq("version byte", version.value, HEADER_BYTE)
        # Closing stops the monitor and sends the close request on each session of the gate.
        expect_eq("close", lib.vomtelCloseServerHA(gate.value, 0), 1)
        for cls, code in ((0x42, 0x28), (0x45, 0x1E), (0x42, 0x28), (0x45, 0x1E)):
            r = sim.next()
            expect_eq("closing request", (r.cls, r.code) if r else None, (cls, code))
        expect_eq("closed gate", lib.vomtelMonitorStart(gate.value, 0), 3007)
        gate.value = -1
    except AssertionError as e:
        fail("open HA and close: %s" % e)
    finally:
        close_gate(gate.value)
        sim.stop()

    # A call's events come out one per poll, in order; an empty queue gives 3010 and kind 0.
    sim = Sim(events=4)
    gate = open_gate(sim)
    try:
        expect_eq("make call", lib.vomtelMakeCall(gate, 0, b"3001", b"3002", b"", b"", b"",
                                                  NULL, NULL, NULL, NULL), 1)
        kinds = []
        record = ctypes.create_string_buffer(6240)
        for _ in range(100):
            ctypes.memset(record, 0, 6240)
            r = lib.vomtelGetEvent(gate, record, 0)
            if r == 1:
                kinds.append((le32(record, 0), cstr(record, 508, 24)))
                if len(kinds) == 4:
                    break
            else:
                expect_eq("no event", (r, le32(record, 0)), (3010, 0))
                threading.Event().wait(0.05)
        expect_eq("event kinds", [k for k, _ in kinds], [10, 4, 6, 3])
        expect_eq("called party of the delivered event", kinds[1][1], b"3002")
    except AssertionError as e:
        fail("events: %s" % e)
    finally:
        close_gate(gate)
        sim.stop()


def main():
    run_session()
    run_table()
    run_refused()
    run_one_step()
    run_gate_zero()
    run_nothing_sent()
    run_guards()
    if failures:
        print("%d failure(s)" % len(failures))
        return 1
    print("all export checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
