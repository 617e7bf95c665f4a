#include "lv2_editor_protocol.h"

#include <cstring>

#include <lv2/atom/util.h>

#include "lv2_identity.h"

namespace slicecast {

EditorUrids EditorUrids::mapped(const LV2_URID_Map& map) noexcept {
    const auto id = [&map](const char* uri) { return map.map(map.handle, uri); };
    return {id(LV2_ATOM__Blank), id(LV2_ATOM__Object),   id(LV2_ATOM__Chunk), id(LV2_ATOM__Sequence),
            id(kLv2EditorShownUri), id(kLv2EditorHiddenUri), id(kLv2SummaryUri), id(kLv2SummaryRecordUri)};
}

namespace {

bool isObject(const LV2_Atom& atom, const EditorUrids& urids) noexcept {
    return urids.atomObject != 0 && (atom.type == urids.atomObject || atom.type == urids.atomBlank) &&
           atom.size >= sizeof(LV2_Atom_Object_Body);
}

}  // namespace

EditorMessage editorMessageOf(const LV2_Atom& atom, const EditorUrids& urids) noexcept {
    if (!isObject(atom, urids)) return EditorMessage::none;
    const auto& object = reinterpret_cast<const LV2_Atom_Object&>(atom);
    if (object.body.otype == urids.editorShown) return EditorMessage::shown;
    if (object.body.otype == urids.editorHidden) return EditorMessage::hidden;
    return EditorMessage::none;
}

bool forgeSummary(LV2_Atom_Forge& forge, const EditorUrids& urids, const SummaryRecord& record) noexcept {
    // Checked whole beforehand: the forge stops at the first piece that does
    // not fit, which would leave half an event in the sequence.
    if (forge.buf == nullptr || forge.offset > forge.size || forge.size - forge.offset < summaryEventBytes(record))
        return false;
    const auto bytes = static_cast<std::uint32_t>(usedBytesOf(record.header));
    LV2_Atom_Forge_Frame frame;
    lv2_atom_forge_frame_time(&forge, 0);
    lv2_atom_forge_object(&forge, &frame, 0, urids.summary);
    lv2_atom_forge_key(&forge, urids.record);
    lv2_atom_forge_atom(&forge, bytes, urids.atomChunk);
    lv2_atom_forge_write(&forge, &record, bytes);
    lv2_atom_forge_pop(&forge, &frame);
    return true;
}

LV2_Atom_Forge_Ref forgeEditorMessage(LV2_Atom_Forge& forge, const EditorUrids& urids,
                                      EditorMessage message) noexcept {
    LV2_Atom_Forge_Frame frame;
    const LV2_Atom_Forge_Ref object = lv2_atom_forge_object(
        &forge, &frame, 0, message == EditorMessage::shown ? urids.editorShown : urids.editorHidden);
    if (object != 0) lv2_atom_forge_pop(&forge, &frame);
    return object;
}

std::optional<SummaryRecord> summaryOf(const LV2_Atom& atom, const EditorUrids& urids) noexcept {
    if (!isObject(atom, urids)) return std::nullopt;
    const auto& object = reinterpret_cast<const LV2_Atom_Object&>(atom);
    if (object.body.otype != urids.summary) return std::nullopt;
    const LV2_Atom* chunk = nullptr;
    LV2_ATOM_OBJECT_FOREACH (&object, property) {
        if (property->key == urids.record && property->value.type == urids.atomChunk) chunk = &property->value;
    }
    if (chunk == nullptr || chunk->size < sizeof(SummaryHeader) || chunk->size > sizeof(SummaryRecord))
        return std::nullopt;
    SummaryRecord record;
    std::memcpy(&record, LV2_ATOM_BODY_CONST(chunk), chunk->size);
    const SummaryHeader& header = record.header;
    if (header.columnCount < 1 || header.columnCount > kRecordColumns || usedBytesOf(header) != chunk->size)
        return std::nullopt;
    return record;
}

}  // namespace slicecast
