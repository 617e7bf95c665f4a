// The LV2 edition's side of its editor: whether one is open, from the
// editor's messages on the control port (lv2_editor_protocol.h), and the
// notify port the run's summary records go to while it is.
#pragma once

#include <cstdint>

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include "block_summariser.h"
#include "lv2_editor_protocol.h"

namespace slicecast {

class Lv2EditorLink final : public SummarySink {
public:
    // map may be null: then no editor is ever heard of.
    Lv2EditorLink(double sampleRate, const LV2_URID_Map* map) noexcept;

    void connectNotify(LV2_Atom_Sequence* port) noexcept { notify_ = port; }

    // At the start of a run: the editor's messages anywhere in the block
    // (hosts stamp them at its end as often as not) take effect for the
    // whole of it, and the notify port gets a fresh sequence. Answers the
    // summariser while an editor is open, else null.
    BlockSummariser* beginRun(const LV2_Atom_Sequence* control, std::uint32_t frames) noexcept;
    // At its end: the open time counts down by the run's frames.
    void endRun(std::uint32_t frames) noexcept;

    void take(const SummaryRecord& record) noexcept override;

private:
    void readMessages(const LV2_Atom_Sequence& control) noexcept;

    EditorUrids urids_;
    LV2_Atom_Forge forge_{};
    LV2_Atom_Forge_Frame sequence_{};
    bool writing_ = false;
    LV2_Atom_Sequence* notify_ = nullptr;
    // Frames of audio the editor counts as open for, from its last
    // #EditorShown on.
    double timeoutFrames_;
    double openFrames_ = 0.0;
    BlockSummariser summariser_;
};

}  // namespace slicecast
