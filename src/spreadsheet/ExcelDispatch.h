// The typed wrappers the cell link drives the spreadsheet program with: each member is one
// InvokeHelper call with the type library's dispatch ID, kind and types. A failed call throws:
// COleDispatchException when the program raised an error with a description, COleException
// with the status otherwise. Only the members the cell link uses are written.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"

namespace orbel {

struct COleException {
    HRESULT m_sc = 0;
};

struct COleDispatchException {
    HRESULT m_wCode = 0;
    std::string m_strDescription;
};

class COleDispatchDriver {
  public:
    COleDispatchDriver() = default;
    explicit COleDispatchDriver(std::shared_ptr<IDispatch> dispatch)
        : m_lpDispatch(std::move(dispatch)) {}

    // False when the ProgID names no class that can be made.
    bool CreateDispatch(const std::string& progId);
    void AttachDispatch(std::shared_ptr<IDispatch> dispatch) { m_lpDispatch = std::move(dispatch); }
    void ReleaseDispatch() { m_lpDispatch.reset(); }
    const std::shared_ptr<IDispatch>& Dispatch() const { return m_lpDispatch; }

    Variant InvokeHelper(DISPID id, InvokeKind kind, std::vector<Variant> args = {});
    Variant GetProperty(DISPID id) { return InvokeHelper(id, InvokeKind::PropertyGet); }
    void SetProperty(DISPID id, Variant value) {
        InvokeHelper(id, InvokeKind::PropertyPut, {std::move(value)});
    }

  protected:
    std::shared_ptr<IDispatch> m_lpDispatch;
};

class _Application : public COleDispatchDriver {
  public:
    using COleDispatchDriver::COleDispatchDriver;
    std::shared_ptr<IDispatch> GetWorkbooks();
    void SetVisible(bool visible);
    void Quit();
    // Read with the driver's generic property get, as the type library gives it no wrapper.
    std::shared_ptr<IDispatch> GetSelection();
};

class Workbooks : public COleDispatchDriver {
  public:
    using COleDispatchDriver::COleDispatchDriver;
    // The file name; the twelve other arguments are passed as omitted.
    std::shared_ptr<IDispatch> Open(const std::string& filename);
};

class Range : public COleDispatchDriver {
  public:
    using COleDispatchDriver::COleDispatchDriver;
    std::shared_ptr<IDispatch> GetWorksheet();
    std::int32_t GetColumn();
    std::int32_t GetRow();
};

class _Worksheet : public COleDispatchDriver {
  public:
    using COleDispatchDriver::COleDispatchDriver;
    std::string GetName();
};

}  // namespace orbel
