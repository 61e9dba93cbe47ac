#include "desktop/windows/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

#include "desktop/core/ProgramIdentity.h"
#include "desktop/core/ShortDate.h"
#include "desktop/windows/ApplicationPrinter.h"
#include "desktop/windows/frmAbout.h"
#include "desktop/windows/frmOptions.h"

namespace wexal::desktop {

namespace {

struct TabDefinition {
    const char* caption;
    const char* key;
    const char* tag;
};
constexpr std::array<TabDefinition, frmMain::kTabCount> kTabs = {{
    {"Interface", "INT", "Interface"},
    {"Operation", "OPR", "Operation"},
    {"Installation", "INST", "Installation"},
}};

constexpr std::int64_t kMinimumWidthTwips = 6000;
constexpr std::int64_t kMinimumHeightTwips = 4000;
constexpr std::int64_t kParkedLeftTwips = -20000;

// The program has no help file; the help commands say so.
constexpr std::string_view kHelpFile = "";

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QAction* AddAction(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

bool OnSomeScreen(const QRect& rect) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return true;
    }
    for (const QScreen* screen : screens) {
        if (screen->availableGeometry().intersects(rect)) {
            return true;
        }
    }
    return false;
}

// A loaded coordinate stays as stored while the window still stands on the
// pixel it gave.
std::int64_t Keep(std::int64_t loaded, int pixels) {
    return TwipsToPixels(loaded) == pixels ? loaded : PixelsToTwips(pixels);
}

// "3:07 PM", as the status bar's time panel shows it.
QString StatusTime(const LocalDateTime& now) {
    const int hour12 = now.Hour % 12 == 0 ? 12 : now.Hour % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(hour12)
        .arg(now.Minute, 2, 10, QLatin1Char('0'))
        .arg(now.Hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

}  // namespace

frmMain::frmMain(ProgramServices& services, const MainWindowParts& parts, QWidget* parent)
    : QMainWindow(parent),
      TabStrip1(nullptr),
      sbStatusBar(new QStatusBar(this)),
      services_(services),
      actions_(parts.actions),
      context_{services_, state_, actions_} {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Utf8(kProgramTitle));
    setMinimumSize(TwipsToPixels(kMinimumWidthTwips), TwipsToPixels(kMinimumHeightTwips));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(client);
    client->installEventFilter(this);

    TabStrip1 = new TabStrip(client);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->Tabs().setObjectName(QStringLiteral("TabStrip1Tabs"));
    for (const TabDefinition& tab : kTabs) {
        TabStrip1->Tabs().addTab(QString::fromLatin1(tab.caption));
    }
    connect(&TabStrip1->Tabs(), &QTabBar::currentChanged, this, [this] { TabStrip1_Click(); });

    const std::array<const MainWindowParts::TabFactory*, kTabCount> factories = {
        &parts.Interface, &parts.Operation, &parts.Installation};
    for (std::size_t i = 0; i < kTabCount; ++i) {
        auto* panel = new QWidget(client);
        panel->setObjectName(QStringLiteral("picFunc%1").arg(i));
        panel->setProperty("Tag", QString::fromLatin1(kTabs[i].tag));
        auto* layout = new QVBoxLayout(panel);
        layout->setContentsMargins(0, 0, 0, 0);
        std::unique_ptr<MainWindowTab> tab =
            *factories[i] ? (*factories[i])(context_) : std::make_unique<MainWindowTab>();
        tabs_[i] = tab.release();
        layout->addWidget(tabs_[i]);
        picFunc[i] = panel;
    }

    BuildMenus();
    BuildStatusBar();
}

void frmMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("frmMainMenu"));

    QMenu* file = AddMenu(bar, "mnuFile", tr("&File"));
    mnuFilePageSetup = AddAction(file, "mnuFilePageSetup", tr("Page Set&up..."));
    mnuFileExit = AddAction(file, "mnuFileExit", tr("E&xit"));
    mnuFilePageSetup->setVisible(false);
    connect(mnuFilePageSetup, &QAction::triggered, this, &frmMain::PageSetup);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);

    QMenu* view = AddMenu(bar, "mnuView", tr("&View"));
    mnuViewToolbar = AddAction(view, "mnuViewToolbar", tr("&Toolbar"));
    mnuViewStatusBar = AddAction(view, "mnuViewStatusBar", tr("Status &Bar"));
    mnuViewBar0 = AddSeparator(view, "mnuViewBar0");
    mnuViewRefresh = AddAction(view, "mnuViewRefresh", tr("&Refresh"));
    mnuViewOptions = AddAction(view, "mnuViewOptions", tr("&Options..."));
    for (QAction* check : {mnuViewToolbar, mnuViewStatusBar}) {
        check->setCheckable(true);
        check->setChecked(true);
    }
    for (QAction* hidden : {mnuViewToolbar, mnuViewBar0, mnuViewRefresh, mnuViewOptions}) {
        hidden->setVisible(false);
    }
    connect(mnuViewStatusBar, &QAction::toggled, this, [this](bool checked) {
        sbStatusBar->setVisible(checked);
        // The client area takes the bar's place at once, then gives the band back.
        layout()->activate();
        LayOutPanels();
    });
    connect(mnuViewRefresh, &QAction::triggered, this,
            [this] { services_.messages.ShowMessage("Add 'mnuViewRefresh_Click' code."); });
    connect(mnuViewOptions, &QAction::triggered, this, &frmMain::ShowOptions);

    QMenu* tools = AddMenu(bar, "mnuTools", tr("&Tools"));
    mnuToolsOptions = AddAction(tools, "mnuToolsOptions", tr("&Options..."));
    tools->menuAction()->setVisible(false);
    connect(mnuToolsOptions, &QAction::triggered, this, &frmMain::ShowOptions);

    QMenu* help = AddMenu(bar, "mnuHelp", tr("&Help"));
    mnuHelpContents = AddAction(help, "mnuHelpContents", tr("&Contents"));
    mnuHelpSearchForHelpOn =
        AddAction(help, "mnuHelpSearchForHelpOn", tr("&Search For Help On..."));
    mnuHelpBar0 = AddSeparator(help, "mnuHelpBar0");
    mnuHelpAbout = AddAction(help, "mnuHelpAbout", tr("&About "));
    for (QAction* hidden : {mnuHelpContents, mnuHelpSearchForHelpOn, mnuHelpBar0}) {
        hidden->setVisible(false);
    }
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::ShowHelp);
    connect(mnuHelpSearchForHelpOn, &QAction::triggered, this, &frmMain::ShowHelp);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::ShowAbout);
}

void frmMain::BuildStatusBar() {
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    setStatusBar(sbStatusBar);
    sbText = new QLabel(sbStatusBar);
    sbDate = new QLabel(sbStatusBar);
    sbTime = new QLabel(sbStatusBar);
    sbText->setObjectName(QStringLiteral("sbStatusBarText"));
    sbDate->setObjectName(QStringLiteral("sbStatusBarDate"));
    sbTime->setObjectName(QStringLiteral("sbStatusBarTime"));
    sbStatusBar->addWidget(sbText, 1);
    sbStatusBar->addPermanentWidget(sbDate);
    sbStatusBar->addPermanentWidget(sbTime);
    UpdateClock();
    connect(&clockTimer_, &QTimer::timeout, this, &frmMain::UpdateClock);
    clockTimer_.start(1000);
}

void frmMain::UpdateClock() {
    const LocalDateTime now = services_.clock.Now();
    sbDate->setText(QString::fromStdString(FormatShortDate({now.Year, now.Month, now.Day})));
    sbTime->setText(StatusTime(now));
}

void frmMain::Load() {
    // The Interface tab placed its workbook block when it was built.
    state_.mInterfaceTypes = BuildInterfaceTypes();

    for (QWidget* panel : picFunc) {
        panel->move(TwipsToPixels(kParkedLeftTwips), 0);
        panel->setEnabled(false);
        panel->setFocusPolicy(Qt::NoFocus);
    }

    RestorePlacement();

    const int tab = ReadSelectedTab(
        services_.settings.GetSetting(kSettingsSection, kSelectedTab, std::to_string(kDefaultTab)),
        kTabCount);
    {
        const QSignalBlocker quiet(&TabStrip1->Tabs());
        TabStrip1->Tabs().setCurrentIndex(tab - 1);
    }
    TabStrip1_Click();

    state_.mLoading = true;
    tabs_[1]->FillAtLoad();
    tabs_[2]->FillAtLoad();
    tabs_[0]->FillAtLoad();
    state_.mLoading = false;
}

void frmMain::RestorePlacement() {
    const auto read = [this](std::string_view key, std::int64_t fallback) {
        const std::optional<std::int64_t> twips = ReadTwips(
            services_.settings.GetSetting(kSettingsSection, key, std::to_string(fallback)));
        return twips ? *twips : fallback;
    };
    TwipsRect placement{
        read(kMainLeft, kDefaultPlacement.Left), read(kMainTop, kDefaultPlacement.Top),
        read(kMainWidth, kDefaultPlacement.Width), read(kMainHeight, kDefaultPlacement.Height)};
    const auto pixels = [](const TwipsRect& twips) {
        return QRect(TwipsToPixels(twips.Left), TwipsToPixels(twips.Top),
                     TwipsToPixels(twips.Width), TwipsToPixels(twips.Height));
    };
    if (!OnSomeScreen(pixels(placement))) {
        placement = kDefaultPlacement;
    }
    const QRect rect = pixels(placement);
    move(rect.topLeft());
    resize(rect.size());
    loadedPlacement_ = placement;
}

void frmMain::StorePlacement() {
    const QPoint position = pos();
    const TwipsRect placement{
        Keep(loadedPlacement_.Left, position.x()), Keep(loadedPlacement_.Top, position.y()),
        Keep(loadedPlacement_.Width, width()), Keep(loadedPlacement_.Height, height())};
    SettingsStore& settings = services_.settings;
    settings.SaveSetting(kSettingsSection, kMainLeft, std::to_string(placement.Left));
    settings.SaveSetting(kSettingsSection, kMainTop, std::to_string(placement.Top));
    settings.SaveSetting(kSettingsSection, kMainWidth, std::to_string(placement.Width));
    settings.SaveSetting(kSettingsSection, kMainHeight, std::to_string(placement.Height));
}

int frmMain::SelectedTab() const {
    return TabStrip1->Tabs().currentIndex() + 1;
}

void frmMain::TabStrip1_Click() {
    const int index = TabStrip1->Tabs().currentIndex();
    const QString tag = QString::fromLatin1(kTabs[static_cast<std::size_t>(index)].tag);
    const QRect client = TabStrip1->ClientArea();
    for (QWidget* panel : picFunc) {
        if (panel->isEnabled()) {
            panel->setEnabled(false);
            panel->move(TwipsToPixels(kParkedLeftTwips), panel->y());
        }
        if (panel->property("Tag").toString() == tag) {
            panel->setEnabled(true);
            panel->move(client.left(), panel->y());
            panel->raise();
        }
    }
    tabs_[static_cast<std::size_t>(index)]->Selected();
}

void frmMain::LayOutPanels() {
    if (isMinimized()) {
        return;
    }
    QWidget* client = centralWidget();
    // The status bar's band stays free while the bar is hidden.
    const int band = mnuViewStatusBar->isChecked() ? 0 : sbStatusBar->sizeHint().height();
    TabStrip1->setGeometry(0, 0, client->width(), std::max(0, client->height() - band));
    const QRect area = TabStrip1->ClientArea();
    for (QWidget* panel : picFunc) {
        panel->setGeometry(panel->x(), area.top(), area.width(), area.height());
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        LayOutPanels();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::Activate() {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    if (closed_) {
        return;
    }
    closed_ = true;

    for (MainWindowTab* tab : tabs_) {
        tab->WindowClosing();
    }

    QList<QPointer<QWidget>> others;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible()) {
            others.append(window);
        }
    }
    for (auto other = others.rbegin(); other != others.rend(); ++other) {
        if (*other) {
            (*other)->close();
        }
    }

    if (!isMinimized()) {
        StorePlacement();
    }
    services_.settings.SaveSetting(kSettingsSection, kSelectedTab, std::to_string(SelectedTab()));

    if (!services_.config.SaveConfig()) {
        services_.messages.ShowMessage("Unable to save configuration");
    }
}

void frmMain::ShowOptions() {
    frmOptions options(services_.messages, this);
    options.exec();
}

void frmMain::ShowAbout() {
    frmAbout about(services_.messages, this);
    about.exec();
}

void frmMain::ShowHelp() {
    if (kHelpFile.empty()) {
        services_.messages.MessageBox(
            "Unable to display Help Contents. There is no Help associated with this project.",
            windowTitle().toStdString(), Messages::Buttons::kOk, Messages::Icon::kInformation);
    }
}

void frmMain::PageSetup() {
    QPageSetupDialog dialog(&ApplicationPrinter(), this);
    dialog.setWindowTitle(tr("Page Setup"));
    dialog.exec();
}

}  // namespace wexal::desktop
