// The unattended run behind --screenshot: selects a folder in the control's tree the way a
// click does (or opens script maintenance and selects a script in the script view's list),
// waits until the control has filled its list, then, when asked, clicks an item of the list and
// types a page number into the preview's page box, saves the main window as a PNG and closes it.
// Under a virtual display this is how the demo is looked at without a person.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

class QAbstractItemView;
class QTimer;
class QTreeView;

namespace orbel::platform {
class QtPlatform;
}

namespace orbel::demo {

class ControlHost;
class DemoRouting;
class DemoWindow;

class ScreenshotRun final : public QObject {
    Q_OBJECT
  public:
    ScreenshotRun(platform::QtPlatform& platform, DemoWindow& window, ControlHost& host,
                  std::string folder, std::string script, std::string png);
    // Instead of a folder: the routing sheet, with the invoice attached to the tree Accounts
    // and the letter mailed through the routes `routing` answers, after its batch run.
    void RouteSheet(DemoRouting& routing) { routing_ = &routing; }

    // Once the folder's list is shown: double-clicks the item of that name, then types the page
    // into the preview's page box and presses Enter (nothing for empty ones).
    void ShowItem(std::string item, std::string page);
    // Starts from the loop, once the store is open.
    void Start();
    // 0 once the PNG is saved; 1 when the folder is not in the tree, the control did not
    // settle in time or the file could not be written.
    int ExitCode() const { return exitCode_; }

  private:
    QTreeView* TreeView() const;
    void Select();
    void SelectScript();
    void ChooseScript();
    void Poll();
    // The next step once the control has settled; false when the run has finished.
    bool NextStep();
    bool ClickItem();
    bool TypePage();
    void StartRouting();
    // Runs the next routing step once the control waits for nothing.
    void NextRoutingStep();
    QAbstractItemView* ListView() const;
    bool SelectRow(const std::string& name);
    void Grab();
    void Finish(int code, const std::string& message);

    platform::QtPlatform& platform_;
    DemoWindow& window_;
    ControlHost& host_;
    std::string folder_;
    std::string script_;
    std::string png_;
    std::string item_;
    std::string page_;
    bool itemClicked_ = false;
    bool pageTyped_ = false;
    DemoRouting* routing_ = nullptr;
    std::size_t routingStep_ = 0;
    QTimer* poll_ = nullptr;
    bool treeShown_ = false;
    int quietPolls_ = 0;
    int polls_ = 0;
    int exitCode_ = 1;
};

}  // namespace orbel::demo
