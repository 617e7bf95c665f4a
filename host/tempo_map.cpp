#include "tempo_map.h"

#include <algorithm>
#include <utility>

namespace pluginhost {

TempoMap::TempoMap(double tempo) : first_(tempo) {}

TempoMap::TempoMap(double first, std::vector<TempoChange> changes) : first_(first), changes_(std::move(changes)) {}

double TempoMap::tempoAt(double position) const {
    const auto after = std::upper_bound(changes_.begin(), changes_.end(), position,
                                        [](double at, const TempoChange& change) { return at < change.position; });
    return after == changes_.begin() ? first_ : std::prev(after)->tempo;
}

}  // namespace pluginhost
