// The control: what a host places on its form to show and maintain a store. It keeps no data
// of its own; every row comes from the host through the table conversation.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageLoop.h"
#include "platform/WindowSystem.h"
#include "platform/framework/OleControl.h"
#include "src/control/OrbelStoreProbe.h"
#include "src/maintenance/DriveMapping.h"
#include "src/maintenance/FolderList.h"
#include "src/store/HostExchange.h"

namespace orbel {

// One e-mail recipient gathered for routing.
struct MailEntry {
    std::string name;
    std::string address;
    std::int32_t id1 = 0;
    std::int32_t id2 = 0;
};

using SystemScriptEntry = std::array<std::string, 4>;

class COrbelCtrl final : public COleControl, public IOrbelStoreProbe, private IExchangeSite {
  public:
    COrbelCtrl();
    ~COrbelCtrl() override;

    // Properties.
    bool m_autoCreate = false;
    bool m_batchMaint = false;
    bool m_showResource = false;
    std::int32_t m_responseTimeOut = 10000;
    bool m_notifySelectTiff = false;
    std::int32_t m_scanMode = 0;
    bool m_directorySelect = false;
    bool m_autoOpen = false;
    bool m_showPreviewPane = true;
    bool GetScriptMaint() { return m_scriptMaint; }
    void SetScriptMaint(bool value);

    // Methods of the dispatch interface that the control carries out itself.
    void RequestResult(std::int32_t nResult, const std::string& sData, const std::string& sKey1,
                       const std::string& sKey2, const std::string& sKey3, const std::string& sKey4,
                       const std::string& sKey5, const std::string& sKey6, const std::string& sKey7,
                       const std::string& sKey8, const std::string& sKey9,
                       const std::string& sKey10);
    std::int32_t RefreshTarnField(std::int32_t nOLEID, std::int32_t nClassOLEID,
                                  const std::string& szField);
    bool QueryClose();
    void SetDirectIDRetrieval(bool bDirectIDRetrieval);

    // Enables or disables the control window, with the arrow or the hourglass.
    void EnableControl(bool enable);

    CHostExchange& Exchange() { return m_exchange; }
    CMappingList& Mappings() { return m_mappingList; }
    CFolderList& Folders() { return m_folderList; }
    std::int32_t Mode() const { return m_mode; }
    platform::Cursor CurrentCursor() const { return m_hCursor; }

    bool PreTranslateMessage(MSG& msg) override;

    HRESULT RunStoreOperation(const std::string& operation, const std::vector<Variant>& args,
                              Variant& result) override;

    // Events.
    void FireFolderChange(const std::string& sFolderName);
    void FireSelectTiff(const std::string& lpszResource, std::int32_t nPageStart,
                        std::int32_t nPageEnd);
    void FireBusy(bool bBusy);
    void FireExit();
    void FireAttachOrEmail(const std::string& actionType);
    void FireSendEmail(const std::string& receiver, const std::string& message,
                       const std::string& ledger, const std::string& account,
                       const std::string& msgType);
    void FireOnGetSystemScripts();
    void FireOnViewFile(const std::string& sFileName);
    void FireSelectAttachment(const std::string& path);

  protected:
    std::string WindowClassName() const override { return "COrbelCtrl"; }
    int OnCreate() override;
    void OnSize(int cx, int cy) override;
    void OnMouseMove(POINT point) override;
    void OnTimer(UINT_PTR id) override;
    void OnDraw(const RECT& bounds, const RECT& invalid) override;

  private:
    void BuildDispatchMap();
    void BuildEventMap();
    void OnPropertyChanged();
    void OnAutoCreateChanged();
    void OnAutoOpenChanged();

    // IExchangeSite
    void FireYield() override;
    void FireSetTablePos(const std::string& table, std::int32_t relationship, std::int32_t keyNo,
                         const std::string& keyValue) override;
    void FireReadNextRecord(const std::string& table) override;
    void FireUpdateRecord(const std::string& table, const RowText& row) override;
    void FireInsertRecord(const std::string& table, const RowText& row) override;
    void FireDeleteRecord(const std::string& table, const std::string& keyValue) override;
    void FireSelectTable(const std::string& table, std::int32_t keyNo, const std::string& start,
                         const std::string& end) override;
    void FireGetNextOLEID() override;
    void FireGetNextResourceID() override;
    HWND ExchangeWindow() const override { return GetSafeHwnd(); }
    std::int32_t ResponseTimeOut() const override { return m_responseTimeOut; }
    std::string ToStoredPath(const std::string& path) const override;
    void OnTreeRowUpdated(const TreeEntry& entry) override;

    // Members in the order the control declares them.
    bool m_labelEdit = false;
    bool m_busy = false;
    CHostExchange m_exchange;  // request buffers, reply strings and the wait
    platform::Cursor m_hCursor = platform::Cursor::Arrow;
    std::int32_t m_treeLoadPhase = 0;
    bool m_nodeLoadPart = false;
    std::uint32_t m_optionWord = 0;
    std::int32_t m_currentOleId = -1;
    std::int32_t m_classOleId = 0;
    std::int32_t m_shownFolderOwner = 0;
    std::int32_t m_shownFolderEntry = 0;
    std::int32_t m_mode = 0;
    std::string m_pendingAttachOrEmail;
    bool m_subscriberMode = false;
    bool m_scriptMaint = false;
    std::int32_t m_subscriberOleId = -1;
    std::int32_t m_subscriberClassOleId = 0;
    bool m_contextMenu = false;
    bool m_scriptViewShown = true;
    std::vector<MailEntry> m_mailEntries;
    CFolderList m_folderList;
    std::vector<SystemScriptEntry> m_systemScripts;
    std::string m_viewFileText;
    CMappingList m_mappingList;
    std::string m_browseTarget;
};

}  // namespace orbel
