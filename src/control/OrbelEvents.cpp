// The control's events: the event table and one firing function per event.
#include "src/control/OrbelCtrl.h"
#include "src/control/OrbelIds.h"

namespace orbel {

void COrbelCtrl::BuildEventMap() {
    const VarType S = VarType::BStr;
    const VarType L = VarType::I4;
    const VarType B = VarType::Bool;
    AddEvent({"ReadNextRecord", eventidReadNextRecord, {S}});
    AddEvent({"DeleteRecord", eventidDeleteRecord, {S, S}});
    AddEvent({"SetTablePos", eventidSetTablePos, {S, L, L, S}});
    AddEvent({"Yield", eventidYield, {}});
    AddEvent({"SelectTable", eventidSelectTable, {S, L, S, S}});
    AddEvent({"InsertRecord", eventidInsertRecord, {S, S, S, S, S, S, S}});
    AddEvent({"UpdateRecord", eventidUpdateRecord, {S, S, S, S, S, S, S}});
    AddEvent({"FolderChange", eventidFolderChange, {S}});
    AddEvent({"ButtonScan", eventidButtonScan, {}});
    AddEvent({"SelectTiff", eventidSelectTiff, {S, L, L}});
    AddEvent({"Busy", eventidBusy, {B}});
    AddEvent({"Exit", eventidExit, {}});
    AddEvent({"AttachOrEmail", eventidAttachOrEmail, {S}});
    AddEvent({"DeleteFolder", eventidDeleteFolder, {L}});
    AddEvent({"SendEmail", eventidSendEmail, {S, S, S, S, S}});
    AddEvent({"OnGetSystemScripts", eventidOnGetSystemScripts, {}});
    AddEvent({"OnViewFile", eventidOnViewFile, {S}});
    AddEvent({"GetNextOLEID", eventidGetNextOLEID, {}});
    AddEvent({"GetNextResourceID", eventidGetNextResourceID, {}});
    AddEvent({"SelectAttachment", eventidSelectAttachment, {S}});
}

void COrbelCtrl::FireYield() {
    FireEvent(eventidYield, {});
}

void COrbelCtrl::FireSetTablePos(const std::string& table, std::int32_t relationship,
                                 std::int32_t keyNo, const std::string& keyValue) {
    FireEvent(eventidSetTablePos, {table, relationship, keyNo, keyValue});
}

void COrbelCtrl::FireReadNextRecord(const std::string& table) {
    FireEvent(eventidReadNextRecord, {table});
}

void COrbelCtrl::FireUpdateRecord(const std::string& table, const RowText& row) {
    FireEvent(eventidUpdateRecord, {table, row.data, row.key1, row.key2, row.key3, "", ""});
}

void COrbelCtrl::FireInsertRecord(const std::string& table, const RowText& row) {
    FireEvent(eventidInsertRecord, {table, row.data, row.key1, row.key2, row.key3, "", ""});
}

void COrbelCtrl::FireDeleteRecord(const std::string& table, const std::string& keyValue) {
    FireEvent(eventidDeleteRecord, {table, keyValue});
}

void COrbelCtrl::FireSelectTable(const std::string& table, std::int32_t keyNo,
                                 const std::string& start, const std::string& end) {
    FireEvent(eventidSelectTable, {table, keyNo, start, end});
}

void COrbelCtrl::FireGetNextOLEID() {
    FireEvent(eventidGetNextOLEID, {});
}

void COrbelCtrl::FireGetNextResourceID() {
    FireEvent(eventidGetNextResourceID, {});
}

void COrbelCtrl::FireFolderChange(const std::string& sFolderName) {
    FireEvent(eventidFolderChange, {sFolderName});
}

void COrbelCtrl::FireSelectTiff(const std::string& lpszResource, std::int32_t nPageStart,
                                std::int32_t nPageEnd) {
    FireEvent(eventidSelectTiff, {lpszResource, nPageStart, nPageEnd});
}

void COrbelCtrl::FireBusy(bool bBusy) {
    FireEvent(eventidBusy, {bBusy});
}

void COrbelCtrl::FireExit() {
    FireEvent(eventidExit, {});
}

void COrbelCtrl::FireAttachOrEmail(const std::string& actionType) {
    FireEvent(eventidAttachOrEmail, {actionType});
}

void COrbelCtrl::FireSendEmail(const std::string& receiver, const std::string& message,
                               const std::string& ledger, const std::string& account,
                               const std::string& msgType) {
    FireEvent(eventidSendEmail, {receiver, message, ledger, account, msgType});
}

void COrbelCtrl::FireOnGetSystemScripts() {
    FireEvent(eventidOnGetSystemScripts, {});
}

void COrbelCtrl::FireOnViewFile(const std::string& sFileName) {
    FireEvent(eventidOnViewFile, {sFileName});
}

void COrbelCtrl::FireSelectAttachment(const std::string& path) {
    FireEvent(eventidSelectAttachment, {path});
}

}  // namespace orbel
