#include "maprun/ui/arguments.h"

namespace maprun {

bool CheckArguments(const QStringList& args, const ErrorBox& box) {
    if (args.size() >= 2 && !args[1].isEmpty()) return true;
    box("Error", "Needs a .map file as a parameter ");
    return false;
}

} // namespace maprun
