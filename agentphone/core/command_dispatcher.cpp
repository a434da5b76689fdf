#include "agentphone/core/command_dispatcher.h"

#include <initializer_list>
#include <span>
#include <vector>

#include "agentphone/core/control_ids.h"
#include "agentphone/core/dispatch_call.h"
#include "agentphone/core/program_log.h"
#include "agentphone/core/text_routines.h"

namespace agentphone {

// Where one argument of a method comes from, after the gate and the invoke counter (which
// every method takes first, both by reference).
struct CommandDispatcher::Operand {
  enum Kind : uint8_t {
    kI4,              // the number `value`, by value
    kEmpty,           // an empty text, by value
    kLiteral,         // the text `literal`, by value
    kAgentDn,         // Trim(gAGENTDN), by value
    kAgentId,         // Trim(gAGENTID), by value
    kCallingNoDigits, // the digits of CallingNo, by value
    kCallerDigits,    // the digits of the caller-number panel's caption, by value
    kRefUUI,
    kRefUEI,
    kRefCallingNo,
    kRefCI,
    kRefCallId,       // gCALLID
    kRefMonitorParty, // gMONITORPARTY
    kRefHeldCallId,   // gHELDCALLID
    kRefHeldDevice,   // gHELDDEVICE
    kRefActCallId,    // gACTCALLID
    kRefActDevice,    // gACTDEVICE
    kRefAgentData,    // gAGENTDATA
    kRefAgentGroup,   // gAGENTGROUP
    kRefReasonCode,   // gREASONCODE
  };
  Kind kind;
  int32_t value = 0;
  const char* literal = "";
};

struct CommandDispatcher::Command {
  enum Kind : uint8_t { kPlain, kOpen, kOpenHa, kMonitorStart, kMonitorStop, kReadyGet };
  const char* word;
  Kind kind;
  DISPID method;
  const char* methodName;
  std::vector<Operand> operands;
};


const CommandDispatcher::Command* CommandDispatcher::Find(std::string_view word) {
  using K = Operand;
  auto I4 = [](int32_t v) { return Operand{K::kI4, v}; };
  auto Lit = [](const char* t) { return Operand{K::kLiteral, 0, t}; };
  const Operand E{K::kEmpty};
  auto agentState = [&](const char* w, int32_t mode, Operand reason) {
    return Command{w, Command::kPlain, telx::vomtelsetfeatureagentstatus,
                   "vomtelsetfeatureagentstatus",
                   {Operand{K::kAgentDn}, I4(mode), Operand{K::kAgentId}, Operand{K::kRefAgentData},
                    Operand{K::kRefAgentGroup}, reason, I4(0)}};
  };
  auto consultation = [&](const char* w, Operand called, int32_t callClass) {
    return Command{w, Command::kPlain, telx::vomtelconsultationcall, "vomtelconsultationcall",
                   {Operand{K::kRefActCallId}, Operand{K::kRefActDevice}, called, I4(callClass),
                    Operand{K::kRefUUI}, E, E, Operand{K::kRefUEI}, Operand{K::kRefCI}, E}};
  };
  // In the order in which the words are tested.
  static const std::vector<Command> kCommands = {
      {"OPENSERVER", Command::kOpen, telx::vomtelopenserver, "vomtelopenserver", {}},
      {"OPENSERVERHA", Command::kOpenHa, telx::vomtelOpenServerHAX, "vomtelOpenServerHAX", {}},
      {"MONITORSTART", Command::kMonitorStart, telx::vomtelmonitorstart, "vomtelmonitorstart", {}},
      {"MONITORSTOP", Command::kMonitorStop, telx::vomtelmonitorstop, "vomtelmonitorstop", {}},
      {"CLOSESERVER", Command::kPlain, telx::vomtelcloseserver, "vomtelcloseserver", {}},
      {"CLOSESERVERHA", Command::kPlain, telx::vomtelCloseServerX, "vomtelCloseServerX", {}},
      {"CLEARCONNECTION", Command::kPlain, telx::vomtelclearconnection, "vomtelclearconnection",
       {Operand{K::kRefCallId}, Operand{K::kRefMonitorParty}, E}},
      {"MAKECALL", Command::kPlain, telx::vomtelmakecall, "vomtelmakecall",
       {Operand{K::kAgentDn}, Operand{K::kCallingNoDigits}, Operand{K::kRefUUI}, E, E,
        Operand{K::kRefUEI}, Operand{K::kRefCI}, E}},
      {"ANSWERCALL", Command::kPlain, telx::vomtelanswercall, "vomtelanswercall",
       {Operand{K::kRefCallId}, Operand{K::kRefMonitorParty}, E}},
      {"HOLD", Command::kPlain, telx::vomtelholdcall, "vomtelholdcall",
       {Operand{K::kRefCallId}, Operand{K::kRefMonitorParty}}},
      {"RETRIVAL", Command::kPlain, telx::vomtelretrievecall, "vomtelretrievecall",
       {Operand{K::kRefHeldCallId}, Operand{K::kRefHeldDevice}}},
      consultation("CONSULTATIONCONFERENCE", Operand{K::kRefCallingNo}, 1),
      consultation("CONSULTATIONCONFERENCEPASS", Lit("6004"), 1),
      {"TRANSFER", Command::kPlain, telx::vomteltransfercall, "vomteltransfercall",
       {Operand{K::kRefHeldCallId}, Operand{K::kRefHeldDevice}, Operand{K::kRefActCallId},
        Operand{K::kCallerDigits}, E}},
      {"CONFERENCE", Command::kPlain, telx::vomtelconferencecall, "vomtelconferencecall",
       {Operand{K::kRefHeldCallId}, Operand{K::kRefHeldDevice}, Operand{K::kRefActCallId},
        Operand{K::kRefActDevice}, E}},
      agentState("READY", 3, I4(0)),
      agentState("LOGOUT", 1, I4(0)),
      agentState("LOGIN", 0, I4(0)),
      agentState("NOTREADY", 2, Operand{K::kRefReasonCode}),
      agentState("OTHERWORK", 4, I4(0)),
      agentState("AFTERCALLWORK", 5, I4(0)),
      {"RECONNECT", Command::kPlain, telx::vomtelreconnectcall, "vomtelreconnectcall",
       {Operand{K::kRefHeldCallId}, Operand{K::kRefHeldDevice}, Operand{K::kRefActCallId},
        Operand{K::kAgentDn}, E}},
      {"SingleStepTransfer", Command::kPlain, telx::vomtelsinglesteptransfer,
       "vomtelsinglesteptransfer",
       {Operand{K::kRefCallId}, Operand{K::kRefMonitorParty}, Operand{K::kRefCallingNo}, I4(1), E,
        E, E, Operand{K::kRefUEI}, E}},
      consultation("CONSULTATIONCALL", Operand{K::kRefCallingNo}, 0),
      {"onestepconference", Command::kPlain, telx::vomtelonestepconference,
       "vomtelonestepconference",
       {Operand{K::kRefActCallId}, Operand{K::kAgentDn}, Operand{K::kCallerDigits}, Lit("0"), E, E,
        E}},
      {"ReadyGet", Command::kReadyGet, telx::vomtelagentreadyget, "vomtelagentreadyget", {}},
  };
  for (const Command& c : kCommands) {
    if (word == c.word) return &c;
  }
  return nullptr;
}

CommandDispatcher::CommandDispatcher(Globals& g, ProgramLog& log, DispatcherSettings settings,
                                     std::function<std::string()> callerCaption)
    : g_(g), log_(log), settings_(std::move(settings)), callerCaption_(std::move(callerCaption)) {}

void CommandDispatcher::StepInvoke() {
  // Wraps within its 32 bits instead of failing at the top.
  g_.gINVOKEID = static_cast<int32_t>(static_cast<uint32_t>(g_.gINVOKEID) + 1u);
}

int32_t CommandDispatcher::Call_Function(std::string& callFunction, std::string& UUI,
                                         std::string& UEI, std::string& CallingNo,
                                         std::string& CI) {
  const Command* c = Find(callFunction);
  if (!c) return 0;
  const std::string word = callFunction;
  bool haveResult = false;
  int32_t result = 0;
  try {
    return Run(*c, callFunction, UUI, UEI, CallingNo, CI, &haveResult, &result);
  } catch (const std::exception& e) {
    log_.WriteLog("[Call_Function ERROR] " + word + " : " + e.what());
  } catch (...) {
    log_.WriteLog("[Call_Function ERROR] " + word + " : unknown error");
  }
  return haveResult ? result : 0;
}

int32_t CommandDispatcher::Open(bool ha) {
  {
    DispatchArgs v;
    PutProperty(telx_, telx::GateId, v.I2(1), "GateId");
  }
  {
    DispatchArgs v;
    PutProperty(telx_, telx::LogTrace, v.Text("TRUE"), "LogTrace");
  }
  {
    DispatchArgs v;
    PutProperty(telx_, telx::LogPath, v.Text(ha ? "C:\\\\" : "C:\\\\softphone"), "LogPath");
  }
  g_.gGATEID = GetI4Property(telx_, telx::GateId, "GateId");
  if (!ha) {
    g_.gCTIIP = settings_.serverAddress;
    g_.gCTIPORT = settings_.serverPort;
  }
  const std::string standby = ha ? g_.gbkCTIIP : g_.gCTIIP;
  {
    DispatchArgs v;
    PutProperty(telx_, telx::ServerName, v.Text(g_.gCTIIP), "ServerName");
  }
  {
    DispatchArgs v;
    PutProperty(telx_, telx::ServerName1, v.Text(standby), "ServerName1");
  }
  {
    DispatchArgs v;
    PutProperty(telx_, telx::LinkMode, v.I2(4), "LinkMode");
  }
  {
    DispatchArgs v;
    PutProperty(telx_, telx::OpenPort, v.R8(ReadNumber(g_.gCTIPORT).value_or(0.0)), "OpenPort");
  }
  {
    DispatchArgs v;
    PutProperty(telx_, telx::OpenDevice, v.Text(Trim(g_.gAGENTDN)), "OpenDevice");
  }
  DispatchArgs none;
  if (ha) {
    log_.WriteLog("gCTIIP= " + g_.gCTIIP + " gbkCTIIP = " + g_.gbkCTIIP +
                  " gAGENTDN = " + g_.gAGENTDN);
    return CallI4Method(telx_, telx::vomtelOpenServerHAX, none, "vomtelOpenServerHAX");
  }
  return CallI4Method(telx_, telx::vomtelopenserver, none, "vomtelopenserver");
}

int32_t CommandDispatcher::Run(const Command& c, std::string& callFunction, std::string& UUI,
                               std::string& UEI, std::string& CallingNo, std::string& CI,
                               bool* haveResult, int32_t* result) {
  if (c.kind == Command::kOpen || c.kind == Command::kOpenHa) {
    return Open(c.kind == Command::kOpenHa);
  }
  g_.gGATEID = GetI4Property(telx_, telx::GateId, "GateId");

  auto call = [&](std::span<const Operand> operands) {
    DispatchArgs args;
    args.RefI4(&g_.gGATEID).RefI4(&g_.gINVOKEID);
    for (const Operand& o : operands) {
      switch (o.kind) {
        case Operand::kI4: args.I4(o.value); break;
        case Operand::kEmpty: args.Text(""); break;
        case Operand::kLiteral: args.Text(o.literal); break;
        case Operand::kAgentDn: args.Text(Trim(g_.gAGENTDN)); break;
        case Operand::kAgentId: args.Text(Trim(g_.gAGENTID)); break;
        case Operand::kCallingNoDigits: args.Text(OnlyDigits(CallingNo)); break;
        case Operand::kCallerDigits:
          args.Text(OnlyDigits(callerCaption_ ? callerCaption_() : std::string()));
          break;
        case Operand::kRefUUI: args.RefText(&UUI); break;
        case Operand::kRefUEI: args.RefText(&UEI); break;
        case Operand::kRefCallingNo: args.RefText(&CallingNo); break;
        case Operand::kRefCI: args.RefText(&CI); break;
        case Operand::kRefCallId: args.RefI4(&g_.gCALLID); break;
        case Operand::kRefMonitorParty: args.RefText(&g_.gMONITORPARTY); break;
        case Operand::kRefHeldCallId: args.RefI4(&g_.gHELDCALLID); break;
        case Operand::kRefHeldDevice: args.RefText(&g_.gHELDDEVICE); break;
        case Operand::kRefActCallId: args.RefI4(&g_.gACTCALLID); break;
        case Operand::kRefActDevice: args.RefText(&g_.gACTDEVICE); break;
        case Operand::kRefAgentData: args.RefText(&g_.gAGENTDATA); break;
        case Operand::kRefAgentGroup: args.RefText(&g_.gAGENTGROUP); break;
        case Operand::kRefReasonCode: args.RefI4(&g_.gREASONCODE); break;
      }
    }
    int32_t r = CallI4Method(telx_, c.method, args, c.methodName);
    *result = r;
    *haveResult = true;
    StepInvoke();
    return r;
  };

  switch (c.kind) {
    case Command::kReadyGet: {
      g_.gREADYCOUNT = 0;
      g_.gREADYLIST.clear();
      const Operand first[] = {{Operand::kI4, 100}, {Operand::kI4, 0}, {Operand::kI4, 100}};
      const Operand second[] = {{Operand::kI4, 200}, {Operand::kI4, 0}, {Operand::kI4, 100}};
      call(first);  // the first group's result is not the command's
      *haveResult = false;
      return call(second);
    }
    case Command::kMonitorStart: {
      int32_t r = call({});
      if (r == 1) {
        DispatchArgs gate;
        gate.I4(g_.gGATEID);
        InvokeMember(evt_, telxevt::opengate, DISPATCH_METHOD, gate, nullptr, "opengate");
        DispatchArgs none;
        CallI4Method(evt_, telxevt::starttimer, none, "starttimer");
        callFunction = "TIMERSTART";
      }
      return r;
    }
    case Command::kMonitorStop: {
      int32_t r = call({});
      if (r == 1) {
        DispatchArgs none;
        CallI4Method(evt_, telxevt::stoptimer, none, "stoptimer");
        callFunction = "TIMERSTOP";
      }
      return r;
    }
    default:
      return call(c.operands);
  }
}

void CommandDispatcher::BuildEventRecord(std::string_view employeeId, int32_t device,
                                         int32_t blendmode, int32_t continuetime) {
  g_.gREADYLIST += std::string(employeeId) + "|" + std::to_string(device) + "|" +
                   std::to_string(blendmode) + "|" + std::to_string(continuetime) + "^";
  ++g_.gREADYCOUNT;
}

}  // namespace agentphone
