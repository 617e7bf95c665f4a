// --automate options made into automation lanes: parameter names and value
// texts are resolved by asking the effect, as for --set.
#pragma once

#include <vector>

#include "hosted_effect.h"
#include "parameter_automation.h"
#include "transport/transport_options.h"

namespace slicecastcli {

// Throws on a name that is no parameter, a text the parameter never shows,
// or a parameter automated twice. Leaves the automated parameters as they
// were. A lane is stepped where the effect's parameter takes whole steps.
std::vector<pluginhost::ParameterAutomation> resolveAutomation(pluginhost::HostedEffect& effect,
                                                            const std::vector<AutomationText>& automation);

}  // namespace slicecastcli
