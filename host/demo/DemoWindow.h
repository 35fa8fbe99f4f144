// The demo's main window: the control in the central widget, menus to open stores and set the
// control's properties, a dock that logs the whole conversation between control and host, and
// a status bar with the folder the control last reported and whether it is busy.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "host/demo/ControlHost.h"
#include "host/demo/DemoRouting.h"
#include "host/demo/DemoStore.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTimer;

namespace orbel::platform {
class QtPlatform;
}

namespace orbel::demo {

class DemoWindow final : public QMainWindow {
    Q_OBJECT
  public:
    DemoWindow(platform::QtPlatform& platform, ControlHost& host, SampleDocuments samples);
    ~DemoWindow() override;

    // Makes the central widget a window of the platform and creates the control in it.
    bool CreateControl(std::string& error);
    // Opens the store file (made, and filled with the samples when `seed`, if it is not there)
    // and the demo's trees in normal mode. Says what went wrong in `error` when given, else in
    // a message box.
    bool OpenStore(const std::filesystem::path& path, bool seed, std::string* error = nullptr);
    // Opens the store on a PostgreSQL server that `conninfo` (a libpq connection string or
    // URI) names, the same way.
    bool OpenSharedStore(const std::string& conninfo, std::string* error = nullptr);

    // The folder the control last reported with FolderChange ("\All\..."), and whether it
    // said it is busy.
    const std::string& LastFolder() const { return folder_; }
    // What the status bar tells about the store: that it is read-only and why, or the host's
    // reason for the last request it refused; empty when there is nothing to tell.
    std::string Notice() const;
    bool Busy() const { return busy_; }
    DemoRouting& Routing() { return *routing_; }
    // The central widget's window, where the control lives.
    HWND Form() const { return form_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    class FormProc;
    void BuildMenus();
    void BuildEventsDock();
    // Runs `work` from the message loop once the control waits for nothing; refuses (in the
    // status bar) when it does.
    void WhenIdle(std::function<void()> work);
    void NewStore();
    void OpenStoreDialog();
    void OpenSharedStoreDialog();
    // Attaches an opened store (or says why `opened` is none) and shows its trees. `name` is
    // the store in messages and the log, `title` in the window's title.
    bool ShowStore(std::unique_ptr<host::TableStore> opened, std::string why,
                   const std::string& name, const std::string& title, bool created,
                   std::string* error);
    void CloseStore();
    void OpenNormally();
    void OpenFolderMaintenance();
    void OpenScriptMaintenance();
    // The routing sheet, or the store opened normally again.
    void OpenRouting(bool sheet);
    void SetResponseTimeOut();
    // Gives the control a fresh start before it opens another mode; false after saying why.
    bool FreshControl();
    void RememberStore(const std::filesystem::path& path);
    void FillRecentMenu();
    void About();
    // Escape in the control: closes the window once the user said yes.
    void ConfirmClose();
    void OnControlEvent(const host::UserEvent& event);
    void AppendLog(const std::string& line);
    void FlushLog();
    void UpdateState();

    platform::QtPlatform& platform_;
    ControlHost& host_;
    SampleDocuments samples_;
    std::unique_ptr<FormProc> formProc_;
    std::unique_ptr<DemoRouting> routing_;
    HWND form_;
    std::string folder_;
    bool busy_ = false;
    bool closing_ = false;
    bool opening_ = false;  // a store's trees are being opened

    QDockWidget* events_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QStringList pendingLog_;
    QTimer* logTimer_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QLabel* busyLabel_ = nullptr;
    // The store's read-only notice, or the host's reason for the last refused request.
    QLabel* noticeLabel_ = nullptr;
    QAction* closeStoreAction_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    std::uint64_t rowsAtStart_ = 0;
    QList<QAction*> storeActions_;
    QList<QAction*> propertyActions_;
    QAction* routingSheetAction_ = nullptr;
    QAction* composeMailAction_ = nullptr;
};

}  // namespace orbel::demo
