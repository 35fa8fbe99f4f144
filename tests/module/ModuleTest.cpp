// The control as a host meets it: registered into the registry from its module, created by
// ProgID through the module's class factory, driven through the typed wrapper and answered
// through an event sink. This program does not link the control's code; it loads the module.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/adapter/EmbeddedControl.h"
#include "host/wrapper/OrbelWrapper.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "platform/registry/RegistryHive.h"
#include "src/control/OrbelStoreProbe.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

const char* const kProgId = "ORBEL.OrbelCtrl.1";
const char* const kClsid = "{77173955-7239-11D2-B2A4-0060084F9CC1}";
const char* const kLibid = "{77173952-7239-11D2-B2A4-0060084F9CC1}";

std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class ModuleTest : public test::HeadlessTest {
  protected:
    platform::RegistryHive Hive() {
        std::string error;
        auto hive = platform::RegistryHive::Load(platform::RegistryHive::DefaultPath(), &error);
        EXPECT_TRUE(hive) << error;
        return hive ? std::move(*hive) : platform::RegistryHive();
    }
    std::string Default(const std::string& key) {
        auto v = Hive().QueryValue("HKEY_CLASSES_ROOT\\" + key, "");
        return v ? v->text : std::string("<missing>");
    }
};

TEST_F(ModuleTest, RegistrationWritesTheClassLibraryAndPageAndUnregistrationRemovesThemAll) {
    EXPECT_EQ(RegisterModule(ORBEL_MODULE_PATH), S_OK);
    EXPECT_EQ(RegisterModule(ORBEL_MODULE_PATH), S_OK);  // twice is fine
    const std::string cls = std::string("CLSID\\") + kClsid;
    EXPECT_EQ(Default(cls), "Orbel Control");
    EXPECT_EQ(Default(cls + "\\InprocServer32"),
              std::filesystem::canonical(ORBEL_MODULE_PATH).string());
    EXPECT_EQ(
        Hive().QueryValue("HKEY_CLASSES_ROOT\\" + cls + "\\InprocServer32", "ThreadingModel")->text,
        "Apartment");
    EXPECT_EQ(Default(cls + "\\ProgID"), kProgId);
    EXPECT_EQ(Default(cls + "\\MiscStatus\\1"), "132497");  // 0x20591
    EXPECT_EQ(Default(cls + "\\TypeLib"), kLibid);
    EXPECT_FALSE(Hive().KeyExists("HKEY_CLASSES_ROOT\\" + cls + "\\Insertable"));
    EXPECT_EQ(Default(std::string(kProgId) + "\\CLSID"), kClsid);
    EXPECT_EQ(Default("ORBEL.OrbelPropPage.1\\CLSID"), "{77173956-7239-11D2-B2A4-0060084F9CC1}");
    EXPECT_EQ(Default("CLSID\\{77173956-7239-11D2-B2A4-0060084F9CC1}"), "Orbel Property Page");
    EXPECT_EQ(Default(std::string("TypeLib\\") + kLibid + "\\1.0"), "Orbel ActiveX Control module");
    EXPECT_EQ(Default("Interface\\{77173953-7239-11D2-B2A4-0060084F9CC1}"), "_DOrbel");

    EXPECT_EQ(UnregisterModule(ORBEL_MODULE_PATH), S_OK);
    platform::RegistryHive after = Hive();
    for (const char* key : {"CLSID", "TypeLib", "Interface"})
        EXPECT_TRUE(after.EnumKeys(std::string("HKEY_CLASSES_ROOT\\") + key).empty()) << key;
    EXPECT_FALSE(after.KeyExists(std::string("HKEY_CLASSES_ROOT\\") + kProgId));
    EXPECT_FALSE(after.KeyExists("HKEY_CLASSES_ROOT\\ORBEL.OrbelPropPage.1"));
}

TEST_F(ModuleTest, RegistrationOffersATextAnXmlAndATiffDocumentFromTemplatesOfItsOwn) {
    // A type the hive names already keeps its name.
    std::string error;
    ASSERT_TRUE(platform::RegistryHive::Update(
        platform::RegistryHive::DefaultPath(),
        [](platform::RegistryHive& h) {
            return h.SetValue("HKEY_CLASSES_ROOT\\.txt", "", platform::RegValue::String("txtfile"));
        },
        &error))
        << error;
    ASSERT_EQ(RegisterModule(ORBEL_MODULE_PATH), S_OK);
    auto value = [&](const std::string& key, const std::string& name) {
        auto v = Hive().QueryValue("HKEY_CLASSES_ROOT\\" + key, name);
        return v ? v->text : std::string("<missing>");
    };
    EXPECT_EQ(Default(".txt"), "txtfile");
    EXPECT_EQ(value(".txt\\ShellNew", "NullFile"), "");
    EXPECT_EQ(Default(".xml"), "application/xml");
    EXPECT_EQ(value(".xml\\ShellNew", "Data"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><document/>");
    EXPECT_EQ(Default(".tif"), "image/tiff");
    // The blank page is a TIFF file where the module's build or installation put it.
    const std::string page = value(".tif\\ShellNew", "FileName");
    EXPECT_EQ(ReadFile(page).substr(0, 4), std::string("II*\0", 4)) << page;

    EXPECT_EQ(UnregisterModule(ORBEL_MODULE_PATH), S_OK);
    for (const char* key : {".txt\\ShellNew", ".xml\\ShellNew", ".tif\\ShellNew"})
        EXPECT_TRUE(Hive().EnumValues(std::string("HKEY_CLASSES_ROOT\\") + key).empty()) << key;
}

TEST_F(ModuleTest, ACorruptRegistryFailsRegistrationAndIsLeftAsItWas) {
    const auto file = platform::RegistryHive::DefaultPath();
    const std::string junk = "this is not a registry file\n[HKEY_CLASSES_ROOT\\X]\n";
    std::ofstream(file) << junk;
    EXPECT_EQ(RegisterModule(ORBEL_MODULE_PATH), SELFREG_E_TYPELIB);
    EXPECT_EQ(ReadFile(file), junk);
    std::shared_ptr<IUnknown> object;
    EXPECT_EQ(CreateObject(kProgId, object), CO_E_CLASSSTRING);
}

TEST_F(ModuleTest, ARegistrationThatCannotBeWrittenSaysWhy) {
    // The hive's folder is a file: nothing can be made below it, not even by the superuser.
    const auto blocked = TempDir() / "blocked";
    std::ofstream(blocked) << "a file where the hive's folder should be\n";
    setenv("ORBEL_REGISTRY", (blocked / "registry.reg").c_str(), 1);
    std::string error;
    EXPECT_EQ(RegisterModule(ORBEL_MODULE_PATH, &error), SELFREG_E_TYPELIB);
    EXPECT_NE(error.find("the type library could not be registered: "), std::string::npos) << error;
    EXPECT_NE(error.find(blocked.string()), std::string::npos) << error;
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
}

TEST_F(ModuleTest, AnUnregisteredProgIdIsAClearFailure) {
    std::shared_ptr<IUnknown> object;
    EXPECT_EQ(CreateObject(kProgId, object), CO_E_CLASSSTRING);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ModuleTest, TheRegisteredTypeLibraryIsTheOneTheWrapperWasMadeFrom) {
    ASSERT_EQ(RegisterModule(ORBEL_MODULE_PATH), S_OK);
    TypeLibrary lib;
    std::string error;
    ASSERT_EQ(LoadRegTypeLib(*Guid::Parse(kLibid), 1, 0, lib, &error), S_OK) << error;
    EXPECT_EQ(lib.name, "ORBELLib");
    ASSERT_NE(lib.FindInterface("_DOrbel"), nullptr);
    EXPECT_EQ(lib.FindInterface("_DOrbel")->members.size(), 44u);
}

// A host that answers the ID requests directly, from its message loop.
class IdHost final : public host::COrbelEventSink {
  public:
    std::shared_ptr<host::COrbelWrapper> control;
    platform::HeadlessPlatform* platform = nullptr;
    std::vector<std::string> seen;
    std::int32_t nextId = 4711;

    void Yield() override { seen.push_back("Yield"); }
    void GetNextOLEID() override {
        seen.push_back("GetNextOLEID");
        platform->Loop().PostTask([this] {
            control->RequestResult(0, "ID", std::to_string(nextId++), "", "", "", "", "", "", "",
                                   "", "");
        });
    }
};

TEST_F(ModuleTest, TheInstalledModulesControlCarriesNoStoreProbe) {
    ASSERT_EQ(RegisterModule(ORBEL_MODULE_PATH), S_OK);
    std::shared_ptr<IUnknown> object;
    ASSERT_EQ(CreateObject(kProgId, object), S_OK);
    EXPECT_TRUE(std::dynamic_pointer_cast<IDispatch>(object));
    EXPECT_FALSE(std::dynamic_pointer_cast<IOrbelStoreProbe>(object));
}

TEST_F(ModuleTest, AHostCreatesTheControlByProgIdAndGetsANewOleIdEndToEnd) {
    // The test module's control, whose store probe asks for the OLE ID.
    ASSERT_EQ(RegisterModule(ORBEL_PROBE_MODULE_PATH), S_OK);
    std::shared_ptr<IUnknown> object;
    ASSERT_EQ(CreateObject(kProgId, object), S_OK);
    auto dispatch = std::dynamic_pointer_cast<IDispatch>(object);
    auto points = std::dynamic_pointer_cast<IConnectionPointContainer>(object);
    auto inplace = std::dynamic_pointer_cast<IOleInPlaceObject>(object);
    ASSERT_TRUE(dispatch && points && inplace);

    CWnd form;
    ASSERT_TRUE(form.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 800, 600}, kNoWindow, 0));
    HWND window;
    ASSERT_EQ(inplace->InPlaceActivate(form.GetSafeHwnd(), RECT{0, 0, 800, 600}, window), S_OK);
    EXPECT_EQ(P().Windows().GetClassName(window), "COrbelCtrl");

    auto control = std::make_shared<host::COrbelWrapper>(dispatch);
    auto sink = std::make_shared<IdHost>();
    sink->control = control;
    sink->platform = &P();
    auto events =
        points->FindConnectionPoint(*Guid::Parse("{77173954-7239-11D2-B2A4-0060084F9CC1}"));
    ASSERT_TRUE(events);
    DWORD cookie = 0;
    ASSERT_EQ(events->Advise(sink, cookie), S_OK);

    control->SetResponseTimeOut(2000);
    EXPECT_EQ(control->GetResponseTimeOut(), 2000);
    control->SetDirectIDRetrieval(true);
    EXPECT_EQ(control->LastResult(), S_OK);
    EXPECT_TRUE(control->QueryClose());

    // Something in the control needs a new OLE ID: the host is asked through the event and
    // answers through RequestResult from its loop.
    auto probe = std::dynamic_pointer_cast<IOrbelStoreProbe>(object);
    ASSERT_TRUE(probe);
    Variant id;
    ASSERT_EQ(probe->RunStoreOperation("GetNextOLEID", {}, id), S_OK);
    EXPECT_EQ(id, Variant(std::int32_t{4711}));
    ASSERT_EQ(probe->RunStoreOperation("GetNextOLEID", {}, id), S_OK);
    EXPECT_EQ(id, Variant(std::int32_t{4712}));
    EXPECT_EQ(sink->seen,
              (std::vector<std::string>{"Yield", "GetNextOLEID", "Yield", "GetNextOLEID"}));
    EXPECT_TRUE(control->QueryClose());
    EXPECT_EQ(P().Loop().Now(), 0u);  // answered at once, nothing waited for the time-out

    // An item handle the list never gave out opens no dialog and answers an empty text.
    EXPECT_EQ(control->SelectExcelCell("/srv/book.xls", 1), "");
    EXPECT_EQ(control->LastResult(), S_OK);

    events->Unadvise(cookie);
    inplace->InPlaceDeactivate();
    form.DestroyWindow();
}

TEST_F(ModuleTest, TheHostKitEmbedsTheControlInOneCallAndTakesItDownAgain) {
    CWnd form;
    ASSERT_TRUE(form.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 800, 600}, kNoWindow, 0));
    auto sink = std::make_shared<IdHost>();
    sink->platform = &P();
    host::EmbeddedControl embedded;
    std::string error;
    // Nothing registered yet: the module is registered on the way.
    ASSERT_TRUE(embedded.Create(form.GetSafeHwnd(), RECT{0, 0, 800, 600}, sink,
                                {ORBEL_PROBE_MODULE_PATH}, error))
        << error;
    const HWND window = embedded.Window();
    EXPECT_EQ(P().Windows().GetClassName(window), "COrbelCtrl");
    EXPECT_EQ(embedded.EventNames().at(8), "FolderChange");
    ASSERT_NE(embedded.Interface().Find("Initiate"), nullptr);

    // The published IDs are the ones the registered class answers to.
    EXPECT_EQ(host::kOrbelClsid, kClsid);
    auto points = std::dynamic_pointer_cast<IConnectionPointContainer>(embedded.Object());
    EXPECT_TRUE(points->FindConnectionPoint(*Guid::Parse(host::kOrbelEventsIid)));

    // The sink is connected: a request of the control's reaches it and is answered.
    auto probe = std::dynamic_pointer_cast<IOrbelStoreProbe>(embedded.Object());
    ASSERT_TRUE(probe);
    sink->control = std::make_shared<host::COrbelWrapper>(embedded.Dispatch());
    embedded.Control().SetDirectIDRetrieval(true);
    Variant id;
    ASSERT_EQ(probe->RunStoreOperation("GetNextOLEID", {}, id), S_OK);
    EXPECT_EQ(id, Variant(std::int32_t{4711}));

    probe.reset();
    points.reset();
    sink->control.reset();
    embedded.Destroy();
    EXPECT_FALSE(embedded.Created());
    EXPECT_FALSE(P().Windows().IsWindow(window));
    form.DestroyWindow();
}

TEST_F(ModuleTest, AnEmbeddingThatFailsSaysWhichStepAndLeavesNothingBehind) {
    CWnd form;
    ASSERT_TRUE(form.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 800, 600}, kNoWindow, 0));
    host::EmbeddedControl embedded;
    std::string error;
    EXPECT_FALSE(embedded.Create(form.GetSafeHwnd(), RECT{0, 0, 800, 600}, nullptr,
                                 {"/nonexistent/orbel.so"}, error));
    EXPECT_TRUE(error.starts_with("cannot register /nonexistent/orbel.so: ")) << error;
    EXPECT_FALSE(embedded.Created());
    // Without a module to register, an unregistered ProgID is a plain failure to create.
    EXPECT_FALSE(embedded.Create(form.GetSafeHwnd(), RECT{0, 0, 800, 600}, nullptr, {}, error));
    EXPECT_TRUE(error.starts_with("cannot create ORBEL.OrbelCtrl.1: ")) << error;
    EXPECT_TRUE(P().Windows().GetChildren(form.GetSafeHwnd()).empty());
    form.DestroyWindow();
}

}  // namespace
}  // namespace orbel
