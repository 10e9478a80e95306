#include "pcemu/fault_chain.h"

namespace pcemu {

void InstallFaultHandler(FaultHandler handler, struct sigaction& previous) {
    struct sigaction action = {};
    action.sa_sigaction = handler;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, &previous);
}

bool FaultHandlerInstalled(FaultHandler handler) {
    struct sigaction current = {};
    sigaction(SIGSEGV, nullptr, &current);
    return (current.sa_flags & SA_SIGINFO) && current.sa_sigaction == handler;
}

void PassOnFault(const struct sigaction& previous, int signal, siginfo_t* info, void* context) {
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        if (previous.sa_flags & SA_SIGINFO)
            previous.sa_sigaction(signal, info, context);
        else
            previous.sa_handler(signal);
        return;
    }
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(SIGSEGV, &fallback, nullptr);
}

} // namespace pcemu
