// The demo as a routing host. AttachOrEmail is answered from the loop with the route the user
// enters in the demo's dialog, as the "h" reply; SendEmail is logged, and, when the user has
// asked for it, a compose window of the user's mail program is opened to the receiver with the
// document attached. Free of any toolkit: the dialog and the mail go through the platform.
//
// Not for: sending mail by itself (the user sends from the compose window), or keeping routes
// (the control keeps them in the list and the store).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/adapter/HostAdapter.h"
#include "host/demo/RouteDialog.h"
#include "platform/Platform.h"

namespace orbel::demo {

class ControlHost;

// The trees of the demo store that a routed document can be attached to, by name.
const std::vector<RoutingTree>& DemoRoutingTrees();

// The file a SendEmail's message names: the path itself when that file is there, else the part
// before the first "!" (a link's place in the file); empty when neither is a file.
std::string DocumentOfMessage(const std::string& message);

class DemoRouting {
  public:
    using Log = std::function<void(const std::string& line)>;
    DemoRouting(platform::Platform& platform, ControlHost& host, Log log);

    // Off at the start: SendEmail is only logged.
    void SetComposeMail(bool on) { compose_ = on; }
    bool ComposeMail() const { return compose_; }

    // The next AttachOrEmail is answered with this "h" reply instead of asking (an unattended
    // run); the reply is logged as usual.
    void AnswerNext(std::string reply) { answers_.push_back(std::move(reply)); }

    // Every event of the control; acts on AttachOrEmail and SendEmail.
    void OnEvent(const host::UserEvent& event);

  private:
    void Answer(const std::string& action);
    void Compose(const std::string& receiver, const std::string& message);

    platform::Platform& platform_;
    ControlHost& host_;
    Log log_;
    bool compose_ = false;
    std::deque<std::string> answers_;
};

}  // namespace orbel::demo
