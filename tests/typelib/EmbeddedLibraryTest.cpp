// The type library compiled into the module is the contract hosts bind to: its identifiers,
// names, DISPIDs and signatures must be exactly what hosts and registration expect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/TypeLib.h"
#include "src/resources/TypeLibrary.h"

namespace orbel {
namespace {

class EmbeddedLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        auto parsed = ParseTypeLibrary(OrbelTypeLibraryText(), &error);
        ASSERT_TRUE(parsed) << error;
        lib = std::move(*parsed);
        dispatch = lib.FindInterface("_DOrbel");
        events = lib.FindInterface("_DOrbelEvents");
        ASSERT_NE(dispatch, nullptr);
        ASSERT_NE(events, nullptr);
    }

    TypeLibrary lib;
    const TypeLibInterface* dispatch = nullptr;
    const TypeLibInterface* events = nullptr;
};

// "I4 nID, BSTR lpszName -> BOOL": one line per member, so a mismatch shows the whole signature.
std::string Signature(const TypeLibMember& m) {
    std::string s;
    for (const TypeLibParam& p : m.params)
        s += (s.empty() ? "" : ", ") + std::string(VarTypeName(p.type));
    return s + " -> " + (m.type ? VarTypeName(*m.type) : "void");
}

struct Expected {
    DISPID id;
    const char* name;
    const char* signature;
};

TEST_F(EmbeddedLibrary, LibraryAndClassIdentifiersAreTheRegisteredOnes) {
    EXPECT_EQ(lib.name, "ORBELLib");
    EXPECT_EQ(lib.libid.ToString(), "{77173952-7239-11D2-B2A4-0060084F9CC1}");
    EXPECT_EQ(lib.major, 1);
    EXPECT_EQ(lib.minor, 0);
    EXPECT_EQ(lib.help, "Orbel ActiveX Control module");
    EXPECT_TRUE(lib.control);

    EXPECT_EQ(dispatch->iid.ToString(), "{77173953-7239-11D2-B2A4-0060084F9CC1}");
    EXPECT_EQ(dispatch->help, "Dispatch interface for Orbel Control");
    EXPECT_TRUE(dispatch->hidden);
    EXPECT_EQ(events->iid.ToString(), "{77173954-7239-11D2-B2A4-0060084F9CC1}");
    EXPECT_EQ(events->help, "Event interface for Orbel Control");
    EXPECT_FALSE(events->hidden);

    ASSERT_EQ(lib.coclasses.size(), 1u);
    const TypeLibCoclass& cls = lib.coclasses[0];
    EXPECT_EQ(cls.name, "Orbel");
    EXPECT_EQ(cls.clsid.ToString(), "{77173955-7239-11D2-B2A4-0060084F9CC1}");
    EXPECT_EQ(cls.help, "Orbel Control");
    EXPECT_TRUE(cls.control);
    EXPECT_EQ(cls.defaultInterface, "_DOrbel");
    EXPECT_EQ(cls.defaultSource, "_DOrbelEvents");
}

TEST_F(EmbeddedLibrary, DispatchInterfaceHasEveryPropertyAndMethodInOrder) {
    const std::vector<Expected> expected = {
        {1, "AutoCreate", " -> BOOL"},
        {2, "BatchMaint", " -> BOOL"},
        {3, "ShowResource", " -> BOOL"},
        {4, "ResponseTimeOut", " -> I4"},
        {5, "NotifySelectTiff", " -> BOOL"},
        {6, "ScanMode", " -> I4"},
        {7, "DirectorySelect", " -> BOOL"},
        {8, "AutoOpen", " -> BOOL"},
        {9, "ShowPreviewPane", " -> BOOL"},
        {10, "ScriptMaint", " -> BOOL"},
        {11, "AddTreeViewItem", "BOOL, BOOL, I4, I4, BSTR -> BOOL"},
        {12, "AddListViewItem", "BOOL, BOOL, I4, BSTR, BSTR -> BOOL"},
        {13, "SetImageDetails", "I4, I4, I4, I4 -> BOOL"},
        {14, "UpdateFolder", "I4, BSTR -> BOOL"},
        {15, "UpdateListFolder", "I4, BSTR -> BOOL"},
        {16, "UpdateTreeFolder", "I4, BSTR -> BOOL"},
        {17, "UpdateItem", "I4, BSTR, I4, I4, I4 -> BOOL"},
        {18, "SetListParent", "I4 -> BOOL"},
        {19, "SetTreeParent", "I4, I4 -> BOOL"},
        {20, "DeleteTreeItem", "I4 -> BOOL"},
        {21, "DeleteListItem", "I4 -> BOOL"},
        {22, "DeleteAllListViewItems", " -> void"},
        {23, "BeginTreeDownload", " -> void"},
        {24, "EndTreeDownload", " -> void"},
        {25, "RequestDeleteObject", "BSTR -> BOOL"},
        {26, "SetObjectDir", "BSTR -> BOOL"},
        {27, "ProcessTarnMessage", "BSTR -> BOOL"},
        {28, "RequestResult",
         "I4, BSTR, BSTR, BSTR, BSTR, BSTR, BSTR, BSTR, BSTR, BSTR, BSTR, BSTR -> void"},
        {29, "Initiate", "I4, I4 -> I4"},
        {30, "InitiateFolderMaint", "I4, I4, BSTR, BSTR -> I4"},
        {31, "RefreshTarnField", "I4, I4, BSTR -> I4"},
        {32, "GetListViewData", "I4 -> BSTR"},
        {33, "GetListViewItemCount", " -> I4"},
        {34, "InitiateScriptMaint", "I4, I4, BSTR, BSTR, BOOL -> I4"},
        {35, "GetProcessedAttachmentCount", "BOOL -> I4"},
        {36, "GetScriptViewItemCount", " -> I4"},
        {37, "GetScriptViewData", "I4, BOOL -> BSTR"},
        {38, "ShowScriptMaintenanceView", "BOOL -> void"},
        {39, "GetOleFile", "BSTR -> I4"},
        {40, "SelectExcelCell", "BSTR, I4 -> BSTR"},
        {41, "GetListViewdwItem", "I4 -> I4"},
        {42, "QueryClose", " -> BOOL"},
        {43, "SetDirectIDRetrieval", "BOOL -> void"},
        {44, "ShowItem", "BSTR -> void"},
    };
    ASSERT_EQ(dispatch->members.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TypeLibMember& m = dispatch->members[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(m.id, expected[i].id);
        EXPECT_EQ(m.name, expected[i].name);
        EXPECT_EQ(m.isProperty, expected[i].id <= 10);
        EXPECT_EQ(Signature(m), expected[i].signature);
    }
}

TEST_F(EmbeddedLibrary, EventInterfaceDeclaresNineteenEventsButNotSelectAttachment) {
    const std::vector<Expected> expected = {
        {1, "ReadNextRecord", "BSTR -> void"},
        {2, "DeleteRecord", "BSTR, BSTR -> void"},
        {3, "SetTablePos", "BSTR, I4, I4, BSTR -> void"},
        {4, "Yield", " -> void"},
        {5, "SelectTable", "BSTR, I4, BSTR, BSTR -> void"},
        {6, "InsertRecord", "BSTR, BSTR, BSTR, BSTR, BSTR, BSTR, BSTR -> void"},
        {7, "UpdateRecord", "BSTR, BSTR, BSTR, BSTR, BSTR, BSTR, BSTR -> void"},
        {8, "FolderChange", "BSTR -> void"},
        {9, "ButtonScan", " -> void"},
        {10, "SelectTiff", "BSTR, I4, I4 -> void"},
        {11, "Busy", "BOOL -> void"},
        {12, "Exit", " -> void"},
        {13, "AttachOrEmail", "BSTR -> void"},
        {14, "DeleteFolder", "I4 -> void"},
        {15, "SendEmail", "BSTR, BSTR, BSTR, BSTR, BSTR -> void"},
        {16, "OnGetSystemScripts", " -> void"},
        {17, "OnViewFile", "BSTR -> void"},
        {18, "GetNextOLEID", " -> void"},
        {19, "GetNextResourceID", " -> void"},
    };
    ASSERT_EQ(events->members.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TypeLibMember& m = events->members[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(m.id, expected[i].id);
        EXPECT_EQ(m.name, expected[i].name);
        EXPECT_FALSE(m.isProperty);
        EXPECT_EQ(Signature(m), expected[i].signature);
    }
    EXPECT_EQ(events->Find(20), nullptr);
    EXPECT_EQ(events->Find("SelectAttachment"), nullptr);
}

// Hosts that bind late see these names in their own code; check a few against the tables.
TEST_F(EmbeddedLibrary, ParameterNamesAreTheDeclaredOnes) {
    auto names = [](const TypeLibMember* m) {
        std::string s;
        for (const TypeLibParam& p : m->params) s += (s.empty() ? "" : " ") + p.name;
        return s;
    };
    EXPECT_EQ(names(dispatch->Find("AddTreeViewItem")),
              "bFolder bClassItem nID nParentID lpszName");
    EXPECT_EQ(names(dispatch->Find("RequestResult")),
              "nResult sData sKey1 sKey2 sKey3 sKey4 sKey5 sKey6 sKey7 sKey8 sKey9 sKey10");
    EXPECT_EQ(names(dispatch->Find("InitiateScriptMaint")),
              "nOLEID nClassOLEID sFolder sSubFolder bVisible");
    EXPECT_EQ(names(dispatch->Find("SelectExcelCell")), "sFileName dwOleItem");
    EXPECT_EQ(names(dispatch->Find("SetDirectIDRetrieval")), "bDirectIDRetrieval");
    EXPECT_EQ(names(events->Find("SetTablePos")), "sTableName nRelationship nKey sKeyValue");
    EXPECT_EQ(names(events->Find("SendEmail")),
              "m_sReceiver m_sMessage m_sLedger m_sAccount m_sMsgType");
    EXPECT_EQ(names(events->Find("AttachOrEmail")), "ActionType");
}

// Automation binds names without regard to case; DISPID look-up finds the same member.
TEST_F(EmbeddedLibrary, MembersAreFoundByNameInAnyCaseAndById) {
    const TypeLibMember* byName = dispatch->Find("responsetimeout");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->name, "ResponseTimeOut");
    EXPECT_EQ(dispatch->Find(4), byName);
    EXPECT_EQ(dispatch->Find("NoSuchMember"), nullptr);
    EXPECT_EQ(dispatch->Find(45), nullptr);
    EXPECT_EQ(lib.FindInterface("_DOrbelEvent"), nullptr);
}

}  // namespace
}  // namespace orbel
