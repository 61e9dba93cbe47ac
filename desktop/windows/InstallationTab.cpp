#include "desktop/windows/InstallationTab.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <exception>
#include <filesystem>

#include "desktop/core/ConduitStatus.h"
#include "desktop/core/HandheldUnits.h"
#include "desktop/core/PalmDesktopPath.h"
#include "desktop/core/PalmLibraries.h"
#include "desktop/core/ProgramIdentity.h"
#include "desktop/core/QvGridColumn.h"
#include "desktop/core/clsFileVersion.h"
#include "desktop/core/clsInstaller.h"
#include "desktop/windows/InstallationPanelLayout.h"
#include "desktop/windows/QvGrid.h"
#include "desktop/windows/frmInstallApp.h"

namespace wexal::desktop {

namespace {

namespace fs = std::filesystem;

constexpr const char* kConduitInformation = "Wexal meter-reading conduit";
constexpr const char* kHandheldApplication = "Wexal.prc";
constexpr std::int32_t kUnitColumnWidth = 1440;  // twips
constexpr const char* kUnitHeadings[] = {"Unit Number", "Last Install", "Version", "Last Hotsync",
                                         "Lifetime Reads"};

// clsInstaller together with the libraries it binds, which live as long as it.
class ProgramFolderInstaller final : public Installer {
  public:
    ProgramFolderInstaller(Messages& messages, const ProgramFolder& folder)
        : libraries_(folder),
          installer_(libraries_, messages, folder, std::string(kProgramTitle)) {}

    std::int16_t UserCount() override { return installer_.UserCount(); }
    std::vector<std::string> UserNames() override { return installer_.UserNames(); }
    std::int16_t Conduit(const std::string& creatorId, const std::string& conduitFile,
                         const std::string& conduitName, const std::string& information) override {
        return installer_.Conduit(creatorId, conduitFile, conduitName, information);
    }
    std::int16_t PRC(const std::string& user, const std::string& prcFile) override {
        return installer_.PRC(user, prcFile);
    }
    std::int16_t RemovePRC(const std::string& user, const std::string& prcFile) override {
        return installer_.RemovePRC(user, prcFile);
    }

  private:
    ProgramFolderLibraries libraries_;
    clsInstaller installer_;
};

}  // namespace

InstallationTabSources StandardInstallationSources(const ProgramServices& services) {
    InstallationTabSources sources;
    sources.palmDesktopPath = GetPalmDesktopPath;
    sources.makeInstaller = [&services]() -> std::unique_ptr<Installer> {
        return std::make_unique<ProgramFolderInstaller>(services.messages, services.folder);
    };
    sources.chooseUnits = &frmInstallApp::Display;
    return sources;
}

InstallationTab::InstallationTab(MainWindowContext& context, InstallationTabSources sources)
    : services_(context.services), sources_(std::move(sources)) {
    auto* conduit = new QGroupBox(QStringLiteral("Conduit"), this);
    conduit->setObjectName(QStringLiteral("fraInstall1"));
    cConduitStatus_ = new QPlainTextEdit(conduit);
    cConduitStatus_->setObjectName(QStringLiteral("cConduitStatus"));
    cConduitStatus_->setReadOnly(true);
    btnInstallConduit_ = new QPushButton(QStringLiteral("&Install Conduit"), conduit);
    btnInstallConduit_->setObjectName(QStringLiteral("btnInstallConduit"));
    btnInstallUnit_ = new QPushButton(QStringLiteral("&Install Unit(s)"), conduit);
    btnInstallUnit_->setObjectName(QStringLiteral("btnInstallUnit"));

    auto* units = new QGroupBox(QStringLiteral("Handheld Units"), this);
    units->setObjectName(QStringLiteral("fraInstall2"));
    grdInstallUnits_ = new QvGrid(
        QvGridSeams{services_.messages, beeper_, clipboard_, services_.clock, nullptr}, units);
    grdInstallUnits_->setObjectName(QStringLiteral("grdInstallUnits"));

    connect(btnInstallConduit_, &QPushButton::clicked, this, [this] { InstallConduit(); });
    connect(btnInstallUnit_, &QPushButton::clicked, this, [this] { InstallUnits(); });
}

InstallationTab::~InstallationTab() = default;

void InstallationTab::FillAtLoad() {
    ShowConduitStatus();
    FillInstallUnitsGrid();
}

void InstallationTab::Selected() {
    FillInstallUnitsGrid();
}

void InstallationTab::WindowClosing() {
    installer_.reset();
}

std::string InstallationTab::MissingConduitMessage() const {
    return std::string("Warning: ") + kConduitFileName + " (Wexal Conduit) is missing from " +
           services_.folder.Path().string();
}

void InstallationTab::ShowConduitStatus() {
    try {
        const fs::path folder = services_.folder.Path();
        const fs::path conduit = ConduitFile(folder);
        const std::optional<std::string> date = FileDateYymmdd(conduit);
        if (!date) {
            services_.messages.ShowMessage(MissingConduitMessage());
        }
        ConduitStatusFacts facts;
        facts.unitDate = date.value_or(kZeroDateYymmdd);
        facts.palmDesktopPath = sources_.palmDesktopPath();
        facts.registeredConduit = RegisteredConduit();
        clsFileVersion versions;
        facts.hotSyncVersion = versions.GetVersion(HotSyncProgram(folder).string());
        facts.conduitVersion = versions.GetVersion(conduit.string());
        facts.registeredIsOurs = SameConduit(facts.registeredConduit, conduit);
        if (!facts.registeredConduit.empty() && !facts.registeredIsOurs) {
            facts.registeredVersion = versions.GetVersion(facts.registeredConduit);
        }
        statusText_ = ConduitStatusText(facts);
        QString shown = QString::fromStdString(statusText_);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        cConduitStatus_->setPlainText(shown);
    } catch (const std::exception& error) {
        services_.messages.MessageBox(error.what(), kProgramTitle);
    }
}

void InstallationTab::FillInstallUnitsGrid() {
    QvGrid& grid = *grdInstallUnits_;
    grid.SetCols(0);
    // Display only: a hand edit would steer the preselection without being stored.
    for (const char* heading : kUnitHeadings) {
        grid.AddColumn(heading, kUnitColumnWidth, -1, 0, 0, kAlignCentre);
    }
    grid.SetRows(1);
    const std::int32_t count = UnitCount(services_.settings);
    for (std::int32_t unit = 1; unit <= count; ++unit) {
        grid.AddRow(UnitRow(services_.settings, unit));
    }
}

Installer& InstallationTab::TheInstaller() {
    if (!installer_) {
        installer_ = sources_.makeInstaller();
    }
    return *installer_;
}

void InstallationTab::InstallConduit() {
    const fs::path folder = services_.folder.Path();
    try {
        TheInstaller().Conduit("TLWX", ConduitFile(folder).lexically_relative(folder).string(),
                               "Wexal Conduit", kConduitInformation);
    } catch (const std::exception& error) {
        services_.messages.ShowMessage(error.what());
    }
    ShowConduitStatus();
}

void InstallationTab::InstallUnits() {
    const std::optional<std::string> conduitDate =
        FileDateYymmdd(ConduitFile(services_.folder.Path()));
    if (!conduitDate) {
        // The unit's version would be recorded as the zero date.
        services_.messages.ShowMessage(MissingConduitMessage());
        return;
    }

    const std::int32_t count = UnitCount(services_.settings);
    std::vector<bool> units(static_cast<std::size_t>(count), false);
    const QvGrid& grid = *grdInstallUnits_;
    for (std::int32_t row = 1; row < grid.Rows() && row <= count; ++row) {
        units[static_cast<std::size_t>(row - 1)] =
            NeedsInstall(grid.TextMatrix(row, 1), grid.TextMatrix(row, 2), *conduitDate);
    }
    sources_.chooseUnits(units, window());

    bool queued = false;
    try {
        for (std::int32_t unit = 1; unit <= count; ++unit) {
            if (!units[static_cast<std::size_t>(unit - 1)]) {
                continue;
            }
            if (TheInstaller().PRC(UnitUserName(unit), kHandheldApplication) != 0) {
                // The installer has said why; what was queued shows in the grid.
                FillInstallUnitsGrid();
                return;
            }
            RecordUnitInstall(services_.settings, unit, services_.clock, *conduitDate);
            queued = true;
        }
    } catch (const std::exception& error) {
        services_.messages.ShowMessage(error.what());
        FillInstallUnitsGrid();
        return;
    }
    services_.messages.ShowMessage(queued
                                       ? "Wexal handheld applications will be installed during "
                                         "the next \r\n HotSync session for those selected units."
                                       : "No units were selected");
    FillInstallUnitsGrid();
}

void InstallationTab::resizeEvent(QResizeEvent* event) {
    MainWindowTab::resizeEvent(event);
    LayOutInstallationPanel(*this);
    FitButtonTexts();
}

// The buttons keep their design width; a caption that would be cut off there
// gets a smaller font.
void InstallationTab::FitButtonTexts() {
    for (QPushButton* button : {btnInstallConduit_, btnInstallUnit_}) {
        QFont font = this->font();
        button->setFont(font);
        while (button->sizeHint().width() > button->width() && font.pointSizeF() > 6.0) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            button->setFont(font);
        }
    }
}

}  // namespace wexal::desktop
