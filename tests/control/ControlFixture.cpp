#include "tests/control/ControlFixture.h"

#include "src/control/OrbelIds.h"

namespace orbel::test {

void ControlTest::SetUp() {
    HeadlessTest::SetUp();
    app_.InitInstance();
    ASSERT_TRUE(hostWindow_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 640, 480}, kNoWindow, 0));
    ctrl_ = std::make_shared<COrbelCtrl>();
    std::map<DISPID, std::string> names;
    for (const EventEntry& e : ctrl_->GetEventMap()) names[e.id] = e.name;
    sink_ = std::make_shared<EventRecorder>(names);
    DWORD cookie = 0;
    ASSERT_EQ(ctrl_->FindConnectionPoint(IidDOrbelEvents())->Advise(sink_, cookie), S_OK);
    HWND window;
    ASSERT_EQ(ctrl_->InPlaceActivate(HostWindow(), RECT{0, 0, 600, 400}, window), S_OK);
}

void ControlTest::TearDown() {
    ctrl_.reset();
    hostWindow_.DestroyWindow();
    app_.ExitInstance();
    HeadlessTest::TearDown();
}

void ControlTest::PostReply(std::int32_t result, std::string data, std::string key1,
                            std::string key2, std::string key3) {
    P().Loop().PostTask([this, result, data, key1, key2, key3] {
        ctrl_->RequestResult(result, data, key1, key2, key3, "", "", "", "", "", "", "");
    });
}

void ControlTest::Put(std::string_view name, Variant value) {
    ASSERT_EQ(InvokeByName(Ctrl(), name, InvokeKind::PropertyPut, {std::move(value)}, nullptr),
              S_OK)
        << name;
}

Variant ControlTest::Get(std::string_view name) {
    Variant value;
    EXPECT_EQ(InvokeByName(Ctrl(), name, InvokeKind::PropertyGet, {}, &value), S_OK) << name;
    return value;
}

std::vector<std::string> ControlTest::TableEvents() const {
    std::vector<std::string> out;
    for (const std::string& e : sink_->Events())
        if (e != "Yield()") out.push_back(e);
    return out;
}

}  // namespace orbel::test
