// The VBE records a BIOS returns, as JSON with the standard's field names.
#pragma once

#include <nlohmann/json.hpp>

namespace pcemu {
class Machine;
}

namespace pcdump {

// {"bios", "vbe", "modeInfo", "pmTable"} for the machine's BIOS.
nlohmann::ordered_json DescribeVbe(pcemu::Machine& pc);

} // namespace pcdump
