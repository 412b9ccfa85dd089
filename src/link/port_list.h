#pragma once
#include <string>
#include <vector>

#include "link/port_description.h"
#include "link/port_map.h"

namespace zevo {

class QtSerialLine;

// Every COM number with a device behind it (present or pinned), in COM order.
std::vector<PortDescription> DescribePorts(const QtSerialLine& line);

} // namespace zevo
