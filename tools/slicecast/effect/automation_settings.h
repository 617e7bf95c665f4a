// --automate options made into automation lanes: parameter names and value
// texts are resolved by asking the effect, as for --set.
#pragma once

#include <vector>

#include "parameter_automation.h"
#include "plugin_instance.h"
#include "transport/transport_options.h"

namespace slicecastcli {

// Throws on a name that is no parameter, a text the parameter never shows,
// or a parameter automated twice. Leaves the automated parameters as they
// were.
std::vector<vsthost::ParameterAutomation> resolveAutomation(vsthost::PluginInstance& instance,
                                                            const std::vector<AutomationText>& automation);

// Whether the parameter keeps steps rather than any value: the effect
// reads back something else than it was sent (Slicecast's WaveLength and
// UpdatePeriod do). The interface's own query for this is one that few
// effects answer.
bool isStepped(vsthost::PluginInstance& instance, VstInt32 index);

}  // namespace slicecastcli
