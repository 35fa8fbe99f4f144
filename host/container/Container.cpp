#include "host/container/Container.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "host/container/CommandArgs.h"
#include "host/container/ContainerPlatform.h"
#include "host/store/StoreByName.h"
#include "platform/EffectLog.h"
#include "platform/UserDriver.h"
#include "platform/automation/ComRuntime.h"
#include "platform/files/FileApi.h"
#include "platform/framework/Wnd.h"
#include "platform/mail/RecordingMail.h"
#include "src/control/OrbelStoreProbe.h"

namespace orbel::host {

namespace {

// The table conversation, printed only when asked for or when the script is the host.
bool IsTableEvent(std::string_view name) {
    static constexpr std::string_view kTable[] = {
        "Yield",        "SetTablePos",  "ReadNextRecord", "SelectTable",      "InsertRecord",
        "UpdateRecord", "DeleteRecord", "GetNextOLEID",   "GetNextResourceID"};
    for (std::string_view t : kTable)
        if (t == name) return true;
    return false;
}

}  // namespace

// Prints every event the control fires and hands it on to the host adapter, if there is one.
class Container::EventSink final : public IDispatch {
  public:
    explicit EventSink(Container& container) : container_(container) {}
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        container_.OnEvent(id, args);
        if (container_.adapter_) return container_.adapter_->Invoke(id, kind, args, result);
        return S_OK;
    }

  private:
    Container& container_;
};

Container::Container(ContainerOptions options, std::istream& in, std::ostream& out,
                     std::ostream& err)
    : options_(std::move(options)), out_(out), err_(err), source_(options_.scripts, in) {}

Container::~Container() {
    Shutdown();
    if (!ownTempDir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(ownTempDir_, ignored);
    }
}

bool Container::SetUpTempDir() {
    if (const char* tmp = std::getenv("TMPDIR"); tmp && tmp[0] == '/') {
        tempDir_ = tmp;
        if (tempDir_.back() != '/') tempDir_ += '/';
        return true;
    }
    // A newcomer's shell has no TMPDIR: the run makes a folder of its own, and names it TMPDIR
    // so that the control's temporary files go there as well.
    std::string pattern = "/tmp/orbel-container-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        err_ << "orbel-container: cannot make a temporary folder in /tmp: " << std::strerror(errno)
             << "\n";
        return false;
    }
    ownTempDir_ = pattern;
    setenv("TMPDIR", ownTempDir_.c_str(), 1);
    tempDir_ = ownTempDir_ + "/";
    Print("temporary folder $TMPDIR/ made for this run, removed at its end");
    return true;
}

// ---------------------------------------------------------------------------------------
// Setting up

bool Container::OpenStore() {
    if (options_.store == StoreKind::Scripted) return true;
    const std::string name = options_.store == StoreKind::Memory ? std::string("memory")
                             : options_.store == StoreKind::Sqlite
                                 ? "sqlite:" + options_.sqlitePath
                                 : "postgres:" + options_.conninfo;
    OpenedTableStore opened = OpenStoreByName(name);
    if (!opened) {
        err_ << "orbel-container: " << opened.error << "\n";
        return false;
    }
    store_ = std::move(opened.store);
    // Before anything of the control is shown: a user must know that changes will be refused.
    if (store_->ReadOnly()) Print("notice: " + store_->ReadOnlyReason());
    return true;
}

bool Container::CreateControl() {
    for (const std::string& module : options_.componentModules) {
        std::string error;
        if (RegisterModule(module, &error) != S_OK) {
            err_ << "orbel-container: cannot register " << module << ": " << error << "\n";
            return false;
        }
    }
    form_ = std::make_unique<CWnd>();
    const RECT rect{0, 0, 800, 600};
    if (!form_->Create("OrbelContainerForm", "orbel-container", WS_VISIBLE, rect, kNoWindow, 0)) {
        err_ << "orbel-container: the control did not open its window\n";
        return false;
    }
    // The adapter answers from inside the sink: it is there before the sink is connected.
    std::string error;
    const EmbeddedControl::Options embed{
        options_.modulePath, options_.registerModule ? EmbeddedControl::Registration::Always
                                                     : EmbeddedControl::Registration::IfMissing};
    if (!control_.Create(form_->GetSafeHwnd(), rect, std::make_shared<EventSink>(*this), embed,
                         error)) {
        err_ << "orbel-container: " << error << "\n";
        return false;
    }
    dispatch_ = control_.Dispatch();
    controlWindow_ = control_.Window();
    probe_ = std::dynamic_pointer_cast<IOrbelStoreProbe>(control_.Object());
    platform_->Windows().SetFocus(controlWindow_);

    if (store_) {
        adapter_ = std::make_shared<HostAdapter>(dispatch_, *store_, platform_->Loop());
        adapter_->TakeIdsFromStore();
        adapter_->OnHostError([this](const std::string& reason) { hostError_ = reason; });
        if (options_.traceTable)
            adapter_->OnReply([this](const StoreReply& reply) { PrintReply(reply); });
        StartFollowing();
    }
    return true;
}

void Container::Shutdown() {
    if (!platform_) return;
    control_.Destroy();
    if (form_) form_->DestroyWindow();
    form_.reset();
    follower_.reset();
    adapter_.reset();
    probe_.reset();
    dispatch_.reset();
    store_.reset();
    driver_.reset();
    user_ = nullptr;
    platform::SetEffectListener({});
    platform::UninstallPlatform();
    platform_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Running

int Container::Run() {
    for (const std::string& file : source_.Unreadable()) {
        err_ << "orbel-container: cannot read " << file << "\n";
        return kExitScriptError;
    }
    std::string problem;
    ContainerPlatform installed = InstallContainerPlatform(options_.gui, &problem);
    if (!installed.platform) {
        err_ << "orbel-container: cannot show the control: " << problem << "\n";
        return kExitScriptError;
    }
    platform_ = installed.platform;
    user_ = installed.user;
    driver_ = std::move(installed.driver);
    platform::ScriptedUser& user = *user_;
    user.SetTranscriptListener([this](const std::string& line) {
        Print(line);
        // The host's reason follows the control's own message about the failure.
        if (line.starts_with("box ")) PrintHostError();
        if (line.starts_with("dialog ") && line.ends_with(" shown")) AnswerModeless();
    });
    user.SetFailureListener([this](const std::string& what) { Fail(what); });
    if (installed.recordingShell)
        installed.recordingShell->SetListener([this](const std::string& line) { Print(line); });
    platform::SetEffectListener([this](const std::string& line) { Print(line); });
    if (!SetUpTempDir()) {
        Shutdown();
        return kExitScriptError;
    }
    if (!OpenStore() || !CreateControl()) {
        Shutdown();
        return kExitScriptError;
    }

    ScheduleLine();
    MSG msg;
    while (platform_->Loop().GetMessage(msg)) platform_->DispatchMessage(msg);

    PrintHostError();
    location_ = source_.Last();
    if (!scriptError_) {
        for (const std::string& unmet : user.Unmet()) Fail("never asked for: " + unmet);
        for (const ModelessAnswer& a : modelessAnswers_)
            Fail("never shown: modeless " + std::to_string(a.templateId));
        if (auto* mail = dynamic_cast<platform::RecordingMail*>(&platform::MailService()))
            if (mail->UnusedAnswers() > 0) Fail("never asked for: a mail answer");
    }
    Shutdown();
    if (scriptError_) return kExitScriptError;
    return failures_ ? kExitFailed : kExitOk;
}

void Container::ScheduleLine(std::uint32_t delayMs) {
    if (lineScheduled_ || ended_) return;
    lineScheduled_ = true;
    auto run = [this] { RunLine(); };
    if (delayMs)
        platform_->Loop().PostDelayedTask(delayMs, run);
    else
        platform_->Loop().PostTask(run);
}

void Container::RunLine() {
    lineScheduled_ = false;
    if (ended_) return;
    if (holdLines_) {
        lineHeld_ = true;
        return;
    }
    // With a store, the host's answers go first: a script line never runs inside a wait that
    // the store is answering.
    if (adapter_ && adapter_->Answering()) {
        ScheduleLine();
        return;
    }
    // A failure the control showed no message for is told before the next line runs.
    PrintHostError();
    std::string text;
    ScriptLocation where;
    if (!source_.Next(text, where)) {
        ended_ = true;
    } else {
        const ScriptLocation outer = location_;
        location_ = where;
        ++depth_;
        Execute(text);
        --depth_;
        location_ = outer;
    }
    if (ended_)
        EndRun();
    else
        ScheduleLine();
}

// The run ends once the outermost line has returned: a line that waits for the host may still
// be running when the last line is read inside its wait.
void Container::EndRun() {
    if (depth_ > 0 || quitPosted_) return;
    quitPosted_ = true;
    // The person closes the window: closing the desktop's top window ends the loop.
    if (options_.gui && options_.hold) return;
    platform_->Loop().PostQuitMessage(0);
}

// ---------------------------------------------------------------------------------------
// The transcript

void Container::Print(const std::string& text) {
    if (muted_) return;
    std::string line = text;
    if (!tempDir_.empty()) ReplaceAll(line, tempDir_, "$TMPDIR/");
    out_ << line << '\n' << std::flush;
    sinceExpect_ += line;
    sinceExpect_ += '\n';
}

void Container::PrintHostError() {
    if (hostError_.empty()) return;
    Print("host error: " + hostError_);
    hostError_.clear();
}

void Container::Fail(const std::string& what) {
    if (muted_) return;
    ++failures_;
    err_ << location_.ToString() << ": " << what << "\n";
}

void Container::OnEvent(DISPID id, std::span<const Variant> args) {
    auto it = control_.EventNames().find(id);
    const std::string name =
        it != control_.EventNames().end() ? it->second : "#" + std::to_string(id);
    const bool scripted = options_.store == StoreKind::Scripted;
    const bool table = IsTableEvent(name);
    if (!table || scripted || options_.traceTable)
        Print("event " + UserEvent{name, {args.begin(), args.end()}}.ToString());
    // The script is the host: it goes on while the control waits, to answer.
    if (table && scripted) ScheduleLine();
}

void Container::PrintReply(const StoreReply& reply) {
    std::size_t used = reply.keys.size();
    while (used > 0 && reply.keys[used - 1].empty()) --used;
    std::string line = "reply " + std::to_string(reply.result);
    if (!reply.data.empty() || used > 0) line += " " + QuoteString(reply.data);
    for (std::size_t i = 0; i < used; ++i) line += " " + QuoteString(reply.keys[i]);
    Print(line);
}

}  // namespace orbel::host
