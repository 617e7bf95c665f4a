#include "lv2_editor_link.h"

namespace slicecast {

Lv2EditorLink::Lv2EditorLink(double sampleRate, const LV2_URID_Map* map) noexcept
    : timeoutFrames_(kEditorTimeoutSeconds * sampleRate) {
    if (map == nullptr) return;
    urids_ = EditorUrids::mapped(*map);
    lv2_atom_forge_init(&forge_, const_cast<LV2_URID_Map*>(map));
}

void Lv2EditorLink::readMessages(const LV2_Atom_Sequence& control) noexcept {
    // Every event is read only where it lies wholly within the sequence's
    // own size.
    const std::uint32_t size = control.atom.size;
    if (control.atom.type != urids_.atomSequence || size < sizeof(LV2_Atom_Sequence_Body)) return;
    const auto* body = reinterpret_cast<const std::uint8_t*>(&control.body);
    for (std::uint32_t offset = sizeof(LV2_Atom_Sequence_Body); size - offset >= sizeof(LV2_Atom_Event);) {
        const auto* event = reinterpret_cast<const LV2_Atom_Event*>(body + offset);
        const std::uint32_t atomSize = event->body.size;
        if (atomSize > size - offset - sizeof(LV2_Atom_Event)) return;
        const EditorMessage message = editorMessageOf(event->body, urids_);
        if (message == EditorMessage::shown) openFrames_ = timeoutFrames_;
        if (message == EditorMessage::hidden) openFrames_ = 0.0;
        const std::uint64_t next = offset + sizeof(LV2_Atom_Event) + lv2_atom_pad_size(atomSize);
        if (next >= size) return;
        offset = static_cast<std::uint32_t>(next);
    }
}

BlockSummariser* Lv2EditorLink::beginRun(const LV2_Atom_Sequence* control, std::uint32_t) noexcept {
    writing_ = false;
    if (urids_.atomSequence == 0) return nullptr;
    if (control != nullptr) readMessages(*control);
    if (notify_ == nullptr) return nullptr;
    // The host set the port's capacity in its atom's size.
    const std::uint32_t capacity = notify_->atom.size;
    lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<std::uint8_t*>(notify_), sizeof(LV2_Atom) + capacity);
    writing_ = lv2_atom_forge_sequence_head(&forge_, &sequence_, 0) != 0;
    return writing_ && openFrames_ > 0.0 ? &summariser_ : nullptr;
}

void Lv2EditorLink::endRun(std::uint32_t frames) noexcept {
    if (writing_) lv2_atom_forge_pop(&forge_, &sequence_);
    writing_ = false;
    openFrames_ = openFrames_ > frames ? openFrames_ - frames : 0.0;
}

void Lv2EditorLink::take(const SummaryRecord& record) noexcept {
    // A record that no longer fits the port is left out: the editor's page
    // shows a gap until the next page.
    if (writing_) forgeSummary(forge_, urids_, record);
}

}  // namespace slicecast
