// A host whose answer to the time query a test scripts block by block: the
// transport's record (the default), another record, or none. It counts the
// queries and keeps the filter of the last one.
#pragma once

#include "host.h"

namespace testsupport {

class ScriptedTimeHost : public vst2host::Host {
public:
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override;

    // Answer this record (or null) instead of the transport's.
    void answerWith(const VstTimeInfo* record) {
        useTransport_ = false;
        record_ = record;
    }
    void answerWithTransport() { useTransport_ = true; }
    // What the next time query is answered with (null for no record).
    const VstTimeInfo* answeredRecord();

    int timeQueries = 0;
    VstIntPtr lastTimeFilter = 0;

private:
    bool useTransport_ = true;
    const VstTimeInfo* record_ = nullptr;
};

}  // namespace testsupport
