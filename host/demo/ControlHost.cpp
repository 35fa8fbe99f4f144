#include "host/demo/ControlHost.h"

#include <filesystem>
#include <system_error>

#include "host/demo/DemoPaths.h"
#include "host/demo/DemoStore.h"
#include "platform/automation/ComRuntime.h"

namespace orbel::demo {

namespace {
const char* const kProgId = "ORBEL.OrbelCtrl.1";
}  // namespace

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
    adapter_.reset();
    store_.reset();
}

bool ControlHost::Create(HWND parent, const RECT& rect, const std::string& modulePath,
                         std::string& error) {
    // The module this program ships with becomes the registered one, whatever was registered
    // before (another build, another installation).
    std::string why;
    if (RegisterModule(modulePath, &why) != S_OK) {
        error = "cannot register the control module " + modulePath + ": " + why;
        return false;
    }
    if (HRESULT hr = CreateObject(kProgId, object_); hr != S_OK) {
        error = std::string("cannot create ") + kProgId + ": " + ComErrorText(hr);
        return false;
    }
    auto dispatch = std::dynamic_pointer_cast<IDispatch>(object_);
    auto inplace = std::dynamic_pointer_cast<IOleInPlaceObject>(object_);
    if (!dispatch || !inplace || !std::dynamic_pointer_cast<IConnectionPointContainer>(object_)) {
        error = std::string(kProgId) + " is not a control";
        object_.reset();
        return false;
    }
    dispatch_ = dispatch;
    if (!LoadEventNames(error)) {
        Destroy();
        return false;
    }
    if (inplace->InPlaceActivate(parent, rect, controlWindow_) != S_OK) {
        error = "the control did not open its window";
        Destroy();
        return false;
    }
    sink_ = std::make_shared<Sink>(this);
    if (events_->Advise(sink_, cookie_) != S_OK) {
        error = "the control takes no event sink";
        Destroy();
        return false;
    }
    platform_.Windows().EnableWindow(controlWindow_, false);
    return true;
}

// The event names come from the type library the class registered, as a late-binding host
// reads them.
bool ControlHost::LoadEventNames(std::string& error) {
    Guid clsid;
    TypeLibrary library;
    std::string why;
    if (CLSIDFromProgID(kProgId, clsid) != S_OK || LoadClassTypeLib(clsid, library, &why) != S_OK) {
        error = std::string("no type library for ") + kProgId + " " + why;
        return false;
    }
    const TypeLibInterface* events = nullptr;
    for (const TypeLibCoclass& c : library.coclasses)
        if (c.clsid == clsid) events = library.FindInterface(c.defaultSource);
    if (!events) {
        error = std::string("the type library does not describe the events of ") + kProgId;
        return false;
    }
    for (const TypeLibMember& m : events->members) eventNames_[m.id] = m.name;
    eventNames_.emplace(host::kSelectAttachmentEvent, "SelectAttachment");
    auto points = std::dynamic_pointer_cast<IConnectionPointContainer>(object_);
    events_ = points->FindConnectionPoint(events->iid);
    if (!events_) {
        error = std::string(kProgId) + " has no connection point for its events";
        return false;
    }
    return true;
}

void ControlHost::Destroy() {
    if (events_ && cookie_) events_->Unadvise(cookie_);
    cookie_ = 0;
    events_.reset();
    if (sink_) sink_->Detach();
    sink_.reset();
    if (auto inplace = std::dynamic_pointer_cast<IOleInPlaceObject>(object_))
        inplace->InPlaceDeactivate();
    controlWindow_ = kNoWindow;
    // The adapter holds the control weakly: once it is gone nothing more is answered.
    dispatch_.reset();
    object_.reset();
}

void ControlHost::Resize(const RECT& rect) {
    if (auto inplace = std::dynamic_pointer_cast<IOleInPlaceObject>(object_))
        inplace->SetObjectRects(rect);
}

bool ControlHost::AttachStore(std::unique_ptr<host::TableStore> store, std::string& error) {
    CloseStore();
    if (!store || !dispatch_) {
        error = store ? "the control is not there" : "no store";
        return false;
    }
    store_ = std::move(store);
    adapter_ = std::make_shared<host::HostAdapter>(dispatch_, *store_, platform_.Loop());
    adapter_->OnReply([this](const host::StoreReply& reply) {
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
    platform_.Windows().EnableWindow(controlWindow_, true);
    return true;
}

void ControlHost::CloseStore() {
    if (!store_) return;
    if (dispatch_) {
        host::COrbelWrapper control = Control();
        control.BeginTreeDownload();
        control.EndTreeDownload();
        control.DeleteAllListViewItems();
    }
    if (controlWindow_) platform_.Windows().EnableWindow(controlWindow_, false);
    // The adapter keeps cursors of the store's: it goes first.
    adapter_.reset();
    store_.reset();
}

std::int32_t ControlHost::OpenNormally() {
    if (!store_) return -1;
    const std::int32_t id = Control().Initiate(kDemoOleId, kDemoClassOleId);
    Log("call " + host::UserEvent{"Initiate", {kDemoOleId, kDemoClassOleId}}.ToString() + " -> " +
        std::to_string(id));
    return id;
}

std::int32_t ControlHost::OpenFolderMaintenance(const std::string& folder,
                                                const std::string& subfolder) {
    if (!store_) return -1;
    // Class 2 asks for the folder-maintenance class tree, made on first use.
    const std::int32_t id = Control().InitiateFolderMaint(kDemoOleId, 2, folder, subfolder);
    Log("call " +
        host::UserEvent{"InitiateFolderMaint", {kDemoOleId, 2, folder, subfolder}}.ToString() +
        " -> " + std::to_string(id));
    return id;
}

void ControlHost::Log(const std::string& line) {
    if (log_) log_(line);
}

bool ControlHost::Idle() const {
    if (adapter_ && adapter_->Answering()) return false;
    return !dispatch_ || Control().QueryClose();
}

std::string ControlHost::EventName(DISPID id) const {
    auto it = eventNames_.find(id);
    return it != eventNames_.end() ? it->second : "#" + std::to_string(id);
}

void ControlHost::Event(DISPID id, std::span<const Variant> args) {
    if (event_) event_(host::UserEvent{EventName(id), {args.begin(), args.end()}});
}

}  // namespace orbel::demo
