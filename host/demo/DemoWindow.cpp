#include "host/demo/DemoWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <system_error>

#include "host/demo/DemoPaths.h"
#include "host/store/StoreByName.h"
#include "host/wrapper/OrbelVersion.h"
#include "platform/automation/ComRuntime.h"
#include "platform/qt/QtPlatform.h"

namespace orbel::demo {

namespace {

// The events dock keeps this many lines: a select of 100,000 rows logs twice that.
constexpr int kLogLines = 5000;
constexpr int kLogFlushMs = 100;
// How often the status bar counts the rows read while the control loads.
constexpr int kProgressMs = 100;
// How often the window asks for what other programs sharing the store changed.
constexpr int kFollowMs = 100;
constexpr int kRecentStores = 6;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

// The central widget's window procedure: the control follows the widget's size.
class DemoWindow::FormProc final : public platform::WindowProcedure {
  public:
    explicit FormProc(ControlHost& host) : host_(host) {}
    LRESULT WindowProc(HWND, UINT message, WPARAM, LPARAM lParam) override {
        if (message == WM_SIZE) host_.Resize(RECT{0, 0, LOWORD(lParam), HIWORD(lParam)});
        return 0;
    }

  private:
    ControlHost& host_;
};

DemoWindow::DemoWindow(platform::QtPlatform& platform, ControlHost& host, SampleDocuments samples)
    : platform_(platform),
      host_(host),
      samples_(std::move(samples)),
      formProc_(std::make_unique<FormProc>(host)),
      routing_(std::make_unique<DemoRouting>(
          platform, host, [this](const std::string& line) { AppendLog(line); })) {
    setWindowTitle(QString());
    setCentralWidget(new QWidget(this));
    BuildEventsDock();
    BuildMenus();
    folderLabel_ = new QLabel(this);
    busyLabel_ = new QLabel(this);
    noticeLabel_ = new QLabel(this);
    statusBar()->addPermanentWidget(folderLabel_, 1);
    statusBar()->addPermanentWidget(noticeLabel_);
    statusBar()->addPermanentWidget(busyLabel_);
    host_.OnLog([this](const std::string& line) { AppendLog(line); });
    host_.OnHostError([this](const std::string& reason) {
        noticeLabel_->setText(Text("Host error: " + reason));
    });
    host_.OnEvent([this](const host::UserEvent& event) { OnControlEvent(event); });
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(kProgressMs);
    connect(progressTimer_, &QTimer::timeout, this, [this] { UpdateState(); });
    auto* followTimer = new QTimer(this);
    followTimer->setInterval(kFollowMs);
    connect(followTimer, &QTimer::timeout, this, [this] { host_.FollowChanges(); });
    followTimer->start();
    QSettings settings;
    restoreGeometry(settings.value("window/geometry").toByteArray());
    restoreState(settings.value("window/state").toByteArray());
    UpdateState();
}

DemoWindow::~DemoWindow() {
    host_.OnLog(nullptr);
    host_.OnEvent(nullptr);
    host_.OnHostError(nullptr);
    host_.Destroy();
    // The widget stays ours; the platform only forgets it.
    if (form_) platform_.Windows().DestroyWindow(form_);
}

bool DemoWindow::CreateControl(std::string& error) {
    form_ =
        platform_.Windows().Adopt(centralWidget(), "OrbelDemoForm", kNoWindow, 0, formProc_.get());
    if (!form_) {
        error = "the main window's central widget cannot hold the control";
        return false;
    }
    // The preview pane comes with the imaging module; without it the control shows none.
    RegisterModule(ImagingModulePath());
    if (const std::string spreadsheet = SpreadsheetModulePath(); !spreadsheet.empty())
        RegisterModule(spreadsheet);
    RegisterModule(BrowserModulePath());
    const QSize size = centralWidget()->size();
    if (!host_.Create(form_, RECT{0, 0, size.width(), size.height()}, ModulePath(), error))
        return false;
    UpdateState();
    return true;
}

// ---------------------------------------------------------------------------------------
// Menus

void DemoWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&New store...", QKeySequence::New, this, [this] { NewStore(); });
    file->addAction("&Open store...", QKeySequence::Open, this, [this] { OpenStoreDialog(); });
    file->addAction("Open &shared store...", this, [this] { OpenSharedStoreDialog(); });
    recentMenu_ = file->addMenu("Open &recent");
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    closeStoreAction_ =
        file->addAction("&Close store", QKeySequence::Close, this, [this] { CloseStore(); });
    file->addSeparator();
    file->addAction("&Quit", QKeySequence::Quit, this, &QWidget::close);

    QMenu* store = menuBar()->addMenu("&Store");
    storeActions_ << store->addAction("Open &normally", this, [this] { OpenNormally(); });
    storeActions_ << store->addAction("Open in &folder maintenance...", this,
                                      [this] { OpenFolderMaintenance(); });
    storeActions_ << store->addAction("&Script maintenance", this,
                                      [this] { OpenScriptMaintenance(); });

    QMenu* options = menuBar()->addMenu("&Options");
    struct Toggle {
        const char* property;
        const char* text;
        bool (host::COrbelWrapper::*get)();
        void (host::COrbelWrapper::*set)(bool);
    };
    static const Toggle kToggles[] = {
        {"ShowResource", "Show &resource column (ShowResource)",
         &host::COrbelWrapper::GetShowResource, &host::COrbelWrapper::SetShowResource},
        {"BatchMaint", "&Batch maintenance (BatchMaint)", &host::COrbelWrapper::GetBatchMaint,
         &host::COrbelWrapper::SetBatchMaint},
        {"NotifySelectTiff", "Host &views TIFF images (NotifySelectTiff)",
         &host::COrbelWrapper::GetNotifySelectTiff, &host::COrbelWrapper::SetNotifySelectTiff},
    };
    for (const Toggle& t : kToggles) {
        QAction* action = options->addAction(t.text);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, t](bool on) {
            host::COrbelWrapper control = host_.Control();
            (control.*t.set)(on);
            AppendLog(std::string("set ") + t.property + " = " + (on ? "TRUE" : "FALSE"));
        });
        propertyActions_ << action;
    }
    // Directory selection is a way of opening the store: switched on, the routing sheet opens;
    // switched off, the store opens normally again.
    routingSheetAction_ = options->addAction("Routing &sheet (DirectorySelect)");
    routingSheetAction_->setCheckable(true);
    connect(routingSheetAction_, &QAction::triggered, this, [this](bool on) { OpenRouting(on); });
    composeMailAction_ = options->addAction("&Compose e-mail for SendEmail");
    composeMailAction_->setCheckable(true);
    connect(composeMailAction_, &QAction::triggered, this, [this](bool on) {
        routing_->SetComposeMail(on);
        AppendLog(std::string("option compose e-mail for SendEmail = ") + (on ? "on" : "off"));
    });
    options->addAction("Response &time-out (ResponseTimeOut)...", this,
                       [this] { SetResponseTimeOut(); });
    options->addSeparator();
    options->addAction(events_->toggleViewAction());

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&About Orbel demo", this, [this] { About(); });
    // The checks show the control's values as they are when the menu opens.
    connect(options, &QMenu::aboutToShow, this, [this] {
        host::COrbelWrapper control = host_.Control();
        for (qsizetype i = 0; i < propertyActions_.size(); ++i) {
            propertyActions_[i]->setEnabled(host_.Created());
            propertyActions_[i]->setChecked((control.*kToggles[i].get)());
        }
        routingSheetAction_->setEnabled(host_.Store() != nullptr);
        routingSheetAction_->setChecked(host_.Created() && control.GetDirectorySelect());
        composeMailAction_->setChecked(routing_->ComposeMail());
    });
}

void DemoWindow::BuildEventsDock() {
    events_ = new QDockWidget("Events", this);
    events_->setObjectName("events");
    log_ = new QPlainTextEdit(events_);
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(kLogLines);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    events_->setWidget(log_);
    addDockWidget(Qt::BottomDockWidgetArea, events_);
    logTimer_ = new QTimer(this);
    logTimer_->setSingleShot(true);
    logTimer_->setInterval(kLogFlushMs);
    connect(logTimer_, &QTimer::timeout, this, [this] { FlushLog(); });
}

// ---------------------------------------------------------------------------------------
// Stores

void DemoWindow::WhenIdle(std::function<void()> work) {
    if (!host_.Idle()) {
        statusBar()->showMessage("The control is waiting for the store; try again in a moment.",
                                 3000);
        return;
    }
    // From the loop, not from inside Qt's handling of the menu click.
    platform_.Loop().PostTask(std::move(work));
}

bool DemoWindow::OpenStore(const std::filesystem::path& path, bool seed, std::string* error) {
    OpenedStore opened = OpenStoreFile(path, seed ? &samples_ : nullptr);
    const bool shown = ShowStore(std::move(opened.store), opened.error, path.string(),
                                 path.filename().string(), opened.created, error);
    if (shown) RememberStore(path);
    return shown;
}

bool DemoWindow::OpenSharedStore(const std::string& conninfo, std::string* error) {
    host::OpenedTableStore opened = host::OpenStoreByName("postgres:" + conninfo);
    // Named without the connection string, which may hold a password.
    const std::string name = opened.store ? opened.store->Name() : std::string("the shared store");
    const bool shown = ShowStore(std::move(opened.store), opened.error, name, name, false, error);
    // Other desktops' writes are not followed yet: the user must know the trees can be behind.
    if (shown)
        AppendLog(
            "notice: changes other desktops make to a shared store show here when it is "
            "opened again");
    return shown;
}

bool DemoWindow::ShowStore(std::unique_ptr<host::TableStore> opened, std::string why,
                           const std::string& name, const std::string& title, bool created,
                           std::string* error) {
    const std::string readOnly = opened ? opened->ReadOnlyReason() : std::string();
    if (opened && host_.AttachStore(std::move(opened), why)) {
        AppendLog("store " + name + (created ? " (new)" : ""));
        // Told before the trees are shown: every change the user tries will be refused.
        noticeLabel_->setText(readOnly.empty() ? QString() : Text("Read-only: " + readOnly));
        if (!readOnly.empty()) AppendLog("notice: " + readOnly);
        // The application's name follows the title by itself: the title names the store.
        setWindowTitle(Text(title + (readOnly.empty() ? "" : " (read-only)")));
        // The status bar counts the rows as they come while the control opens the store.
        opening_ = true;
        folder_.clear();
        UpdateState();
        const bool shown = host_.OpenNormally() != -1;
        opening_ = false;
        UpdateState();
        if (shown) return true;
        why = "the control could not open the store's trees";
    }
    UpdateState();
    if (error)
        *error = why;
    else
        QMessageBox::warning(this, "Orbel demo", Text("Cannot open " + name + ": " + why));
    return false;
}

void DemoWindow::NewStore() {
    const QString chosen = QFileDialog::getSaveFileName(
        this, "New store", Text(DataHome().string()), "Stores (*.orbel);;All files (*)");
    if (chosen.isEmpty()) return;
    std::filesystem::path path = chosen.toStdString();
    if (path.extension().empty()) path += ".orbel";
    WhenIdle([this, path] {
        // The dialog asked whether to replace a file that is there.
        std::error_code ec;
        host_.CloseStore();
        std::filesystem::remove(path, ec);
        OpenStore(path, false);
    });
}

void DemoWindow::OpenStoreDialog() {
    const QString chosen = QFileDialog::getOpenFileName(
        this, "Open store", Text(DataHome().string()), "Stores (*.orbel);;All files (*)");
    if (chosen.isEmpty()) return;
    WhenIdle(
        [this, path = std::filesystem::path(chosen.toStdString())] { OpenStore(path, false); });
}

void DemoWindow::OpenSharedStoreDialog() {
    bool ok = false;
    const QString conninfo = QInputDialog::getText(
        this, "Open shared store",
        "The PostgreSQL server, as a connection string (host=db.example.org dbname=orbel "
        "user=clerk)\nor a URI (postgresql://clerk@db.example.org/orbel). Keep the password in "
        "~/.pgpass:",
        QLineEdit::Normal, QString(), &ok);
    if (!ok || conninfo.trimmed().isEmpty()) return;
    WhenIdle([this, c = conninfo.trimmed().toStdString()] { OpenSharedStore(c); });
}

void DemoWindow::CloseStore() {
    WhenIdle([this] {
        host_.CloseStore();
        setWindowTitle(QString());
        noticeLabel_->clear();
        folder_.clear();
        AppendLog("store closed");
        UpdateState();
    });
}

void DemoWindow::OpenNormally() {
    WhenIdle([this] {
        if (FreshControl()) host_.OpenNormally();
    });
}

void DemoWindow::OpenFolderMaintenance() {
    bool ok = false;
    const QString folder = QInputDialog::getText(
        this, "Folder maintenance",
        "Folder maintenance edits the folders of a class: a tree of folders that every item\n"
        "of the store shares. Which class folder do you want to edit? (It is made when it\n"
        "does not exist yet.)",
        QLineEdit::Normal, "Letters", &ok);
    if (!ok || folder.isEmpty()) return;
    const QString subfolder =
        QInputDialog::getText(this, "Folder maintenance",
                              "Which folder inside \"" + folder +
                                  "\" do you want to open? (It is made when it does\n"
                                  "not exist yet.)",
                              QLineEdit::Normal, "2026", &ok);
    if (!ok || subfolder.isEmpty()) return;
    WhenIdle([this, f = folder.toStdString(), s = subfolder.toStdString()] {
        if (FreshControl()) host_.OpenFolderMaintenance(f, s);
    });
}

void DemoWindow::OpenRouting(bool sheet) {
    WhenIdle([this, sheet] {
        // A fresh control has directory selection off and the standard columns.
        if (!FreshControl()) return;
        if (sheet)
            host_.OpenRoutingSheet();
        else
            host_.OpenNormally();
    });
}

void DemoWindow::OpenScriptMaintenance() {
    WhenIdle([this] {
        if (FreshControl()) host_.OpenScriptMaintenance();
    });
}

bool DemoWindow::FreshControl() {
    std::string error;
    if (host_.Restart(error)) {
        folder_.clear();
        UpdateState();
        return true;
    }
    QMessageBox::warning(this, "Orbel demo", Text("The control could not be restarted: " + error));
    return false;
}

void DemoWindow::RememberStore(const std::filesystem::path& path) {
    const QString name = Text(std::filesystem::absolute(path).lexically_normal().string());
    QSettings settings;
    QStringList recent = settings.value("stores/recent").toStringList();
    recent.removeAll(name);
    recent.prepend(name);
    while (recent.size() > kRecentStores) recent.removeLast();
    settings.setValue("stores/recent", recent);
    settings.setValue("stores/last", name);
}

void DemoWindow::FillRecentMenu() {
    recentMenu_->clear();
    const QStringList recent = QSettings().value("stores/recent").toStringList();
    for (const QString& name : recent) {
        recentMenu_->addAction(name, this, [this, name] {
            WhenIdle([this, path = std::filesystem::path(name.toStdString())] {
                OpenStore(path, false);
            });
        });
    }
    if (recent.isEmpty()) recentMenu_->addAction("(none yet)")->setEnabled(false);
}

void DemoWindow::About() {
    QMessageBox::about(this, "About Orbel demo",
                       Text(std::string("<b>Orbel demo</b> ") + kOrbelVersion +
                            "<p>The Orbel document-store browser control on a store kept in an "
                            "SQLite file: folders, links to files and web pages, and the classes "
                            "that give the store its structure.</p>"));
}

void DemoWindow::SetResponseTimeOut() {
    if (!host_.Created()) return;
    host::COrbelWrapper control = host_.Control();
    bool ok = false;
    const int ms = QInputDialog::getInt(this, "Response time-out",
                                        "How long the control waits for an answer (ms):",
                                        control.GetResponseTimeOut(), 10, 3600000, 1000, &ok);
    if (!ok) return;
    control.SetResponseTimeOut(ms);
    AppendLog("set ResponseTimeOut = " + std::to_string(ms));
}

// ---------------------------------------------------------------------------------------
// What the control says

void DemoWindow::OnControlEvent(const host::UserEvent& event) {
    routing_->OnEvent(event);
    if (event.name == "FolderChange" && !event.args.empty()) {
        const Variant& path = event.args[0];
        folder_ = path.Type() == VarType::BStr ? path.BStr() : path.ToDisplayString();
        UpdateState();
    } else if (event.name == "Busy" && !event.args.empty()) {
        busy_ = event.args[0].Type() == VarType::Bool && event.args[0].Bool();
        UpdateState();
    } else if (event.name == "Exit") {
        // The user pressed Escape in the control: asked, not from inside the control's event.
        QMetaObject::invokeMethod(this, &DemoWindow::ConfirmClose, Qt::QueuedConnection);
    }
}

void DemoWindow::AppendLog(const std::string& line) {
    pendingLog_ << Text(line);
    // Only the last lines can be shown: drop the rest before they reach the widget.
    if (pendingLog_.size() > kLogLines) pendingLog_.remove(0, pendingLog_.size() - kLogLines);
    if (!logTimer_->isActive()) logTimer_->start();
}

void DemoWindow::FlushLog() {
    if (pendingLog_.isEmpty()) return;
    log_->appendPlainText(pendingLog_.join('\n'));
    pendingLog_.clear();
}

void DemoWindow::UpdateState() {
    const bool open = host_.Store() != nullptr;
    closeStoreAction_->setEnabled(open);
    for (QAction* a : storeActions_) a->setEnabled(open);
    const bool waiting = opening_ || busy_ || !host_.Idle();
    const std::uint64_t rows = host_.RowsRead() - rowsAtStart_;
    if (!open) {
        folderLabel_->setText("No store open");
    } else if (waiting && rows > 0) {
        folderLabel_->setText(Text("Loading " +
                                   (folder_.empty() ? std::string("the store's trees") : folder_) +
                                   ": " + QString::number(rows).toStdString() + " rows read"));
    } else {
        folderLabel_->setText(Text("Folder: " + (folder_.empty() ? "-" : folder_)));
    }
    busyLabel_->setText(waiting ? "Busy" : "Ready");
    // While the control waits the count goes on; once it is ready the next load counts anew.
    if (waiting && !progressTimer_->isActive()) progressTimer_->start();
    if (!waiting) {
        progressTimer_->stop();
        rowsAtStart_ = host_.RowsRead();
    }
}

std::string DemoWindow::Notice() const {
    return noticeLabel_->text().toStdString();
}

void DemoWindow::closeEvent(QCloseEvent* event) {
    // A request still waiting ends first (its answer is on the way, or its time-out): the
    // window closes once it has.
    if (!host_.Idle()) {
        event->ignore();
        if (!closing_) {
            closing_ = true;
            statusBar()->showMessage("Closing once the control has its answer...");
        }
        QTimer::singleShot(50, this, &QWidget::close);
        return;
    }
    FlushLog();
    QSettings settings;
    settings.setValue("window/geometry", saveGeometry());
    settings.setValue("window/state", saveState());
    event->accept();
    platform_.Loop().PostQuitMessage(0);
}

void DemoWindow::ConfirmClose() {
    // Asked through the platform, so that a test's scripted user answers it as a person does.
    const platform::MessageBoxRequest question{"Close the Orbel demo?", "Orbel demo",
                                               platform::MessageButtons::YesNo,
                                               platform::MessageIcon::Question};
    if (platform_.User().MessageBox(question) == platform::MessageAnswer::Yes) close();
}

}  // namespace orbel::demo
