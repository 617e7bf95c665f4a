#include "clap_editor.h"

#include <cstring>

namespace slicecast {

namespace {

template <typename Extension>
const Extension* hostExtension(const clap::Host* host, const char* id) noexcept {
    if (host == nullptr || host->getExtension == nullptr) return nullptr;
    return static_cast<const Extension*>(host->getExtension(host, id));
}

}  // namespace

bool ClapEditor::supports(const char* api, bool isFloating) noexcept {
    return !isFloating && api != nullptr && std::strcmp(api, editor::kWindowSystem.name) == 0;
}

std::unique_ptr<ClapEditor> ClapEditor::create(const clap::Host* host, ClapParameters& parameters,
                                               ClapEditMailbox& mailbox, SummaryRing& ring) {
    std::unique_ptr<ClapEditor> editor(new ClapEditor(host, parameters, mailbox, ring));
    const bool timed = editor->timers_ != nullptr && editor->timers_->registerTimer != nullptr &&
                       editor->timers_->unregisterTimer != nullptr;
    // Without the host's timer an X11 editor would never run: say no rather
    // than hang.
    if (editor::kWindowSystem.drivenByHostLoop && !timed) return nullptr;
    return editor;
}

ClapEditor::ClapEditor(const clap::Host* host, ClapParameters& parameters, ClapEditMailbox& mailbox,
                       SummaryRing& ring)
    : host_(host),
      timers_(hostExtension<clap::HostTimerSupport>(host, clap::kExtTimerSupport)),
      descriptors_(hostExtension<clap::HostPosixFdSupport>(host, clap::kExtPosixFdSupport)),
      hostParams_(hostExtension<clap::HostParams>(host, clap::kExtParams)),
      parameters_(parameters),
      mailbox_(mailbox),
      picture_(&ring),
      view_(*this, &picture_) {}

ClapEditor::~ClapEditor() {
    // The host stops calling before the window and its connection go.
    leaveHostLoop();
    view_.close();
}

bool ClapEditor::size(std::uint32_t* width, std::uint32_t* height) const noexcept {
    if (width == nullptr || height == nullptr) return false;
    *width = static_cast<std::uint32_t>(view_.width());
    *height = static_cast<std::uint32_t>(view_.height());
    return true;
}

bool ClapEditor::takesSize(std::uint32_t width, std::uint32_t height) const noexcept {
    return width == static_cast<std::uint32_t>(view_.width()) && height == static_cast<std::uint32_t>(view_.height());
}

bool ClapEditor::setParent(const clap::Window* window) {
    if (window == nullptr || !supports(window->api, false)) return false;
    leaveHostLoop();
    const auto parent = editor::kWindowSystem.drivenByHostLoop
                            ? static_cast<editor::NativeParent>(window->handle.x11)
                            : reinterpret_cast<editor::NativeParent>(window->handle.win32);
    if (!view_.open(parent)) return false;
    if (!editor::kWindowSystem.drivenByHostLoop) return true;
    clap::Id timer = clap::kInvalidId;
    if (timers_->registerTimer(host_, editor::kTickMilliseconds, &timer)) timer_ = timer;
    // Without descriptor support the timer pumps the window's events too.
    const int descriptor = view_.eventDescriptor();
    if (descriptors_ != nullptr && descriptors_->registerFd != nullptr && descriptors_->unregisterFd != nullptr &&
        descriptor >= 0 && descriptors_->registerFd(host_, descriptor, clap::kPosixFdRead)) {
        descriptor_ = descriptor;
    }
    return true;
}

bool ClapEditor::show() noexcept {
    view_.show();
    return view_.isOpen();
}

bool ClapEditor::hide() noexcept {
    view_.hide();
    return view_.isOpen();
}

void ClapEditor::onTimer(clap::Id timer) noexcept {
    if (timer_ == timer) view_.tick();
}

void ClapEditor::onFd(int fd) noexcept {
    if (fd == descriptor_) view_.dispatchEvents();
}

void ClapEditor::leaveHostLoop() noexcept {
    if (descriptor_ >= 0) descriptors_->unregisterFd(host_, descriptor_);
    descriptor_ = -1;
    if (timer_) timers_->unregisterTimer(host_, *timer_);
    timer_.reset();
}

double ClapEditor::plainValue(ParameterIndex parameter) const { return parameters_.get(parameter); }

void ClapEditor::beginEdit(ParameterIndex parameter) {
    mailbox_.begin(parameter);
    requestFlush();
}

void ClapEditor::changeEdit(ParameterIndex parameter, double plain) {
    parameters_.set(parameter, plain);
    mailbox_.change(parameter, parameters_.get(parameter));
    requestFlush();
}

void ClapEditor::endEdit(ParameterIndex parameter) {
    mailbox_.end(parameter);
    requestFlush();
}

void ClapEditor::requestFlush() const noexcept {
    if (hostParams_ != nullptr && hostParams_->requestFlush != nullptr) {
        hostParams_->requestFlush(host_);
    } else if (host_ != nullptr && host_->requestProcess != nullptr) {
        host_->requestProcess(host_);
    }
}

}  // namespace slicecast
