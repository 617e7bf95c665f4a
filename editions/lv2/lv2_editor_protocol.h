// What the LV2 edition and its editor say to each other through the host,
// the editor being a separate binary that sees only ports:
// - on the control port, the editor's atom:Object of type #EditorShown when
//   it opens and then about once a second while it stays open, and one of
//   type #EditorHidden when it closes. Hosts destroy an editor whenever its
//   window closes, and some never clean it up when they are killed, so the
//   plug-in counts an editor as open only for kEditorTimeoutSeconds of
//   audio after the last #EditorShown;
// - on the notify port, while an editor is open, one atom:Object of type
//   #Summary per summary record of the run, its #record property an
//   atom:Chunk holding the record's used bytes (live_summary.h), as this
//   build lays them out: the editor is built with the plug-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include "live_summary.h"

namespace slicecast {

constexpr double kEditorTimeoutSeconds = 5.0;
// The notify port's declared size (rsz:minimumSize in slicecast.ttl): the
// records of a run of 8192 frames in the shortest update period at 300 BPM
// and 48 kHz, with room to spare. Some hosts give exactly this much.
constexpr std::uint32_t kNotifyPortBytes = 32768;

// All 0 without urid:map.
struct EditorUrids {
    LV2_URID atomBlank = 0;
    LV2_URID atomObject = 0;
    LV2_URID atomChunk = 0;
    LV2_URID atomSequence = 0;
    LV2_URID editorShown = 0;
    LV2_URID editorHidden = 0;
    LV2_URID summary = 0;
    LV2_URID record = 0;

    static EditorUrids mapped(const LV2_URID_Map& map) noexcept;
};

// What an editor message on the control port says.
enum class EditorMessage { none, shown, hidden };

// The editor message an atom is, if it is one.
EditorMessage editorMessageOf(const LV2_Atom& atom, const EditorUrids& urids) noexcept;

// The bytes one summary event takes in a sequence, header included.
constexpr std::size_t summaryEventBytes(const SummaryRecord& record) noexcept {
    const auto padded = [](std::size_t n) { return (n + 7) / 8 * 8; };
    return sizeof(LV2_Atom_Event) + sizeof(LV2_Atom_Object_Body) + sizeof(LV2_Atom_Property_Body) +
           padded(usedBytesOf(record.header));
}

// Writes one summary event at frame 0 into the sequence forge is writing;
// false, and nothing written, when it does not fit.
bool forgeSummary(LV2_Atom_Forge& forge, const EditorUrids& urids, const SummaryRecord& record) noexcept;

// Writes an editor message (an atom:Object, no event header).
LV2_Atom_Forge_Ref forgeEditorMessage(LV2_Atom_Forge& forge, const EditorUrids& urids, EditorMessage message) noexcept;

// The record a #Summary object holds, if atom is one whose chunk is a whole
// record of this layout.
std::optional<SummaryRecord> summaryOf(const LV2_Atom& atom, const EditorUrids& urids) noexcept;

}  // namespace slicecast
