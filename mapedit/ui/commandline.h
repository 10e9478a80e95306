#pragma once
// The map named on the editor's command line.
#include <string>

namespace mapedit::ui {

// The first argument made absolute, with the bytes the system gave it (a name
// need not be valid UTF-8); empty when there is none.
std::string CommandLineMap(int argc, char** argv);

} // namespace mapedit::ui
