// "Email Name and Address": the name and e-mail address of one subscriber, as typed; nothing
// is checked, since an address is whatever the host's mail program accepts.
#pragma once

#include <optional>
#include <string>

#include "platform/framework/Dialog.h"

namespace orbel {

class CEmailNameAddressDlg final : public CDialog {
  public:
    explicit CEmailNameAddressDlg(HWND parent = kNoWindow);

    std::string m_name;
    std::string m_address;

  protected:
    void DoDataExchange(CDataExchange& dx) override;
};

struct Subscriber {
    std::string name;
    std::string address;
};

// Shows the dialog with `shown` in its fields; what the user confirmed, or nothing after Cancel.
std::optional<Subscriber> RunEmailNameAddress(HWND parent, const Subscriber& shown);

}  // namespace orbel
