// `slicecast render IN... --out-dir DIR`: many files rendered at once, each
// through its own instance of the effect exactly as it would be alone, a
// few at a time, under one progress bar.
#pragma once

#include <string>
#include <vector>

#include "batch_plan.h"
#include "console/console.h"
#include "render_command.h"

namespace slicecastcli {

struct BatchFailure {
    std::string input;
    std::string message;
};

// Renders every file of the plan with the settings of options (whose input
// and output are ignored), jobs at a time. A file that fails does not stop
// the others; the failures come back in the plan's order.
std::vector<BatchFailure> renderBatch(const std::string& pluginPath, const std::vector<BatchFile>& plan,
                                      const RenderOptions& options, unsigned jobs, const Console& console);

}  // namespace slicecastcli
