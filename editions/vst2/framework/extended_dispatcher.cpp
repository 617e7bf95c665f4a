// The extended dispatcher: opcodes 25 to 79, one dense switch; everything
// else, and the values in that range it leaves undecoded, go on unchanged to
// the core dispatcher.
#include "extended_effect.h"

#include "float_to_int.h"

namespace {
VstInt32 low32(VstIntPtr value) { return static_cast<VstInt32>(value); }
VstIntPtr flag(bool answer) { return answer ? 1 : 0; }
}  // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (static_cast<std::uint32_t>(opcode) - static_cast<std::uint32_t>(effProcessEvents) >
        static_cast<std::uint32_t>(effGetNumMidiOutputChannels - effProcessEvents)) {
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }

    switch (opcode) {
        case effProcessEvents: return processEvents(static_cast<VstEvents*>(ptr));
        case effCanBeAutomated: return flag(canParameterBeAutomated(index));
        case effString2Parameter: return flag(string2parameter(index, static_cast<char*>(ptr)));
        case effGetProgramNameIndexed:
            return flag(getProgramNameIndexed(low32(value), index, static_cast<char*>(ptr)));
        case effGetInputProperties: return flag(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
        case effGetOutputProperties: return flag(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
        case effGetPlugCategory: return getPlugCategory();
        case effOfflineNotify: return flag(offlineNotify(static_cast<VstAudioFile*>(ptr), low32(value), index != 0));
        case effOfflinePrepare: return flag(offlinePrepare(static_cast<VstOfflineTask*>(ptr), low32(value)));
        case effOfflineRun: return flag(offlineRun(static_cast<VstOfflineTask*>(ptr), low32(value)));
        case effProcessVarIo: return flag(processVariableIo(static_cast<VstVariableIo*>(ptr)));
        case effSetSpeakerArrangement:
            return flag(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                              static_cast<VstSpeakerArrangement*>(ptr)));
        case effSetBypass: return flag(setBypass(value != 0));
        case effGetEffectName: return flag(getEffectName(static_cast<char*>(ptr)));
        case effGetVendorString: return flag(getVendorString(static_cast<char*>(ptr)));
        case effGetProductString: return flag(getProductString(static_cast<char*>(ptr)));
        case effGetVendorVersion: return getVendorVersion();
        case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
        case effCanDo: return canDo(static_cast<char*>(ptr));
        case effGetTailSize: return getTailSize();
        case effGetParameterProperties:
            return flag(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
        case effGetVstVersion: return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp:
        case effSetEditKnobMode: return dispatchEditorKey(opcode, index, value, opt);
        case effGetMidiProgramName: return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
        case effGetCurrentMidiProgram: return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
        case effGetMidiProgramCategory:
            return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
        case effHasMidiProgramsChanged: return flag(hasMidiProgramsChanged(index));
        case effGetMidiKeyName: return flag(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
        case effBeginSetProgram: return flag(beginSetProgram());
        case effEndSetProgram: return flag(endSetProgram());
        case effGetSpeakerArrangement:
            return flag(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                              static_cast<VstSpeakerArrangement**>(ptr)));
        case effShellGetNextPlugin: return getNextShellPlugin(static_cast<char*>(ptr));
        case effStartProcess: return startProcess();
        case effStopProcess: return stopProcess();
        case effSetTotalSampleToProcess: return setTotalSampleToProcess(low32(value));
        case effSetPanLaw: return flag(setPanLaw(low32(value), opt));
        case effBeginLoadBank: return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
        case effBeginLoadProgram: return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
        case effSetProcessPrecision: return flag(setProcessPrecision(low32(value)));
        case effGetNumMidiInputChannels: return getNumMidiInputChannels();
        case effGetNumMidiOutputChannels: return getNumMidiOutputChannels();
        default: return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

VstIntPtr AudioEffectX::dispatchEditorKey(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
    if (editor == nullptr) return 0;
    if (opcode == effSetEditKnobMode) return flag(editor->setKnobMode(low32(value)));

    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value);
    key.modifier = static_cast<unsigned char>(truncateToInt32(opt));
    return flag(opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key));
}

// Hosts always pass both places, but a null one costs a test to survive.
bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    if (input != nullptr) *input = nullptr;
    if (output != nullptr) *output = nullptr;
    return false;
}
