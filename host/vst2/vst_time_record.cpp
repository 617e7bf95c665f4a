#include "vst_time_record.h"

namespace vst2host {

VstTimeInfo timeRecordOf(const pluginhost::BlockTime& time) {
    VstTimeInfo record{};
    record.sampleRate = time.sampleRate;
    record.samplePos = time.samplePosition;
    record.ppqPos = time.position;
    record.tempo = time.tempo;
    record.timeSigNumerator = time.beatsPerBar;
    record.timeSigDenominator = time.beatUnit;
    record.flags = (time.positionValid ? kVstPpqPosValid : 0) | (time.tempoValid ? kVstTempoValid : 0) |
                   (time.playing ? kVstTransportPlaying : 0);
    return record;
}

}  // namespace vst2host
