// The editor interface a host reaches through an effect's editor object.
// This framework forwards to an editor when one is attached; the Slicecast
// effect has none.
#pragma once

#include "vst_abi.h"

// The key record built for the editor's key handlers; it lives on the
// dispatcher's stack for the duration of one call.
struct VstKeyCode {
    VstInt32 character;
    unsigned char virt;
    unsigned char modifier;
};

class AEffEditor {
public:
    virtual ~AEffEditor() = default;
    virtual void reservedSlot1() {}
    virtual bool getRect(ERect** rect) = 0;
    virtual bool open(void* parentWindow) = 0;
    virtual void close() = 0;
    virtual void reservedSlot2() {}
    virtual void idle() = 0;
    virtual bool onKeyDown(VstKeyCode& key) = 0;
    virtual bool onKeyUp(VstKeyCode& key) = 0;
    virtual void reservedSlot3() {}
    virtual bool setKnobMode(VstInt32 mode) = 0;
};
