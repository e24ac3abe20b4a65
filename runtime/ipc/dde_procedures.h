#pragma once
// The DDE operations as procedures call them: numbers as arguments, texts on the string stack
// (pushed in the order of the parameters, so the last one is on top), results that are texts
// pushed. Server objects and client channels belong to the target window (SetTargetWindow's
// choice, else the thread's current window).
//
//   PushCString("Prices"); PushCString("Today");
//   std::int32_t channel = DDECLIENT();          // opens a channel to Prices|Today
//   PushCString("[recalc]"); DDEEXECUTE(channel);
//   PushCString("Total"); DDEREAD(channel);      // the item's value is on the stack
//   DDECLOSE(channel);
//
// While handling EVENT:DDEexecute, DDEpoke, DDErequest, DDEadvise or DDEdata, a procedure
// reads the event's channel with DDECHANNEL() and its item and value with DDEITEM() and
// DDEVALUE(). Refusing the event (RefuseCurrentEvent) acknowledges it negatively.

#include <cstdint>

namespace vel::ipc {

/// Pops topic and application; registers a server object on the target window. Returns its
/// number (0 and error 536 without an open window).
std::int32_t DDESERVER();
/// Pops topic and application; opens a channel to the server that answers. Returns the channel,
/// or 0 with error 602 when none answered.
std::int32_t DDECLIENT();
/// Pops the item; pushes its value as the server gives it (empty when refused).
void DDEREAD(std::int32_t channel);
/// Pops value and item; sends the item's new value to the server (error 604 when refused).
void DDEPOKE(std::int32_t channel);
/// Pops the command; has the server carry it out (error 603 when refused).
void DDEEXECUTE(std::int32_t channel);
/// Pops value and item; on a server's channel, sends the item's value to the client (the
/// answer to the request being handled, or an update).
void DDEWRITE(std::int32_t channel);
/// Ends a conversation: the partner is told, its answer awaited, and the number named no
/// channel after. (Server objects end with their window.)
void DDECLOSE(std::int32_t channel);
/// Sets the time-out of client waits in milliseconds (0: the default of 5000).
void DDETIMEOUT(std::int32_t milliseconds);

/// The channel of the DDE event being handled, or 0.
std::int32_t DDECHANNEL();
/// Pushes the item of the DDE event being handled (empty for none).
void DDEITEM();
/// Pushes the value of the DDE event being handled: a poke's value, an execute's command, the
/// data of an update (empty for none).
void DDEVALUE();

}  // namespace vel::ipc
