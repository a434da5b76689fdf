/* vomtel_demo: one agent's short session through the vomtel C interface.
 *
 *   vomtel_demo ADDRESS PORT [EXTENSION [AGENT]]
 *
 * Opens a gate to the CTI server at ADDRESS:PORT, starts the monitor, registers the
 * extension, logs the agent in, makes a call to 3002, prints the events that arrive during
 * the next few seconds, then logs out and closes the gate. Exits 0 when every step up to the
 * call returned 1 and the server did not go down (event 999) while the events were polled. */
#define _POSIX_C_SOURCE 200809L

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "vomtel/vomtel.h"

enum { kInvoke = 1, kPollMs = 100, kPolls = 30 };

/* Agent modes of vomtelSetFeatureAgentStatus. */
enum { kLogin = 0, kLogout = 1 };

static int Step(const char* what, int result) {
  printf("%-14s %d%s\n", what, result, result == VOMTEL_OK ? "" : "  (failed)");
  return result == VOMTEL_OK;
}

static void PrintEvent(const EventData* e) {
  printf("event %3d  call %d  cause %d", (int)e->EventKind, (int)e->CallRefID, (int)e->EventCause);
  if (e->CalledParty[0]) printf("  called %s", e->CalledParty);
  if (e->OtherParty[0]) printf("  other %s", e->OtherParty);
  if (e->AgentID[0]) printf("  agent %s mode %d", e->AgentID, (int)e->AgentMode);
  printf("  at %02d:%02d:%02d.%03d\n", e->TimeStamp.Hour, e->TimeStamp.Minute,
         e->TimeStamp.Second, e->TimeStamp.Millisecond);
}

static void Sleep(int ms) {
  struct timespec t;
  t.tv_sec = ms / 1000;
  t.tv_nsec = (long)(ms % 1000) * 1000000L;
  nanosleep(&t, NULL);
}

int main(int argc, char** argv) {
  const char* address;
  const char* extension;
  const char* agent;
  int port;
  int gate = -1;
  int ok;
  int poll;
  DeviceRecord device;
  static EventData event; /* 6,240 bytes: not on the stack */

  if (argc < 3) {
    fprintf(stderr, "usage: %s ADDRESS PORT [EXTENSION [AGENT]]\n", argv[0]);
    return 2;
  }
  address = argv[1];
  port = atoi(argv[2]);
  extension = argc > 3 ? argv[3] : "3001";
  agent = argc > 4 ? argv[4] : "agent01";

  memset(&device, 0, sizeof device);
  device.HeaderByte = 48;
  device.LinkMode = 4;
  strncpy(device.Device, extension, sizeof device.Device - 1);

  ok = Step("open server", vomtelOpenServer(&gate, kInvoke, &device, address, port, "TCPIP",
                                            "vomtel_demo", 1, 0));
  printf("gate           %d\n", gate);
  ok = ok && Step("monitor start", vomtelMonitorStart(gate, kInvoke));
  ok = ok && Step("add device", vomtelAddDevice(gate, kInvoke, &device));
  ok = ok && Step("login", vomtelSetFeatureAgentStatus(gate, kInvoke, extension, kLogin, agent,
                                                       "", "", 0, 0, NULL));
  ok = ok && Step("make call", vomtelMakeCall(gate, kInvoke, extension, "3002", "", "", "", NULL,
                                              NULL, NULL, NULL));

  /* Poll the gate's events: each call hands over at most one; 3010 means none is waiting. */
  for (poll = 0; ok && poll < kPolls; ++poll) {
    int result;
    memset(&event, 0, sizeof event);
    while ((result = vomtelGetEvent(gate, &event, 0)) == VOMTEL_OK) {
      PrintEvent(&event);
      if (event.EventKind == VOMTEL_EVENT_SERVER_DOWN) {
        ok = 0;
        break;
      }
      memset(&event, 0, sizeof event);
    }
    Sleep(kPollMs);
  }

  if (gate >= 0) {
    Step("logout", vomtelSetFeatureAgentStatus(gate, kInvoke, extension, kLogout, agent, "", "", 0,
                                               0, NULL));
    Step("monitor stop", vomtelMonitorStop(gate, kInvoke));
    Step("close server", vomtelCloseServerHA(gate, kInvoke));
  }
  return ok ? 0 : 1;
}
