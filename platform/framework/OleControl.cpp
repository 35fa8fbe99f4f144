#include "platform/framework/OleControl.h"

#include <atomic>

namespace orbel {

class COleControl::EventConnectionPoint final : public IConnectionPoint {
  public:
    HRESULT Advise(std::shared_ptr<IDispatch> sink, DWORD& cookie) override {
        if (!sink) return E_POINTER;
        cookie = next_++;
        sinks_.emplace(cookie, std::move(sink));
        return S_OK;
    }
    HRESULT Unadvise(DWORD cookie) override { return sinks_.erase(cookie) ? S_OK : E_INVALIDARG; }
    std::vector<std::shared_ptr<IDispatch>> Sinks() const {
        std::vector<std::shared_ptr<IDispatch>> out;
        for (const auto& [cookie, sink] : sinks_) out.push_back(sink);
        return out;
    }
    std::size_t Count() const { return sinks_.size(); }

  private:
    std::map<DWORD, std::shared_ptr<IDispatch>> sinks_;
    DWORD next_ = 1;
};

namespace {
std::atomic<long> g_liveControls{0};
}

COleControl::COleControl() : events_(std::make_shared<EventConnectionPoint>()) {
    ++g_liveControls;
}

COleControl::~COleControl() {
    --g_liveControls;
}

long COleControl::LiveObjectCount() {
    return g_liveControls.load();
}

void COleControl::InitializeIIDs(const Guid& dispatchIid, const Guid& eventIid) {
    dispatchIid_ = dispatchIid;
    eventIid_ = eventIid;
}

HRESULT COleControl::GetIDsOfNames(std::string_view name, DISPID& id) {
    const DispatchEntry* e = dispatchMap_.Find(name);
    if (!e) return DISP_E_UNKNOWNNAME;
    id = e->id;
    return S_OK;
}

HRESULT COleControl::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                            Variant* result) {
    // Keep the control alive while a call into it runs, whatever the host does meanwhile.
    auto self = weak_from_this().lock();
    return dispatchMap_.Invoke(id, kind == InvokeKind::PropertyGet, kind == InvokeKind::PropertyPut,
                               args, result);
}

std::shared_ptr<IConnectionPoint> COleControl::FindConnectionPoint(const Guid& iid) {
    if (iid != eventIid_) return nullptr;
    return events_;
}

std::size_t COleControl::SinkCount() const {
    return events_->Count();
}

void COleControl::FireEvent(DISPID id, std::vector<Variant> args) {
    // A sink may drop the host's last reference to the control while it handles the event.
    auto self = weak_from_this().lock();
    for (const auto& sink : events_->Sinks()) sink->Invoke(id, InvokeKind::Method, args, nullptr);
}

HRESULT COleControl::InPlaceActivate(HWND parent, const RECT& rect, HWND& window) {
    if (!GetSafeHwnd() &&
        !Create(WindowClassName(), std::string(), WS_CHILD | WS_VISIBLE, rect, parent, 0))
        return E_FAIL;
    window = GetSafeHwnd();
    return S_OK;
}

HRESULT COleControl::SetObjectRects(const RECT& rect) {
    if (!GetSafeHwnd()) return E_FAIL;
    MoveWindow(rect, true);
    return S_OK;
}

HRESULT COleControl::InPlaceDeactivate() {
    if (GetSafeHwnd()) DestroyWindow();
    return S_OK;
}

void COleControl::OnDraw(const RECT&, const RECT&) {}

void COleControl::OnPaint() {
    RECT client = GetClientRect();
    OnDraw(client, client);
}

}  // namespace orbel
