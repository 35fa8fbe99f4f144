#include "host/demo/ControlHost.h"

#include <filesystem>
#include <system_error>

#include "host/demo/DemoPaths.h"
#include "host/demo/DemoStore.h"

namespace orbel::demo {

// Hands every event of the control to its host; forgets the host when it goes first.
class ControlHost::Sink final : public IDispatch {
  public:
    explicit Sink(ControlHost* host) : host_(host) {}
    void Detach() { host_ = nullptr; }
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        if (!host_) return S_OK;
        ControlHost& host = *host_;
        host.Log("event " +
                 host::UserEvent{host.EventName(id), {args.begin(), args.end()}}.ToString());
        HRESULT hr = S_OK;
        // The adapter may answer at once and the control may go on inside this call: hold it.
        if (std::shared_ptr<host::HostAdapter> adapter = host.adapter_)
            hr = adapter->Invoke(id, kind, args, result);
        if (host_) host_->Event(id, args);
        return hr;
    }

  private:
    ControlHost* host_;
};

ControlHost::ControlHost(platform::Platform& platform) : platform_(platform) {}

ControlHost::~ControlHost() {
    Destroy();
    follower_.reset();
    adapter_.reset();
    store_.reset();
}

bool ControlHost::Create(HWND parent, const RECT& rect, const std::string& modulePath,
                         std::string& error) {
    Destroy();
    parent_ = parent;
    rect_ = rect;
    modulePath_ = modulePath;
    // The module this program ships with becomes the registered one, whatever was registered
    // before (another build, another installation).
    sink_ = std::make_shared<Sink>(this);
    const host::EmbeddedControl::Options options{modulePath,
                                                 host::EmbeddedControl::Registration::Always};
    if (!control_.Create(parent, rect, sink_, options, error)) {
        Destroy();
        return false;
    }
    platform_.Windows().EnableWindow(control_.Window(), false);
    return true;
}

void ControlHost::Destroy() {
    if (sink_) sink_->Detach();
    sink_.reset();
    // The adapter holds the control weakly: once it is gone nothing more is answered.
    control_.Destroy();
}

void ControlHost::Resize(const RECT& rect) {
    rect_ = rect;
    control_.Resize(rect);
}

bool ControlHost::Restart(std::string& error) {
    if (!control_.Created()) {
        error = "the control is not there";
        return false;
    }
    // The adapter answers the control it was made for: a new one serves the new control.
    follower_.reset();
    adapter_.reset();
    if (!Create(parent_, rect_, modulePath_, error)) return false;
    if (store_) ConnectStore();
    return true;
}

bool ControlHost::AttachStore(std::unique_ptr<host::TableStore> store, std::string& error) {
    CloseStore();
    if (!store || !control_.Created()) {
        error = store ? "the control is not there" : "no store";
        return false;
    }
    store_ = std::move(store);
    // The control still opens a store whose counter cannot be moved; it says so itself when it
    // needs an ID the store cannot give.
    std::string refused;
    if (!ReserveDemoIds(*store_, refused)) Log("host error: " + refused);
    ConnectStore();
    return true;
}

void ControlHost::ConnectStore() {
    adapter_ = std::make_shared<host::HostAdapter>(control_.Dispatch(), *store_, platform_.Loop());
    adapter_->OnReply([this](const host::StoreReply& reply) {
        if (reply.result == host::kStoreRow) ++rowsRead_;
        std::size_t used = reply.keys.size();
        while (used > 0 && reply.keys[used - 1].empty()) --used;
        std::vector<Variant> args{Variant(reply.result), Variant(reply.data)};
        for (std::size_t i = 0; i < used; ++i) args.emplace_back(reply.keys[i]);
        Log("answer " + host::UserEvent{"RequestResult", std::move(args)}.ToString());
    });
    adapter_->OnHostError([this](const std::string& reason) {
        Log("host error: " + reason);
        if (hostError_) hostError_(reason);
    });
    adapter_->TakeIdsFromStore();
    // A store on a server keeps the object directory the control was given: where a team keeps
    // its documents is for the team to say, not for the place one desktop keeps its files.
    const auto* file = dynamic_cast<const host::SqliteTableStore*>(store_.get());
    if (file && file->Path() != ":memory:") {
        const std::filesystem::path objects = ObjectDirFor(file->Path());
        std::error_code ec;
        std::filesystem::create_directories(objects, ec);
        Control().SetObjectDir(objects.string());
    }
    StartFollowing();
    platform_.Windows().EnableWindow(control_.Window(), true);
}

void ControlHost::CloseStore() {
    if (!store_) return;
    if (control_.Created()) {
        host::COrbelWrapper control = Control();
        control.BeginTreeDownload();
        control.EndTreeDownload();
        control.DeleteAllListViewItems();
    }
    if (control_.Created()) platform_.Windows().EnableWindow(control_.Window(), false);
    // The adapter keeps cursors of the store's: it goes first.
    follower_.reset();
    adapter_.reset();
    store_.reset();
}

std::int32_t ControlHost::OpenNormally() {
    if (!store_) return -1;
    const std::int32_t id = Control().Initiate(kDemoOleId, kDemoClassOleId);
    Log("call " + host::UserEvent{"Initiate", {kDemoOleId, kDemoClassOleId}}.ToString() + " -> " +
        std::to_string(id));
    if (follower_ && id != -1) follower_->Opened(id, kDemoClassOleId);
    return id;
}

std::int32_t ControlHost::OpenFolderMaintenance(const std::string& folder,
                                                const std::string& subfolder) {
    if (!store_) return -1;
    // Class 2 asks for the folder-maintenance class tree, made on first use.
    if (follower_) follower_->Closed();
    const std::int32_t id = Control().InitiateFolderMaint(kDemoOleId, 2, folder, subfolder);
    Log("call " +
        host::UserEvent{"InitiateFolderMaint", {kDemoOleId, 2, folder, subfolder}}.ToString() +
        " -> " + std::to_string(id));
    return id;
}

std::int32_t ControlHost::OpenRoutingSheet() {
    if (!store_) return -1;
    // Other programs' changes to the sheet show when it is opened again.
    if (follower_) follower_->Closed();
    host::COrbelWrapper control = Control();
    const bool switched = control.ProcessTarnMessage("j");
    Log(std::string("call ProcessTarnMessage(\"j\") -> ") + (switched ? "TRUE" : "FALSE"));
    const std::int32_t id = control.Initiate(kDemoOleId, kDemoClassOleId);
    Log("call " + host::UserEvent{"Initiate", {kDemoOleId, kDemoClassOleId}}.ToString() + " -> " +
        std::to_string(id));
    return id;
}

std::int32_t ControlHost::OpenScriptMaintenance() {
    if (!store_) return -1;
    // Class 4 asks for the script class tree, made on first use.
    const std::int32_t id =
        Control().InitiateScriptMaint(kDemoOleId, 4, kDemoScriptFolder, "", true);
    Log("call " +
        host::UserEvent{"InitiateScriptMaint",
                        {kDemoOleId, 4, std::string(kDemoScriptFolder), std::string(), true}}
            .ToString() +
        " -> " + std::to_string(id));
    return id;
}

void ControlHost::Log(const std::string& line) {
    if (log_) log_(line);
}

bool ControlHost::Idle() const {
    if (adapter_ && adapter_->Answering()) return false;
    return !control_.Created() || Control().QueryClose();
}

std::string ControlHost::EventName(DISPID id) const {
    auto it = control_.EventNames().find(id);
    return it != control_.EventNames().end() ? it->second : "#" + std::to_string(id);
}

void ControlHost::Event(DISPID id, std::span<const Variant> args) {
    if (event_) event_(host::UserEvent{EventName(id), {args.begin(), args.end()}});
}

}  // namespace orbel::demo
