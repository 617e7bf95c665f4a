// What a host cannot see of effClose: the object is destroyed exactly once,
// through its virtual destructor, and the answer is 1 whatever the
// dispatcher said.
#include <gtest/gtest.h>

#include "extended_effect.h"

namespace {

int destructions = 0;
int closeCalls = 0;

class CountingEffect : public AudioEffectX {
public:
    CountingEffect() : AudioEffectX(nullptr, 1, 0) {}
    ~CountingEffect() override { ++destructions; }
    void close() override { ++closeCalls; }
    void processReplacing(float**, float**, VstInt32) override {}
};

}  // namespace

TEST(Close, DestroysTheObjectOnceAndAnswersOne) {
    destructions = 0;
    closeCalls = 0;
    AEffect* effect = (new CountingEffect)->getAeffect();
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(closeCalls, 1);
    EXPECT_EQ(destructions, 1);
}

TEST(Close, OtherOpcodesNeverDestroy) {
    destructions = 0;
    auto* object = new CountingEffect;
    AEffect* effect = object->getAeffect();
    for (VstInt32 opcode = -2; opcode <= 80; ++opcode) {
        if (opcode == effClose) continue;
        char buffer[256] = {};
        void* ptr = (opcode == effGetChunk || opcode == effEditGetRect || opcode == effGetSpeakerArrangement)
                        ? nullptr
                        : buffer;
        effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
    }
    EXPECT_EQ(destructions, 0);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(destructions, 1);
}
