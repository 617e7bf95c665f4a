// The CLAP edition's editor: the gui extension's calls on one editor view,
// run through the host's timer and descriptor support where the window
// system needs the host's loop. The hand's edits are applied to the
// plug-in's own parameters at once (the sound and get_value follow them
// whether or not the host calls anything) and posted for the host as
// gesture and value events, which process or flush hand over.
#pragma once

#include <memory>
#include <optional>

#include "clap_abi.h"
#include "clap_edit_mailbox.h"
#include "clap_gui_abi.h"
#include "clap_parameters.h"
#include "editor_view.h"
#include "page_picture.h"
#include "summary_ring.h"

namespace slicecast {

class ClapEditor final : private editor::EditorParameters {
public:
    // Whether this platform's window system is the one asked for, embedded;
    // the same whatever the host offers, so that a host's scan lists the
    // editor.
    static bool supports(const char* api, bool isFloating) noexcept;
    // An editor, or null when the host cannot run one here (no timer where
    // the window needs the host's loop).
    // The picture reads the sound's summaries from ring while the editor
    // lives.
    static std::unique_ptr<ClapEditor> create(const clap::Host* host, ClapParameters& parameters,
                                              ClapEditMailbox& mailbox, SummaryRing& ring);
    ~ClapEditor();

    bool setScale(double scale) { return view_.setScale(scale); }
    bool size(std::uint32_t* width, std::uint32_t* height) const noexcept;
    // Our one size is the only one we take.
    bool takesSize(std::uint32_t width, std::uint32_t height) const noexcept;
    bool setParent(const clap::Window* window);
    bool show() noexcept;
    bool hide() noexcept;
    void onTimer(clap::Id timer) noexcept;
    void onFd(int fd) noexcept;

private:
    ClapEditor(const clap::Host* host, ClapParameters& parameters, ClapEditMailbox& mailbox, SummaryRing& ring);

    double plainValue(ParameterIndex parameter) const override;
    void beginEdit(ParameterIndex parameter) override;
    void changeEdit(ParameterIndex parameter, double plain) override;
    void endEdit(ParameterIndex parameter) override;
    void requestFlush() const noexcept;
    void leaveHostLoop() noexcept;

    const clap::Host* host_;
    const clap::HostTimerSupport* timers_;
    const clap::HostPosixFdSupport* descriptors_;
    const clap::HostParams* hostParams_;
    ClapParameters& parameters_;
    ClapEditMailbox& mailbox_;
    editor::PagePicture picture_;
    editor::EditorView view_;
    std::optional<clap::Id> timer_;
    int descriptor_ = -1;
};

}  // namespace slicecast
