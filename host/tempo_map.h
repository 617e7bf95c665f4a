// Tempo as a function of musical position: a first tempo, then changes at
// quarter-note positions. Hosts report tempo once per block, so a player
// asks for the tempo at each block's first position.
#pragma once

#include <vector>

namespace pluginhost {

struct TempoChange {
    double position;  // quarter notes
    double tempo;     // beats per minute, above 0
};

class TempoMap {
public:
    // One tempo throughout.
    explicit TempoMap(double tempo = 120.0);
    // first until the first change; changes strictly in order of position.
    TempoMap(double first, std::vector<TempoChange> changes);

    // The tempo of the last change at or before position (first if none).
    double tempoAt(double position) const;
    double first() const { return first_; }
    const std::vector<TempoChange>& changes() const { return changes_; }

private:
    double first_;
    std::vector<TempoChange> changes_;
};

}  // namespace pluginhost
