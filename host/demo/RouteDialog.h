// The demo's answer to AttachOrEmail: a small dialog of its own, made from a template like the
// control's dialogs (so it runs on either backend and a scripted user can work it), that asks
// for the tree and the ledger and account a document is attached to, or for the address it is
// mailed to, and the "h" reply built from what was entered.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/dialogs/DialogTemplate.h"
#include "platform/framework/Dialog.h"

namespace orbel::demo {

inline constexpr UINT IDD_DEMO_ATTACH_TO = 9101;
inline constexpr UINT IDD_DEMO_EMAIL_TO = 9102;
inline constexpr UINT IDC_ROUTE_TREE = 9111;
inline constexpr UINT IDC_ROUTE_LEDGER = 9112;
inline constexpr UINT IDC_ROUTE_ACCOUNT = 9113;
inline constexpr UINT IDC_ROUTE_ADDRESS = 9114;

// A ledger code fills exactly this many places at the front of the attach text.
inline constexpr int kLedgerWidth = 5;
inline constexpr int kAccountWidth = 20;

// A tree a document can be attached to, as the user knows it.
struct RoutingTree {
    std::string name;
    std::int32_t oleId = 0;
};

struct AttachRoute {
    std::int32_t tree = 0;
    std::string ledger;
    std::string account;
};

// "h", the ledger in its five places, the account, a blank and the tree's number in eight.
std::string AttachReply(const AttachRoute& route);
// "h", five blanks, the address, a blank and eight zeros: the places the control reads around
// the address.
std::string EmailReply(const std::string& address);

// Whether `text` can stand as the one address of a compose window's To field: something@host,
// no blanks or control characters, and nothing a program would take for an option.
bool LooksLikeAddress(const std::string& text);

const platform::DialogTemplate& AttachToTemplate();
const platform::DialogTemplate& EmailToTemplate();

// "Attach To": the trees by name, the ledger (required) and the account.
class CAttachToDlg final : public CDialog {
  public:
    CAttachToDlg(std::span<const RoutingTree> trees, HWND parent);
    int m_tree = -1;  // index into the trees; none chosen at first
    std::string m_ledger;
    std::string m_account;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    std::span<const RoutingTree> trees_;
};

// "Email To": one address.
class CEmailToDlg final : public CDialog {
  public:
    explicit CEmailToDlg(HWND parent);
    std::string m_address;

  protected:
    void DoDataExchange(CDataExchange& dx) override;
};

// Asks the user for the route of `action` ("ATTACH" or "EMAIL") and gives the "h" reply, or
// nothing after Cancel.
std::optional<std::string> AskRoute(const std::string& action, std::span<const RoutingTree> trees,
                                    HWND parent);

}  // namespace orbel::demo
