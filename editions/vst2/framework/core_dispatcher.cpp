// The core dispatcher: opcodes 0 to 24, one dense switch, one virtual call each.
#include "base_effect.h"

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (static_cast<std::uint32_t>(opcode) > static_cast<std::uint32_t>(effSetChunk)) return 0;

    switch (opcode) {
        case effOpen: open(); break;
        case effClose: close(); break;
        case effSetProgram:
            if (value < static_cast<VstIntPtr>(numPrograms)) setProgram(static_cast<VstInt32>(value));
            break;
        case effGetProgram: return getProgram();
        case effSetProgramName: setProgramName(static_cast<char*>(ptr)); break;
        case effGetProgramName: getProgramName(static_cast<char*>(ptr)); break;
        case effGetParamLabel: getParameterLabel(index, static_cast<char*>(ptr)); break;
        case effGetParamDisplay: getParameterDisplay(index, static_cast<char*>(ptr)); break;
        case effGetParamName: getParameterName(index, static_cast<char*>(ptr)); break;
        case effSetSampleRate: setSampleRate(opt); break;
        case effSetBlockSize: setBlockSize(static_cast<VstInt32>(value)); break;
        case effMainsChanged:
            if (value == 0) {
                suspend();
            } else {
                resume();
            }
            break;
        case effEditGetRect:
            if (editor != nullptr) return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
            break;
        case effEditOpen:
            if (editor != nullptr) return editor->open(ptr) ? 1 : 0;
            break;
        case effEditClose:
            if (editor != nullptr) editor->close();
            break;
        case effEditIdle:
            if (editor != nullptr) editor->idle();
            break;
        case effIdentify: return kEffectIdentity;
        case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk: return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
        default: break;  // effGetVu and the editor opcodes without an action
    }
    return 0;
}
