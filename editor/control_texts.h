// What a control shows: its parameter's display text for a plain value,
// with the unit after a percentage ("1/8", "1/2", "70 %"), as the editions
// show it to their hosts.
#pragma once

#include <string>

#include "parameter_tables.h"

namespace slicecast::editor {

std::string controlText(ParameterIndex parameter, double plain);
// The label of one step of a stepped control ("1/16", "4/1").
std::string stepText(ParameterIndex parameter, std::int32_t step);

}  // namespace slicecast::editor
