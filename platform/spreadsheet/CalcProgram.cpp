// The desktop program behind the spreadsheet application: LibreOffice Calc, started for the
// application and driven over UNO. The workbook opens in a visible Calc window; what the person
// selects there comes back through a selection listener on the document's controller. Those
// calls come on the connection's own thread, three or four for one click, the first of them
// possibly still the previous selection: the listener passes on only a change, and hands it to
// the user-interface thread.
#include <chrono>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionChangeListener.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <condition_variable>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/CrossThread.h"
#include "platform/EffectLog.h"
#include "platform/spreadsheet/CalcProcess.h"
#include "platform/spreadsheet/ModuleProgram.h"
#include "platform/spreadsheet/SpreadsheetIds.h"

namespace orbel::spreadsheet {

namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// Status of a call whose connection to the program is gone, and of a call the program failed
// without saying why.
constexpr HRESULT kDisconnected = static_cast<HRESULT>(0x80010108);
constexpr HRESULT kServerFault = static_cast<HRESULT>(0x80010105);

// A first profile is made during the start, which takes seconds on a busy machine.
constexpr auto kStartTimeout = std::chrono::seconds(60);
// How long Select waits for the program to report the selection it was asked for.
constexpr auto kSelectTimeout = std::chrono::seconds(5);
constexpr int kQuitGraceMs = 10000;

std::string Utf8(const rtl::OUString& s) {
    return rtl::OUStringToOString(s, RTL_TEXTENCODING_UTF8).getStr();
}

rtl::OUString Ou(const std::string& s) {
    return rtl::OUString(s.data(), static_cast<sal_Int32>(s.size()), RTL_TEXTENCODING_UTF8);
}

void Effect(const std::string& line) {
    platform::RecordEffect("spreadsheet: " + line);
}

// The local side of the connection, made once for the process.
Reference<css::uno::XComponentContext> LocalContext() {
    static const Reference<css::uno::XComponentContext> context = [] {
        // The runtime finds its own libraries and types through the office's settings.
        setenv("URE_BOOTSTRAP",
               "vnd.sun.star.pathname:" ORBEL_LIBREOFFICE_PROGRAM_DIR "/fundamentalrc", 0);
        return cppu::defaultBootstrap_InitialComponentContext();
    }();
    return context;
}

std::string Launcher() {
    if (const char* own = std::getenv("ORBEL_SOFFICE"); own && *own) return own;
    return ORBEL_LIBREOFFICE_PROGRAM_DIR "/soffice";
}

// The first cell of what the controller has selected, when it is cells.
std::optional<CellSelection> SelectedCell(const Reference<css::view::XSelectionSupplier>& view) {
    const css::uno::Any selection = view->getSelection();
    css::table::CellRangeAddress address;
    if (Reference<css::sheet::XCellRangeAddressable> range{selection, UNO_QUERY}; range.is()) {
        address = range->getRangeAddress();
    } else if (Reference<css::sheet::XSheetCellRanges> ranges{selection, UNO_QUERY}; ranges.is()) {
        const auto all = ranges->getRangeAddresses();
        if (!all.hasElements()) return std::nullopt;
        address = all[0];
    } else {
        return std::nullopt;
    }
    return CellSelection{address.Sheet, address.StartColumn + 1, address.StartRow + 1};
}

// What the listener and the program share: the last selection passed on, and the one Select
// is waiting for. The listener may outlive the program (the connection holds it); the program
// cuts it off when it goes.
struct SelectionFeed {
    std::mutex mutex;
    std::condition_variable arrived;
    std::optional<CellSelection> last;
    std::optional<CellSelection> awaited;
    bool awaitedArrived = false;
    std::function<void(const CellSelection&)> deliver;  // on the user-interface thread
};

class SelectionListener final : public cppu::WeakImplHelper1<css::view::XSelectionChangeListener> {
  public:
    explicit SelectionListener(std::shared_ptr<SelectionFeed> feed) : feed_(std::move(feed)) {}

    void SAL_CALL selectionChanged(const css::lang::EventObject& event) override {
        std::optional<CellSelection> cell;
        try {
            Reference<css::view::XSelectionSupplier> view{event.Source, UNO_QUERY};
            if (view.is()) cell = SelectedCell(view);
        } catch (const css::uno::Exception&) {
            return;  // the document is closing
        }
        if (!cell) return;
        std::lock_guard lock(feed_->mutex);
        if (feed_->last == cell) return;
        feed_->last = cell;
        if (feed_->awaited == cell) {
            feed_->awaitedArrived = true;
            feed_->arrived.notify_all();
            return;
        }
        platform::PostFromAnyThread([weak = std::weak_ptr<SelectionFeed>(feed_), c = *cell] {
            auto feed = weak.lock();
            if (!feed) return;
            std::function<void(const CellSelection&)> deliver;
            {
                std::lock_guard lock(feed->mutex);
                deliver = feed->deliver;
            }
            if (deliver) deliver(c);
        });
    }
    void SAL_CALL disposing(const css::lang::EventObject&) override {}

  private:
    std::shared_ptr<SelectionFeed> feed_;
};

class CalcProgram final : public SpreadsheetProgram {
  public:
    ~CalcProgram() override { Quit(); }

    bool Start(std::string& why) {
        auto named = [](const char* variable) {
            const char* value = std::getenv(variable);
            return value && *value;
        };
        const bool headless = !named("DISPLAY") && !named("WAYLAND_DISPLAY");
        if (!process_.Start(Launcher(), headless, why)) return false;
        try {
            Reference<css::bridge::XUnoUrlResolver> resolver =
                css::bridge::UnoUrlResolver::create(LocalContext());
            const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
            Reference<css::uno::XComponentContext> remote;
            while (!remote.is()) {
                try {
                    remote.set(resolver->resolve(Ou(process_.ConnectUrl())), UNO_QUERY_THROW);
                } catch (const css::connection::NoConnectException&) {
                    if (!process_.Running() || std::chrono::steady_clock::now() > deadline) {
                        why = "LibreOffice did not answer";
                        process_.End(0);
                        return false;
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
            }
            desktop_ = css::frame::Desktop::create(remote);
        } catch (const css::uno::Exception& e) {
            why = Utf8(e.Message);
            desktop_.clear();
            process_.End(0);
            return false;
        }
        feed_->deliver = [this](const CellSelection& cell) {
            if (onSelection) onSelection(cell);
        };
        Effect("LibreOffice Calc started");
        return true;
    }

    HRESULT Open(const std::string& path, std::vector<std::string>& sheets,
                 CellSelection& selection, std::string& description) override {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            description = "no such file";
            return DISP_E_EXCEPTION;
        }
        return Guard(description, [&] {
            CloseDocument();
            document_ = Load(std::filesystem::absolute(path).string());
            Reference<css::sheet::XSpreadsheetDocument> book{document_, UNO_QUERY};
            if (!book.is()) {
                CloseDocument();
                description = "not a workbook";
                return DISP_E_EXCEPTION;
            }
            sheets.clear();
            for (const rtl::OUString& name : book->getSheets()->getElementNames())
                sheets.push_back(Utf8(name));
            Reference<css::frame::XModel> model{document_, UNO_QUERY_THROW};
            view_.set(model->getCurrentController(), UNO_QUERY_THROW);
            const std::optional<CellSelection> now = SelectedCell(view_);
            selection = now.value_or(CellSelection{});
            {
                std::lock_guard lock(feed_->mutex);
                feed_->last = now;
            }
            listener_ = new SelectionListener(feed_);
            view_->addSelectionChangeListener(listener_);
            return S_OK;
        });
    }

    HRESULT Show(bool visible, std::string& description) override {
        visible_ = visible;
        if (!view_.is()) return S_OK;
        return Guard(description, [&] {
            Reference<css::frame::XController> controller{view_, UNO_QUERY_THROW};
            controller->getFrame()->getContainerWindow()->setVisible(visible);
            return S_OK;
        });
    }

    HRESULT Select(const CellSelection& cell, std::string& description) override {
        if (!view_.is()) {
            description = "No workbook is open.";
            return DISP_E_EXCEPTION;
        }
        const HRESULT hr = Guard(description, [&] {
            {
                std::lock_guard lock(feed_->mutex);
                feed_->awaited = cell;
                feed_->awaitedArrived = feed_->last == cell;
            }
            Reference<css::sheet::XSpreadsheetDocument> book{document_, UNO_QUERY_THROW};
            Reference<css::container::XIndexAccess> sheets{book->getSheets(), UNO_QUERY_THROW};
            Reference<css::table::XCellRange> sheet{sheets->getByIndex(cell.sheet),
                                                    UNO_QUERY_THROW};
            view_->select(css::uno::Any(sheet->getCellByPosition(cell.column - 1, cell.row - 1)));
            return S_OK;
        });
        std::unique_lock lock(feed_->mutex);
        if (hr == S_OK)
            feed_->arrived.wait_for(lock, kSelectTimeout, [&] { return feed_->awaitedArrived; });
        feed_->awaited.reset();
        lock.unlock();
        if (hr == S_OK && onSelection) onSelection(cell);
        return hr;
    }

    void Quit() override {
        {
            std::lock_guard lock(feed_->mutex);
            feed_->deliver = nullptr;
        }
        if (!desktop_.is()) return;
        try {
            if (view_.is() && listener_.is()) view_->removeSelectionChangeListener(listener_);
        } catch (const css::uno::Exception&) {
        }
        CloseDocument();
        try {
            desktop_->terminate();
        } catch (const css::uno::Exception&) {
            // The connection goes with the office: an answer may not come.
        }
        view_.clear();
        listener_.clear();
        desktop_.clear();
        process_.End(kQuitGraceMs);
        Effect("LibreOffice Calc ended");
    }

  private:
    Reference<css::lang::XComponent> Load(const std::string& path) {
        css::uno::Sequence<css::beans::PropertyValue> args(4);
        auto* a = args.getArray();
        a[0].Name = "Hidden";
        a[0].Value <<= !visible_;
        // A stored workbook is data: its macros never run and its links are not followed.
        a[1].Name = "MacroExecutionMode";
        a[1].Value <<= css::document::MacroExecMode::NEVER_EXECUTE;
        a[2].Name = "UpdateDocMode";
        a[2].Value <<= css::document::UpdateDocMode::NO_UPDATE;
        a[3].Name = "ReadOnly";
        a[3].Value <<= true;
        return desktop_->loadComponentFromURL(Ou(FileUrlOf(path)), "_blank", 0, args);
    }

    void CloseDocument() {
        if (!document_.is()) return;
        try {
            Reference<css::util::XCloseable> closeable{document_, UNO_QUERY};
            if (closeable.is())
                closeable->close(true);
            else
                document_->dispose();
        } catch (const css::uno::Exception&) {
            // Closed by the person already.
        }
        document_.clear();
        view_.clear();
        listener_.clear();
    }

    // A call over the connection: the program's own errors carry its description, a lost
    // connection or a failure it does not explain its status.
    template <class F>
    HRESULT Guard(std::string& description, F&& f) {
        try {
            return f();
        } catch (const css::lang::DisposedException&) {
            return kDisconnected;
        } catch (const css::io::IOException& e) {
            description = Utf8(e.Message);
        } catch (const css::lang::IllegalArgumentException& e) {
            description = Utf8(e.Message);
        } catch (const css::uno::RuntimeException&) {
            return kServerFault;
        } catch (const css::uno::Exception& e) {
            description = Utf8(e.Message);
        }
        if (description.empty()) description = "LibreOffice refused it";
        return DISP_E_EXCEPTION;
    }

    CalcProcess process_;
    Reference<css::frame::XDesktop2> desktop_;
    Reference<css::lang::XComponent> document_;
    Reference<css::view::XSelectionSupplier> view_;
    Reference<css::view::XSelectionChangeListener> listener_;
    std::shared_ptr<SelectionFeed> feed_ = std::make_shared<SelectionFeed>();
    bool visible_ = false;
};

std::unique_ptr<SpreadsheetProgram> StartCalc() {
    auto program = std::make_unique<CalcProgram>();
    std::string why;
    if (program->Start(why)) return program;
    Effect("LibreOffice Calc cannot start: " + why);
    return nullptr;
}

}  // namespace

const ModuleProgram kModuleProgram{kCalcClsidText,
                                   "Orbel spreadsheet application on LibreOffice Calc", StartCalc};

}  // namespace orbel::spreadsheet
