// With the host's default CreateObject, a script reaches a class registered in the registry:
// the runtime loads the module, its factory makes the object, members are found by name.
#include <gtest/gtest.h>

#include "platform/automation/ComRuntime.h"
#include "tests/script/vbscript/RecordingHost.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::vbs::test {
namespace {

class PlainHost : public RecordingHost {
  public:
    HRESULT CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object) override {
        return ScriptHost::CreateObject(progId, object);
    }
};

class VbsRuntimeObjectTest : public orbel::test::HeadlessTest {};

TEST_F(VbsRuntimeObjectTest, ScriptCreatesARegisteredControlAndUsesItsProperties) {
    PlainHost host;
    Engine engine(host);
    auto before = engine.AddCode("Set c = CreateObject(\"ORBEL.OrbelCtrl.1\")\n");
    ASSERT_TRUE(before);
    EXPECT_EQ(kCannotCreateObject, before->Number());

    ASSERT_EQ(S_OK, RegisterModule(ORBEL_MODULE_PATH));
    auto error = engine.AddCode(
        "Set c = CreateObject(\"ORBEL.OrbelCtrl.1\")\n"
        "c.ShowResource = True\n"
        "MsgBox TypeName(c) & \" \" & c.ShowResource\n"
        "c.ShowResource = 0\n"
        "MsgBox c.showresource\n"
        "On Error Resume Next\n"
        "c.NoSuchMember = 1\n"
        "MsgBox Err.Number\n");
    ASSERT_FALSE(error) << FormatError(*error);
    EXPECT_EQ((std::vector<std::string>{"Object True", "False", "438"}), host.lines);
}

}  // namespace
}  // namespace orbel::vbs::test
