#include "fake_window_system.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "cp932_conversion.h"
#include "text/cp932_text.h"

namespace tovimo::testing {

namespace {

constexpr const char* ButtonClass = "Button";

char UpperAsciiChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// FindWindowExA compares class names and captions without regard to letter
// case; the bytes of a double-byte character are compared as they are.
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (UpperAsciiChar(a[i]) != UpperAsciiChar(b[i])) {
            return false;
        }
    }
    return true;
}

// Copies as WM_GETTEXT and GetClassNameA do: at most maxCount - 1 bytes and a zero.
int CopyOut(const std::string& text, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    const int count = std::min(static_cast<int>(text.size()), maxCount - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
    buffer[count] = '\0';
    return count;
}

}  // namespace

struct FakeWindowSystem::Window {
    WindowHandle handle = 0;
    WindowHandle parent = 0;  // for a child window
    WindowHandle owner = 0;   // for an owned popup
    std::string className;
    std::string text;
    std::vector<WindowHandle> children;  // creation order
    FakeStandin* host = nullptr;         // the stand-in whose window it is
    std::uint32_t processId = 0;         // SetProcessId; 0: the host's or the test's
    bool buttonDown = false;
    int presses = 0;
    std::int64_t hungSince = -1;  // HangWindow
    bool unicode = false;         // IsWindowUnicode
    int claimedLength = -1;       // ClaimTextLength
};

std::string SentMessage::Text() const { return bytes.substr(0, bytes.find('\0')); }

std::u16string SentMessage::Units() const {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit == 0) break;
        units.push_back(unit);
    }
    return units;
}

// ---- FakeStandin ------------------------------------------------------------------

FakeStandin::FakeStandin(FakeWindowSystem& system, standin::StandinOptions options)
    : system_(system), startedAt_(system.clock_.NowMs()), model_(*this, std::move(options)) {}

FakeStandin::~FakeStandin() {
    for (const auto& timer : timers_) system_.clock_.Cancel(timer.second);
}

std::vector<standin::LogEntry> FakeStandin::Log() const {
    std::vector<standin::LogEntry> entries;
    for (const auto& line : log_)
        if (auto entry = standin::ParseLogLine(line)) entries.push_back(*entry);
    return entries;
}

std::vector<standin::LogEntry> FakeStandin::Log(std::string_view kind) const {
    return standin::EntriesOfKind(Log(), kind);
}

std::vector<TimedText> FakeStandin::Typed() const {
    std::vector<TimedText> typed;
    for (const auto& entry : Log("copydata"))
        if (entry.Field(0) == "1") typed.push_back({startedAt_ + entry.ms, entry.Field(2)});
    return typed;
}

std::vector<std::string> FakeStandin::Prompts() const {
    std::vector<std::string> prompts;
    for (const auto& entry : Log("prompt")) prompts.push_back(entry.Field(0));
    return prompts;
}

bool FakeStandin::PressButton(const std::string& caption) {
    const WindowHandle dialog = model_.DialogWindow();
    if (!dialog) return false;
    const WindowHandle button = system_.FindWindowEx(dialog, 0, ButtonClass, caption.c_str());
    if (!button) return false;
    system_.SendLButtonDown(button);
    system_.SendLButtonUp(button);
    return true;
}

standin::WindowId FakeStandin::CreateFrameWindow(const std::string& className, const std::string& title) {
    return system_.Create(0, 0, className, title, this);
}

standin::WindowId FakeStandin::CreateChildWindow(standin::WindowId parent, const std::string& className,
                                                 const std::string& text) {
    return system_.Create(parent, 0, className, text, this);
}

standin::WindowId FakeStandin::CreateDialogWindow(standin::WindowId owner, const std::string& title) {
    return system_.Create(0, owner, "StandinDialog", title, this);
}

standin::WindowId FakeStandin::CreateButton(standin::WindowId dialog, const std::string& caption) {
    return system_.Create(dialog, 0, ButtonClass, caption, this);
}

void FakeStandin::SetText(standin::WindowId window, const std::string& text) {
    system_.SetText(window, text);
}

void FakeStandin::DestroyWindow(standin::WindowId window) { system_.RemoveWindow(window); }

int FakeStandin::StartTimer(int delayMs) {
    const int id = nextTimer_++;
    const int clockId = system_.clock_.ScheduleAfter(delayMs, [this, id] {
        timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                     [id](const auto& timer) { return timer.first == id; }),
                      timers_.end());
        if (!ended_) model_.OnTimer(id);
    });
    timers_.emplace_back(id, clockId);
    return id;
}

void FakeStandin::CancelTimer(int id) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->first == id) {
            system_.clock_.Cancel(it->second);
            timers_.erase(it);
            return;
        }
    }
}

std::int64_t FakeStandin::NowMs() { return system_.clock_.NowMs() - startedAt_; }

std::optional<std::string> FakeStandin::ReadFile(const std::string& path) { return system_.files_.ReadFile(path); }

bool FakeStandin::WriteFile(const std::string& path, const std::string& content) {
    return system_.files_.WriteFile(path, content);
}

bool FakeStandin::FileExists(const std::string& path) { return system_.files_.FileExists(path); }

std::string FakeStandin::Cp932FromUtf16(std::u16string_view text) { return EncodeCp932(text); }

void FakeStandin::AppendLog(const std::string& line) { log_.push_back(line); }

void FakeStandin::Quit() {
    ended_ = true;
    for (const auto& timer : timers_) system_.clock_.Cancel(timer.second);
    timers_.clear();
}

void FakeStandin::EndAbruptly() {
    ended_ = true;
    for (const auto& timer : timers_) system_.clock_.Cancel(timer.second);
    timers_.clear();
    std::vector<WindowHandle> own;
    for (const WindowHandle window : system_.zOrder_)
        if (const auto* found = system_.Find(window); found && found->host == this) own.push_back(window);
    for (const WindowHandle window : own) system_.RemoveWindow(window);
}

void FakeStandin::Crash() {
    crashed_ = true;
    EndAbruptly();
}

void FakeStandin::Terminate() {
    if (ended_) return;
    terminated_ = true;
    EndAbruptly();
}

// A stopped thread runs no timers either.
void FakeStandin::Hang() {
    hungSince_ = system_.clock_.NowMs();
    for (const auto& timer : timers_) system_.clock_.Cancel(timer.second);
    timers_.clear();
}

// ---- FakeWindowSystem: the windows ---------------------------------------------------

FakeWindowSystem::FakeWindowSystem(VirtualClock& clock, MemoryFiles& files) : clock_(clock), files_(files) {
    // Files written in this world carry its time, so a rewrite can be told.
    files_.SetClock([&clock] { return clock.NowMs(); });
}

FakeWindowSystem::~FakeWindowSystem() = default;

FakeWindowSystem::Window* FakeWindowSystem::Find(WindowHandle window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowHandle FakeWindowSystem::Create(WindowHandle parent, WindowHandle owner, const std::string& className,
                                      const std::string& text, FakeStandin* host) {
    if (parent && !Find(parent)) return 0;  // CreateWindowEx fails without its parent
    if (owner && !Find(owner)) owner = 0;
    auto window = std::make_unique<Window>();
    window->handle = nextHandle_;
    nextHandle_ += 0x10;
    window->parent = parent;
    window->owner = parent ? 0 : owner;
    window->className = className;
    window->text = text;
    window->host = host;
    // A program built for Unicode registers all its window classes so.
    window->unicode = host && host->model_.Options().unicode;
    const WindowHandle handle = window->handle;
    windows_.emplace(handle, std::move(window));
    if (parent) Find(parent)->children.push_back(handle);
    else zOrder_.insert(zOrder_.begin(), handle);
    return handle;
}

WindowHandle FakeWindowSystem::AddTopWindow(const std::string& title, const std::string& className,
                                            WindowHandle owner) {
    return Create(0, owner, className, title, nullptr);
}

WindowHandle FakeWindowSystem::AddChildWindow(WindowHandle parent, const std::string& text,
                                              const std::string& className) {
    return Create(parent, 0, className, text, nullptr);
}

WindowHandle FakeWindowSystem::AddButton(WindowHandle parent, const std::string& caption) {
    return Create(parent, 0, ButtonClass, caption, nullptr);
}

void FakeWindowSystem::SetText(WindowHandle window, const std::string& text) {
    if (Window* found = Find(window)) found->text = text;
}

void FakeWindowSystem::MakeUnicode(WindowHandle window) {
    if (Window* found = Find(window)) found->unicode = true;
}

void FakeWindowSystem::RemoveWindow(WindowHandle window) {
    Window* found = Find(window);
    if (!found) return;
    // The owned popups and the children go first, as DestroyWindow does.
    std::vector<WindowHandle> owned;
    for (const auto& [handle, other] : windows_)
        if (other->owner == window) owned.push_back(handle);
    for (const WindowHandle handle : owned) RemoveWindow(handle);
    const std::vector<WindowHandle> children = found->children;
    for (const WindowHandle child : children) RemoveWindow(child);

    if (found->parent) {
        if (Window* parent = Find(found->parent)) std::erase(parent->children, window);
    } else {
        std::erase(zOrder_, window);
    }
    if (foreground_ == window) foreground_ = 0;
    windows_.erase(window);
}

void FakeWindowSystem::HangWindow(WindowHandle window) {
    if (Window* found = Find(window); found && found->hungSince < 0) found->hungSince = clock_.NowMs();
}

std::int64_t FakeWindowSystem::HungSince(WindowHandle window) const {
    // A child runs on its parent's thread.
    for (const Window* found = Find(window); found; found = Find(found->parent)) {
        if (found->hungSince >= 0) return found->hungSince;
        if (found->host && found->host->hungSince_ >= 0) return found->host->hungSince_;
    }
    return -1;
}

void FakeWindowSystem::WaitUnanswered(WindowHandle window, int timeoutMs, bool abortIfHung) {
    ++unansweredSends_;
    const std::int64_t since = HungSince(window);
    if (abortIfHung && clock_.NowMs() - since >= HungAfterMs) return;
    clock_.Sleep(timeoutMs);
}

void FakeWindowSystem::BringToFront(WindowHandle window) {
    if (std::find(zOrder_.begin(), zOrder_.end(), window) == zOrder_.end()) return;
    std::erase(zOrder_, window);
    zOrder_.insert(zOrder_.begin(), window);
}

void FakeWindowSystem::SendToBack(WindowHandle window) {
    if (std::find(zOrder_.begin(), zOrder_.end(), window) == zOrder_.end()) return;
    std::erase(zOrder_, window);
    zOrder_.push_back(window);
}

bool FakeWindowSystem::Exists(WindowHandle window) const { return Find(window) != nullptr; }

std::string FakeWindowSystem::TextOf(WindowHandle window) const {
    const Window* found = Find(window);
    return found ? found->text : std::string();
}

std::string FakeWindowSystem::ClassOf(WindowHandle window) const {
    const Window* found = Find(window);
    return found ? found->className : std::string();
}

WindowHandle FakeWindowSystem::ParentOf(WindowHandle window) const {
    const Window* found = Find(window);
    return found ? found->parent : 0;
}

WindowHandle FakeWindowSystem::OwnerOf(WindowHandle window) const {
    const Window* found = Find(window);
    return found ? found->owner : 0;
}

std::vector<WindowHandle> FakeWindowSystem::TopWindows() const { return zOrder_; }

std::vector<WindowHandle> FakeWindowSystem::ChildrenOf(WindowHandle parent) const {
    const Window* found = Find(parent);
    return found ? found->children : std::vector<WindowHandle>{};
}

WindowHandle FakeWindowSystem::FindTopWindow(const std::string& titlePart) const {
    for (const WindowHandle window : zOrder_)
        if (ContainsText(TextOf(window), titlePart)) return window;
    return 0;
}

int FakeWindowSystem::PressCount(WindowHandle button) const {
    const Window* found = Find(button);
    return found ? found->presses : 0;
}

void FakeWindowSystem::CollectDescendants(WindowHandle parent, std::vector<WindowHandle>& out) const {
    const Window* found = Find(parent);
    if (!found) return;
    for (const WindowHandle child : found->children) {
        out.push_back(child);
        CollectDescendants(child, out);
    }
}

// ---- FakeWindowSystem: WindowSystem ----------------------------------------------------

// Both enumerations take their list first and skip windows that are gone by
// the time their turn comes, so a callback may create or destroy windows.
void FakeWindowSystem::EnumWindows(EnumWindowsProc proc, void* user) {
    const std::vector<WindowHandle> windows = zOrder_;
    for (const WindowHandle window : windows)
        if (Exists(window) && !proc(window, user)) return;
}

void FakeWindowSystem::EnumChildWindows(WindowHandle parent, EnumWindowsProc proc, void* user) {
    if (parent == 0) return EnumWindows(proc, user);  // as Win32 does for a null parent
    std::vector<WindowHandle> windows;
    CollectDescendants(parent, windows);
    for (const WindowHandle window : windows)
        if (Exists(window) && !proc(window, user)) return;
}

WindowHandle FakeWindowSystem::GetParent(WindowHandle window) {
    const Window* found = Find(window);
    if (!found) return 0;
    return found->parent ? found->parent : found->owner;
}

int FakeWindowSystem::GetClassName(WindowHandle window, char* buffer, int maxCount) {
    const Window* found = Find(window);
    return CopyOut(found ? found->className : std::string(), buffer, maxCount);
}

WindowHandle FakeWindowSystem::FindWindowEx(WindowHandle parent, WindowHandle childAfter, const char* className,
                                            const char* caption) {
    std::vector<WindowHandle> candidates;
    if (parent == 0) {
        candidates = zOrder_;
    } else if (const Window* found = Find(parent)) {
        candidates = found->children;
    } else {
        return 0;
    }
    auto start = candidates.begin();
    if (childAfter != 0) {
        start = std::find(candidates.begin(), candidates.end(), childAfter);
        if (start == candidates.end()) return 0;
        ++start;
    }
    for (auto it = start; it != candidates.end(); ++it) {
        const Window* window = Find(*it);
        if (className && !SameIgnoringCase(window->className, className)) continue;
        if (caption && !SameIgnoringCase(window->text, caption)) continue;
        return window->handle;
    }
    return 0;
}

bool FakeWindowSystem::SetForegroundWindow(WindowHandle window) {
    const bool exists = Exists(window);
    Record(MessageKind::SetForeground, window, exists);
    if (exists) foreground_ = window;
    return exists;
}

bool FakeWindowSystem::IsWindow(WindowHandle window) { return Exists(window); }

bool FakeWindowSystem::IsWindowUnicode(WindowHandle window) {
    ++unicodeQueries_;
    const Window* found = Find(window);
    return found && found->unicode;
}

void FakeWindowSystem::ClaimTextLength(WindowHandle window, int length) {
    if (Window* found = Find(window)) found->claimedLength = length;
}

std::uint32_t FakeWindowSystem::GetWindowProcessId(WindowHandle window) {
    const Window* found = Find(window);
    while (found != nullptr && found->parent != 0 && found->processId == 0)
        found = Find(found->parent);
    if (found == nullptr) return 0;
    if (found->processId != 0) return found->processId;
    return found->host ? found->host->processId_ : TestProcessId;
}

void FakeWindowSystem::SetProcessId(WindowHandle window, std::uint32_t processId) {
    if (Window* found = Find(window)) found->processId = processId;
}

int FakeWindowSystem::GetTextLength(WindowHandle window) {
    const Window* found = Find(window);
    if (found && HungSince(window) >= 0) {
        WaitUnanswered(window, TextReadTimeoutMs, true);
        return 0;
    }
    if (found && found->claimedLength >= 0) return found->claimedLength;
    return found ? static_cast<int>(found->text.size()) : 0;
}

int FakeWindowSystem::GetText(WindowHandle window, char* buffer, int maxCount) {
    largestTextBuffer_ = std::max(largestTextBuffer_, maxCount);
    const Window* found = Find(window);
    if (found && HungSince(window) >= 0) {
        WaitUnanswered(window, TextReadTimeoutMs, true);
        found = nullptr;
    }
    return CopyOut(found ? found->text : std::string(), buffer, maxCount);
}

void FakeWindowSystem::Record(MessageKind kind, WindowHandle target, bool delivered, std::uint32_t dwData,
                              std::string bytes, std::uint32_t cbData) {
    messages_.push_back({clock_.NowMs(), kind, target, delivered, dwData, cbData, std::move(bytes)});
}

bool FakeWindowSystem::SendCopyData(WindowHandle target, std::uint32_t dwData, const void* data,
                                    std::uint32_t cbData, int timeoutMs) {
    // The receiver gets its own copy of the bytes, as across processes.
    std::string bytes;
    if (data && cbData > 0) bytes.assign(static_cast<const char*>(data), cbData);
    const Window* window = Find(target);
    const bool hung = window && HungSince(target) >= 0;
    Record(MessageKind::CopyData, target, window != nullptr && !hung, dwData, bytes, cbData);
    if (!window) return false;
    // A busy AutoCAD is not given up on early: the whole bound is waited.
    if (hung) {
        WaitUnanswered(target, timeoutMs, false);
        return false;
    }
    if (!window->host || window->host->ended_ || window->host->MainWindow() != target) return true;
    FakeStandin* host = window->host;
    host->model_.OnCopyData(dwData, bytes.empty() ? nullptr : bytes.data(), cbData);
    // A process that crashed while handling it never answers.
    if (host->Crashed()) return false;
    // It may have hung while handling the text: then the send never returns in time.
    if (host->Hung()) {
        WaitUnanswered(target, timeoutMs, false);
        return false;
    }
    return true;
}

void FakeWindowSystem::PostNull(WindowHandle target) {
    const Window* window = Find(target);
    Record(MessageKind::Null, target, window != nullptr);
    // Posted to a stopped thread, it waits in its queue for ever.
    if (window && HungSince(target) >= 0) return;
    if (!window || !window->host || window->host->ended_ || window->host->MainWindow() != target) return;
    window->host->model_.OnNull();
}

void FakeWindowSystem::SendLButtonDown(WindowHandle target) {
    Window* window = Find(target);
    const bool hung = window && HungSince(target) >= 0;
    Record(MessageKind::LButtonDown, target, window != nullptr && !hung);
    if (hung) return WaitUnanswered(target, ButtonPressTimeoutMs, true);
    if (window) window->buttonDown = true;
}

void FakeWindowSystem::SendLButtonUp(WindowHandle target) {
    Window* window = Find(target);
    const bool hung = window && HungSince(target) >= 0;
    Record(MessageKind::LButtonUp, target, window != nullptr && !hung);
    if (hung) return WaitUnanswered(target, ButtonPressTimeoutMs, true);
    if (!window || !window->buttonDown) return;
    window->buttonDown = false;
    if (!SameIgnoringCase(window->className, ButtonClass)) return;
    ++window->presses;
    if (FakeStandin* host = window->host; host && !host->ended_) host->model_.OnButtonPressed(target);
}

// ---- what was sent ---------------------------------------------------------------------

std::vector<SentMessage> FakeWindowSystem::MessagesTo(WindowHandle target) const {
    std::vector<SentMessage> matching;
    for (const auto& message : messages_)
        if (message.target == target) matching.push_back(message);
    return matching;
}

std::vector<SentMessage> FakeWindowSystem::MessagesOfKind(MessageKind kind) const {
    std::vector<SentMessage> matching;
    for (const auto& message : messages_)
        if (message.kind == kind) matching.push_back(message);
    return matching;
}

std::vector<TimedText> FakeWindowSystem::CopyDataTexts() const {
    std::vector<TimedText> texts;
    for (const auto& message : messages_)
        if (message.kind == MessageKind::CopyData) texts.push_back({message.timeMs, message.Text()});
    return texts;
}

// ---- stand-ins -----------------------------------------------------------------------------

FakeStandin& FakeWindowSystem::StartStandin(const standin::StandinOptions& options) {
    standins_.push_back(std::make_unique<FakeStandin>(*this, options));
    FakeStandin& standin = *standins_.back();
    if (reusedProcessId_ != 0) {
        standin.processId_ = std::exchange(reusedProcessId_, 0);
    } else {
        standin.processId_ = nextProcessId_;
        nextProcessId_ += 4;
    }
    standin.model_.Start();
    if (onStandinStarted) onStandinStarted(standin);
    return standin;
}

FakeStandin& FakeWindowSystem::StartStandin(const std::vector<std::string>& arguments) {
    return StartStandin(standin::ParseOptions(arguments));
}

std::vector<FakeStandin*> FakeWindowSystem::Standins() const {
    std::vector<FakeStandin*> all;
    for (const auto& standin : standins_) all.push_back(standin.get());
    return all;
}

FakeStandin* FakeWindowSystem::StandinByProcessId(std::uint32_t processId) const {
    // An id given again belongs to the newest process that has it.
    for (auto it = standins_.rbegin(); it != standins_.rend(); ++it)
        if ((*it)->processId_ == processId) return it->get();
    return nullptr;
}

FakeStandin* FakeWindowSystem::LatestStandin() const {
    return standins_.empty() ? nullptr : standins_.back().get();
}

}  // namespace tovimo::testing
