// The generated wrapper is how a host calls the control with C++ types, and the generated sink
// base is how it hears events; both must speak the control's DISPIDs and argument order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/wrapper/OrbelWrapper.h"

namespace orbel::host {
namespace {

// Records each call as one line: "DISPID kind(args)" in transcript form, and answers with
// the next scripted reply.
class RecordingControl : public IDispatch {
  public:
    struct Reply {
        HRESULT hr = S_OK;
        Variant result;
    };

    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return E_NOTIMPL; }

    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        std::string line = std::to_string(id) + " " + KindName(kind) + "(";
        for (std::size_t i = 0; i < args.size(); ++i)
            line += (i ? ", " : "") + args[i].ToDisplayString();
        calls.push_back(line + ")" + (result ? "" : " no-result"));
        Reply reply = replies.empty() ? Reply{} : replies.front();
        if (!replies.empty()) replies.erase(replies.begin());
        if (result) *result = reply.result;
        return reply.hr;
    }

    static const char* KindName(InvokeKind kind) {
        switch (kind) {
            case InvokeKind::Method:
                return "call";
            case InvokeKind::PropertyGet:
                return "get";
            case InvokeKind::PropertyPut:
                return "put";
        }
        return "?";
    }

    std::vector<std::string> calls;
    std::vector<Reply> replies;
};

class Wrapper : public ::testing::Test {
  protected:
    std::shared_ptr<RecordingControl> control = std::make_shared<RecordingControl>();
    COrbelWrapper wrapper{control};
};

TEST_F(Wrapper, PropertiesAreReadAndWrittenByTheirDispid) {
    control->replies = {{S_OK, Variant(std::int32_t{2500})}, {S_OK, Variant(true)}};
    EXPECT_EQ(wrapper.GetResponseTimeOut(), 2500);
    EXPECT_TRUE(wrapper.GetShowPreviewPane());
    wrapper.SetResponseTimeOut(10000);
    wrapper.SetDirectorySelect(true);
    EXPECT_EQ(wrapper.LastResult(), S_OK);
    EXPECT_EQ(control->calls, (std::vector<std::string>{
                                  "4 get()",
                                  "9 get()",
                                  "4 put(10000) no-result",
                                  "7 put(TRUE) no-result",
                              }));
}

TEST_F(Wrapper, MethodsPassTheirArgumentsInDeclarationOrder) {
    control->replies = {{S_OK, Variant(true)}, {S_OK, Variant(std::int32_t{7})}};
    EXPECT_TRUE(wrapper.AddTreeViewItem(true, false, 12, 0, "Invoices 2024"));
    EXPECT_EQ(wrapper.InitiateScriptMaint(7, 3, "Scripts", "", true), 7);
    wrapper.RequestResult(1, "data", "k1", "k2", "k3", "k4", "k5", "k6", "k7", "k8", "k9", "k10");
    wrapper.DeleteAllListViewItems();
    EXPECT_EQ(
        control->calls,
        (std::vector<std::string>{
            R"(11 call(TRUE, FALSE, 12, 0, "Invoices 2024"))",
            R"(34 call(7, 3, "Scripts", "", TRUE))",
            R"(28 call(1, "data", "k1", "k2", "k3", "k4", "k5", "k6", "k7", "k8", "k9", "k10") no-result)",
            "22 call() no-result",
        }));
}

// A control answering with another automation type is coerced as automation would; an answer
// that cannot be coerced reads as the default and says so.
TEST_F(Wrapper, ResultsOfAnotherTypeAreCoercedOrReportedAsMismatch) {
    control->replies = {{S_OK, Variant(std::int32_t{-1})},
                        {S_OK, Variant("42")},
                        {S_OK, Variant(std::int32_t{5})},
                        {S_OK, Variant("not a number")}};
    EXPECT_TRUE(wrapper.QueryClose());
    EXPECT_EQ(wrapper.GetListViewItemCount(), 42);
    EXPECT_EQ(wrapper.GetListViewData(0), "5");
    EXPECT_EQ(wrapper.LastResult(), S_OK);
    EXPECT_EQ(wrapper.GetScanMode(), 0);
    EXPECT_EQ(wrapper.LastResult(), DISP_E_TYPEMISMATCH);
}

TEST_F(Wrapper, AFailedCallReturnsTheDefaultAndKeepsItsResult) {
    control->replies = {{E_NOTIMPL, Variant(true)},
                        {DISP_E_MEMBERNOTFOUND, Variant("ignored")},
                        {S_OK, Variant(std::int32_t{0})}};
    EXPECT_FALSE(wrapper.SetListParent(3));
    EXPECT_EQ(wrapper.LastResult(), E_NOTIMPL);
    EXPECT_EQ(wrapper.GetScriptViewData(1, true), "");
    EXPECT_EQ(wrapper.LastResult(), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(wrapper.RefreshTarnField(1, 2, "x"), 0);
    EXPECT_EQ(wrapper.LastResult(), S_OK);

    COrbelWrapper detached(nullptr);
    EXPECT_EQ(detached.Initiate(1, 2), 0);
    EXPECT_EQ(detached.LastResult(), E_POINTER);
}

class RecordingSink : public COrbelEventSink {
  public:
    void SetTablePos(const std::string& table, std::int32_t relationship, std::int32_t key,
                     const std::string& value) override {
        heard.push_back("SetTablePos " + table + " " + std::to_string(relationship) + " " +
                        std::to_string(key) + " " + value);
    }
    void Busy(bool busy) override { heard.push_back(busy ? "Busy TRUE" : "Busy FALSE"); }
    void Yield() override { heard.push_back("Yield"); }
    void OnOtherEvent(DISPID id, std::span<const Variant> args) override {
        std::string line = "other " + std::to_string(id);
        for (const Variant& a : args) line += " " + a.ToDisplayString();
        heard.push_back(line);
    }

    std::vector<std::string> heard;
};

TEST(EventSink, DispatchesDeclaredEventsToTheirVirtualsAndOthersToOnOtherEvent) {
    RecordingSink sink;
    const Variant pos[] = {Variant("TREE"), Variant(std::int32_t{2}), Variant("1"),
                           Variant("0000000001")};
    EXPECT_EQ(sink.Invoke(3, InvokeKind::Method, pos, nullptr), S_OK);
    // The control fires SelectAttachment (20) although the library does not declare it.
    const Variant attachment[] = {Variant("docs\\letter.doc")};
    EXPECT_EQ(sink.Invoke(20, InvokeKind::Method, attachment, nullptr), S_OK);
    EXPECT_EQ(sink.Invoke(4, InvokeKind::Method, {}, nullptr), S_OK);
    // Events nobody overrides are accepted and ignored.
    const Variant folder[] = {Variant("\\All")};
    EXPECT_EQ(sink.Invoke(8, InvokeKind::Method, folder, nullptr), S_OK);
    const Variant busy[] = {Variant(std::int32_t{-1})};
    EXPECT_EQ(sink.Invoke(11, InvokeKind::Method, busy, nullptr), S_OK);

    EXPECT_EQ(sink.heard, (std::vector<std::string>{
                              "SetTablePos TREE 2 1 0000000001",
                              R"(other 20 "docs\\letter.doc")",
                              "Yield",
                              "Busy TRUE",
                          }));
}

TEST(EventSink, RefusesWrongArgumentsWithoutCallingTheHandler) {
    RecordingSink sink;
    const Variant two[] = {Variant(true), Variant(false)};
    EXPECT_EQ(sink.Invoke(11, InvokeKind::Method, two, nullptr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(sink.Invoke(3, InvokeKind::Method, {}, nullptr), DISP_E_BADPARAMCOUNT);
    const Variant text[] = {Variant("maybe")};
    EXPECT_EQ(sink.Invoke(11, InvokeKind::Method, text, nullptr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(sink.Invoke(4, InvokeKind::PropertyGet, {}, nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_TRUE(sink.heard.empty());
}

TEST(EventSink, AnswersEventNamesInAnyCase) {
    RecordingSink sink;
    DISPID id = 0;
    EXPECT_EQ(sink.GetIDsOfNames("ReadNextRecord", id), S_OK);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(sink.GetIDsOfNames("getnextresourceid", id), S_OK);
    EXPECT_EQ(id, 19);
    EXPECT_EQ(sink.GetIDsOfNames("SelectAttachment", id), DISP_E_UNKNOWNNAME);
}

}  // namespace
}  // namespace orbel::host
