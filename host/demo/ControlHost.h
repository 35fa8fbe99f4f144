// The demo's side of the control, free of any toolkit: creates the control by its ProgID in a
// window of the installed platform (registering the module it ships with first, as installing
// it does), connects an event sink that reports every event, and answers the control's table
// events from the open store through the host adapter. The window around it is the caller's.
//
// Not for: menus, dialogs or anything shown (the demo's window does that from the reports).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "host/adapter/ChangeFollower.h"
#include "host/adapter/EmbeddedControl.h"
#include "host/adapter/HostAdapter.h"
#include "host/store/SqliteTableStore.h"
#include "host/wrapper/OrbelWrapper.h"
#include "platform/Platform.h"

namespace orbel::demo {

class ControlHost {
  public:
    // One line of the conversation: "event NAME(ARG, ...)" for an event of the control,
    // "answer RequestResult(RESULT, DATA, KEY...)" for the host's answer to it, and
    // "call NAME(ARG, ...) -> RESULT" for a store opened.
    using LogObserver = std::function<void(const std::string& line)>;
    // Every event, by name, with its arguments; after it was logged and answered.
    using EventObserver = std::function<void(const host::UserEvent& event)>;

    explicit ControlHost(platform::Platform& platform);
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    void OnLog(LogObserver observer) { log_ = std::move(observer); }
    void OnEvent(EventObserver observer) { event_ = std::move(observer); }
    // The store's reason for a request it refused, as it reaches the control (the control then
    // shows only its own message); also logged as "host error: TEXT".
    void OnHostError(std::function<void(const std::string&)> observer) {
        hostError_ = std::move(observer);
    }

    // Registers `modulePath`, creates the control in `parent` at `rect` and connects the sink.
    // The control window stays disabled until a store is open. False with `error` on failure.
    bool Create(HWND parent, const RECT& rect, const std::string& modulePath, std::string& error);
    // Takes the control down (the store stays open).
    void Destroy();
    bool Created() const { return control_.Created(); }
    HWND ControlWindow() const { return control_.Window(); }
    void Resize(const RECT& rect);
    // Takes the control down and makes a fresh one in the same place, answered from the same
    // store: a new mode starts from the control's first state (its toolbar included).
    bool Restart(std::string& error);
    // The typed calls on the control; calls on a control not created fail with E_POINTER.
    host::COrbelWrapper Control() const { return control_.Control(); }

    // Makes `store` the one that answers, with a store file's documents' folder as the
    // control's object directory (created when missing), switches the control to taking its IDs
    // from the store (so that several demos may share it), and enables the control window. A store
    // open before is closed first. Needs the control created.
    bool AttachStore(std::unique_ptr<host::TableStore> store, std::string& error);
    // Empties the panes, stops answering and closes the store; the control window is disabled.
    void CloseStore();
    host::TableStore* Store() const { return store_.get(); }

    // Opens the demo's trees in normal mode, or one folder of the folder-maintenance class
    // tree; the control's result (the OLE ID, or -1).
    std::int32_t OpenNormally();
    std::int32_t OpenFolderMaintenance(const std::string& folder, const std::string& subfolder);
    // The routing sheet: directory selection switched on with the "j" command (which also
    // gives the list its routing columns and the toolbar its batch run), then the store opened,
    // which shows the tree of the directory-selection class whatever IDs are passed.
    std::int32_t OpenRoutingSheet();
    // The script view on the folder of the demo's sample scripts (made empty in a store that
    // has none).
    std::int32_t OpenScriptMaintenance();

    // How many rows the store has streamed to the control since the host started: the window
    // shows the count while the control loads.
    std::uint64_t RowsRead() const { return rowsRead_; }

    // Brings the control up to date with what other programs sharing the store wrote since
    // the last call, unless it is waiting for the store (ControlFollow.cpp); each change
    // applied is logged as "follow: " and the control's methods it called. The number applied.
    int FollowChanges();

    // Nothing waits: no request of the control is open and no answer is on its way. Store
    // changes and the screenshot wait for this.
    bool Idle() const;

  private:
    class Sink;
    // Answers the control from store_, with the store's documents folder as its object
    // directory, and enables the control window.
    void ConnectStore();
    // Watches the store for other programs' changes (a store file or a server).
    void StartFollowing();
    void Event(DISPID id, std::span<const Variant> args);
    std::string EventName(DISPID id) const;
    void Log(const std::string& line);

    platform::Platform& platform_;
    host::EmbeddedControl control_;
    std::shared_ptr<Sink> sink_;
    HWND parent_;
    RECT rect_{};
    std::string modulePath_;
    std::uint64_t rowsRead_ = 0;
    std::unique_ptr<host::TableStore> store_;
    std::shared_ptr<host::HostAdapter> adapter_;
    std::unique_ptr<host::ChangeFollower> follower_;
    LogObserver log_;
    EventObserver event_;
    std::function<void(const std::string&)> hostError_;
};

}  // namespace orbel::demo
