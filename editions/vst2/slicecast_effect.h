// SlicecastVST: the tempo-locked stereo slice-repeat effect as the plug-in
// interface presents it. A thin adapter: it keeps the six parameters, answers
// the host's texts, asks the host for its transport once per block and hands
// the audio to the sound.
#pragma once

#include <cstddef>
#include <new>

#include "extended_effect.h"
#include "slicecast_sound.h"

// Final, so that the calls it makes of its own virtual members (the time
// query of every block) go straight to them.
class SlicecastVST final : public AudioEffectX {
public:
    explicit SlicecastVST(audioMasterCallback host);
    ~SlicecastVST() override = default;

    // Instances come from zero-filled heap storage (see SliceRepeater);
    // allocation failure answers null instead of throwing.
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* storage) noexcept;

    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;

private:
    // Written by the host's control thread, read by the audio thread.
    RelaxedAtomic<VstInt32> waveLengthIndex{5};
    RelaxedAtomic<VstInt32> updatePeriodIndex{3};
    RelaxedAtomic<float> rate{0.7f};
    RelaxedAtomic<float> fadeOut{0.0f};
    RelaxedAtomic<float> decayRate{1.0f};
    RelaxedAtomic<float> mix{1.0f};
    // Touched only by processing.
    slicecast::SlicecastSound sound;
};
