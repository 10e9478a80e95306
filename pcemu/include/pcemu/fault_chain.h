// SIGSEGV handlers that form a chain: each takes the faults in the memory it
// watches and hands every other fault to the handler installed before it.
#pragma once

#include <csignal>

namespace pcemu {

using FaultHandler = void (*)(int signal, siginfo_t* info, void* context);

// Installs `handler` for SIGSEGV and keeps the handler it replaces in
// `previous`, to pass foreign faults on to.
void InstallFaultHandler(FaultHandler handler, struct sigaction& previous);

// True when `handler` is the SIGSEGV handler now.
bool FaultHandlerInstalled(FaultHandler handler);

// Hands a fault that is not ours to `previous`. When that was the default
// action (or ignoring), the default comes back and the access, executed
// again, ends the process as it would have.
void PassOnFault(const struct sigaction& previous, int signal, siginfo_t* info, void* context);

} // namespace pcemu
