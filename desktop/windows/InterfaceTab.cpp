#include "desktop/windows/InterfaceTab.h"

#include <QButtonGroup>
#include <QSignalBlocker>

#include "desktop/core/NumericText.h"
#include "desktop/windows/OptionButtons.h"
#include "desktop/windows/TwipsGeometry.h"
#include "desktop/windows/frmPrompt.h"

namespace wexal::desktop {

namespace {

// Design tops of the shared lines, in twips: route file, server and data
// source; readings file and database; roll folder and user; password.
constexpr std::int64_t kFirstLineTop = 840;
constexpr std::int64_t kLineHeight = 360;
// The workbook block as designed, below the file rows; the tab moves it up
// onto their place, which the workbook interface never shows.
constexpr std::int64_t kWorkbookHeadsTop = 2760;
constexpr std::int64_t kWorkbookRowsTop = 3000;
constexpr std::int64_t kDataMapTop = 4800;

constexpr std::int64_t kLabelLeft = 240;
constexpr std::int64_t kLabelWidth = 1335;
constexpr std::int64_t kBoxLeft = 1680;
constexpr std::int64_t kBoxWidth = 3135;
constexpr std::int64_t kChangeLeft = 4920;
constexpr std::int64_t kButtonWidth = 1035;
constexpr std::int64_t kRollLeft = 6060;

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const char* caption,
                        const char* tooltip = nullptr) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    if (tooltip != nullptr) {
        button->setToolTip(QString::fromLatin1(tooltip));
    }
    return button;
}

// One line of a row: label, box and "Change ..." button.
void PlaceRow(QLabel* label, QLineEdit* box, QPushButton* change, int line) {
    const std::int64_t top = kFirstLineTop + kLineHeight * line;
    PlaceInTwips(label, kLabelLeft, top, kLabelWidth, 255);
    PlaceInTwips(box, kBoxLeft, top - 45, kBoxWidth, 315);
    PlaceInTwips(change, kChangeLeft, top - 60, kButtonWidth, 345);
}

QString Indexed(const char* name, std::size_t index) {
    return QString::fromLatin1(name) + QString::number(index);
}

}  // namespace

InterfaceTab::InterfaceTab(MainWindowContext& context, std::shared_ptr<FileChooser> chooser)
    : context_(context), chooser_(std::move(chooser)), activeRow_(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("InterfaceTab"));
    lInterface = MakeLabel(this, "lInterface", "Interface Type:");
    cInterface = new QComboBox(this);
    cInterface->setObjectName(QStringLiteral("cInterface"));
    cInterface->setMaxVisibleItems(20);
    PlaceInTwips(lInterface, kLabelLeft, 300, kLabelWidth, 255);
    PlaceInTwips(cInterface, kBoxLeft, 240, 3495, 315);

    BuildRows();
    BuildWorkbookBlock();

    btnTest = MakeButton(this, QStringLiteral("btnTest"), "&Test", "Test Server and Credentials");
    btnInstall = MakeButton(
        this, QStringLiteral("btnInstall"), "&Install",
        "Install Interface routines to SQL Server (Requires Database Administrator Rights)");
    PlaceInTwips(btnTest, 5280, 225, 855, 345);
    PlaceInTwips(btnInstall, 6180, 225, 855, 345);
    btnTest->hide();
    btnInstall->hide();

    Connect();
}

void InterfaceTab::BuildRows() {
    lRouteFile = MakeLabel(this, "lRouteFile", "Route File:");
    cRouteFile = MakeBox(this, QStringLiteral("cRouteFile"));
    btnRouteFile = MakeButton(this, QStringLiteral("btnRouteFile"), "Change ...");
    lServer = MakeLabel(this, "lServer", "Server Name:");
    cServer = MakeBox(this, QStringLiteral("cServer"));
    btnServer = MakeButton(this, QStringLiteral("btnServer"), "Change ...", "Change Server Name");
    lDSN = MakeLabel(this, "lDSN", "DSN:");
    cDSN = MakeBox(this, QStringLiteral("cDSN"));
    btnDSN = MakeButton(this, QStringLiteral("btnDSN"), "Change ...", "Change Server Name");
    PlaceRow(lRouteFile, cRouteFile, btnRouteFile, 0);
    PlaceRow(lServer, cServer, btnServer, 0);
    PlaceRow(lDSN, cDSN, btnDSN, 0);

    lReadingsFile = MakeLabel(this, "lReadingsFile", "Readings File:");
    cReadingsFile = MakeBox(this, QStringLiteral("cReadingsFile"));
    btnReadingsFile = MakeButton(this, QStringLiteral("btnReadingsFile"), "Change ...");
    lDatabase = MakeLabel(this, "lDatabase", "Database:");
    cDatabase = MakeBox(this, QStringLiteral("cDatabase"));
    btnDatabase = MakeButton(this, QStringLiteral("btnDatabase"), "Change ...", "Change Database");
    PlaceRow(lReadingsFile, cReadingsFile, btnReadingsFile, 1);
    PlaceRow(lDatabase, cDatabase, btnDatabase, 1);

    lReadingsRollFile = MakeLabel(this, "lReadingsRollFile", "Roll Readings:");
    cReadingsRollFile = MakeBox(this, QStringLiteral("cReadingsRollFile"));
    btnReadingsRollFile =
        MakeButton(this, QStringLiteral("btnReadingsRollFile"), "Change ...", "Change User ID");
    btnReadingsRollLog =
        MakeButton(this, QStringLiteral("btnReadingsRollLog"), "Roll ...", "Change User ID");
    lUser = MakeLabel(this, "lUser", "User ID:");
    cUser = MakeBox(this, QStringLiteral("cUser"));
    btnUser = MakeButton(this, QStringLiteral("btnUser"), "Change ...", "Change User ID");
    PlaceRow(lReadingsRollFile, cReadingsRollFile, btnReadingsRollFile, 2);
    PlaceInTwips(btnReadingsRollLog, kRollLeft, kFirstLineTop + 2 * kLineHeight - 60, 975, 345);
    PlaceRow(lUser, cUser, btnUser, 2);

    lPassword = MakeLabel(this, "lPassword", "Password:");
    cPassword = MakeBox(this, QStringLiteral("cPassword"));
    cPassword->setEchoMode(QLineEdit::Password);
    cPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42 }"));
    btnPassword = MakeButton(this, QStringLiteral("btnPassword"), "Change ...", "Change Password");
    PlaceRow(lPassword, cPassword, btnPassword, 3);

    for (QWidget* control : std::initializer_list<QWidget*>{lRouteFile,
                                                            cRouteFile,
                                                            btnRouteFile,
                                                            lServer,
                                                            cServer,
                                                            btnServer,
                                                            lDSN,
                                                            cDSN,
                                                            btnDSN,
                                                            lReadingsFile,
                                                            cReadingsFile,
                                                            btnReadingsFile,
                                                            lDatabase,
                                                            cDatabase,
                                                            btnDatabase,
                                                            lReadingsRollFile,
                                                            cReadingsRollFile,
                                                            btnReadingsRollFile,
                                                            btnReadingsRollLog,
                                                            lUser,
                                                            cUser,
                                                            btnUser,
                                                            lPassword,
                                                            cPassword,
                                                            btnPassword}) {
        control->hide();
    }
}

void InterfaceTab::BuildWorkbookBlock() {
    lSpreadsheet = MakeLabel(this, "lSpreadsheet", "Active");
    lWorkBook = MakeLabel(this, "lWorkBook", "Workbook");
    lWorksheet = MakeLabel(this, "lWorksheet", "Worksheet");
    // Designed below the file rows, moved up by the distance between the
    // heads and the route-file label.
    const std::int64_t up = kWorkbookHeadsTop - kFirstLineTop;
    PlaceInTwips(lSpreadsheet, kLabelLeft, kWorkbookHeadsTop - up, 615, 255);
    PlaceInTwips(lWorkBook, 960, kWorkbookHeadsTop - up, 2000, 255);
    PlaceInTwips(lWorksheet, 4200, kWorkbookHeadsTop - up, 1500, 255);
    lSpreadsheet->hide();
    lWorkBook->hide();
    lWorksheet->hide();

    for (std::size_t i = 0; i < kWorkbookRows; ++i) {
        const std::int64_t top = kWorkbookRowsTop + kLineHeight * static_cast<std::int64_t>(i) - up;
        optSpreadsheet[i] = new QRadioButton(this);
        optSpreadsheet[i]->setObjectName(Indexed("optSpreadsheet", i));
        activeRow_->addButton(optSpreadsheet[i], static_cast<int>(i));
        cWorkBook[i] = MakeBox(this, Indexed("cWorkBook", i));
        cWorkSheet[i] = MakeBox(this, Indexed("cWorkSheet", i));
        btnSpreadsheet[i] = MakeButton(this, Indexed("btnSpreadsheet", i), "Change ...");
        PlaceInTwips(optSpreadsheet[i], 420, top + 15, 300, 285);
        PlaceInTwips(cWorkBook[i], 960, top, 3135, 315);
        PlaceInTwips(cWorkSheet[i], 4200, top, 1695, 315);
        PlaceInTwips(btnSpreadsheet[i], 6000, top - 15, kButtonWidth, 345);
        for (QWidget* control : std::initializer_list<QWidget*>{optSpreadsheet[i], cWorkBook[i],
                                                                cWorkSheet[i], btnSpreadsheet[i]}) {
            control->hide();
        }
    }

    fraExcelDataMap = new QGroupBox(tr("Data Mapping"), this);
    fraExcelDataMap->setObjectName(QStringLiteral("fraExcelDataMap"));
    PlaceInTwips(fraExcelDataMap, kLabelLeft, kDataMapTop - up, 6795, 735);
    const std::array<const char*, 2> captions = {"Route Fields", "Reading Fields"};
    const std::array<const char*, 2> tags = {"ROUTE", "READING"};
    for (std::size_t i = 0; i < btnFieldMap.size(); ++i) {
        btnFieldMap[i] = MakeButton(fraExcelDataMap, Indexed("btnFieldMap", i), captions[i]);
        btnFieldMap[i]->setProperty("Tag", QString::fromLatin1(tags[i]));
        PlaceInTwips(btnFieldMap[i], 240 + 1680 * static_cast<std::int64_t>(i), 300, 1575, 345);
    }
    fraExcelDataMap->hide();
}

void InterfaceTab::Connect() {
    connect(cInterface, &QComboBox::currentIndexChanged, this, [this] { cInterface_Click(); });

    const auto storeOnChange = [this](QLineEdit* box, int field) {
        connect(box, &QLineEdit::textChanged, this, [this, field](const QString& text) {
            SetInterfaceField(field, text.toStdString());
        });
    };
    storeOnChange(cRouteFile, 1);
    storeOnChange(cReadingsFile, 2);
    storeOnChange(cServer, 5);
    storeOnChange(cDSN, 6);
    storeOnChange(cDatabase, 7);
    storeOnChange(cUser, 8);
    storeOnChange(cPassword, 9);
    connect(cReadingsRollFile, &QLineEdit::textChanged, this, [this](const QString& text) {
        SetInterfaceField(13, text.toStdString());
        // Also while loading: the button follows the folder just filled.
        btnReadingsRollLog->setEnabled(!text.isEmpty());
    });
    for (std::size_t i = 0; i < kWorkbookRows; ++i) {
        for (QLineEdit* box : {cWorkBook[i], cWorkSheet[i]}) {
            connect(box, &QLineEdit::textChanged, this,
                    [this] { SetInterfaceField(4, ActiveRowText()); });
        }
        connect(optSpreadsheet[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) {
                SetInterfaceField(4, std::to_string(i));
            }
        });
    }

    const auto promptOnClick = [this](QPushButton* button, std::int32_t kind,
                                      std::int16_t index = 0) {
        connect(button, &QPushButton::clicked, this,
                [this, kind, index] { PromptFor(kind, index); });
    };
    promptOnClick(btnRouteFile, frmPrompt::kRouteFile);
    promptOnClick(btnReadingsFile, frmPrompt::kReadingsFile);
    promptOnClick(btnReadingsRollFile, frmPrompt::kRollFolder);
    promptOnClick(btnServer, frmPrompt::kServer);
    promptOnClick(btnUser, frmPrompt::kUser);
    promptOnClick(btnPassword, frmPrompt::kPassword);
    promptOnClick(btnDatabase, frmPrompt::kDatabase);
    promptOnClick(btnDSN, frmPrompt::kDataSource);
    for (std::size_t i = 0; i < kWorkbookRows; ++i) {
        promptOnClick(btnSpreadsheet[i], frmPrompt::kWorkbook, static_cast<std::int16_t>(i));
    }

    for (std::size_t i = 0; i < btnFieldMap.size(); ++i) {
        connect(btnFieldMap[i], &QPushButton::clicked, this, [this, i] { btnFieldMap_Click(i); });
    }
    connect(btnReadingsRollLog, &QPushButton::clicked, this, [this] {
        if (context_.actions.RollReadings) {
            context_.actions.RollReadings(window(), cReadingsFile->text().toStdString(),
                                          cReadingsRollFile->text().toStdString());
        }
    });
    // btnTest and btnInstall have no action.
}

void InterfaceTab::FillAtLoad() {
    FillInterfaceList();
    SelectStoredInterface();
}

void InterfaceTab::FillInterfaceList() {
    // Filling a list selects its first entry by itself, which would store
    // that type as the selected interface.
    const QSignalBlocker quiet(cInterface);
    cInterface->clear();
    for (const InterfaceTypeInfo& type : context_.state.mInterfaceTypes) {
        cInterface->addItem(QString::fromStdString(type.DisplayName), QVariant(int{type.Id}));
    }
    cInterface->setCurrentIndex(-1);
}

void InterfaceTab::SelectStoredInterface() {
    const InterfaceTypeInfo* stored = FindInterfaceType(context_.state.mInterfaceTypes,
                                                        context_.services.config.SelectedInterface);
    if (cInterface->count() == 1) {
        cInterface->setCurrentIndex(0);
        return;
    }
    cInterface->setCurrentIndex(stored != nullptr ? cInterface->findData(int{stored->Id}) : -1);
}

void InterfaceTab::cInterface_Click() {
    for (QWidget* control : std::initializer_list<QWidget*>{cDatabase,
                                                            cDSN,
                                                            cServer,
                                                            cRouteFile,
                                                            cReadingsFile,
                                                            cReadingsRollFile,
                                                            cUser,
                                                            cPassword,
                                                            lDatabase,
                                                            lDSN,
                                                            lServer,
                                                            lRouteFile,
                                                            lReadingsFile,
                                                            lReadingsRollFile,
                                                            lUser,
                                                            lPassword,
                                                            btnDatabase,
                                                            btnDSN,
                                                            btnServer,
                                                            btnRouteFile,
                                                            btnReadingsFile,
                                                            btnReadingsRollFile,
                                                            btnReadingsRollLog,
                                                            btnUser,
                                                            btnPassword,
                                                            lSpreadsheet,
                                                            lWorkBook,
                                                            lWorksheet,
                                                            fraExcelDataMap}) {
        control->hide();
    }
    for (std::size_t i = 0; i < kWorkbookRows; ++i) {
        optSpreadsheet[i]->hide();
        btnSpreadsheet[i]->hide();
        cWorkBook[i]->hide();
        cWorkSheet[i]->hide();
    }

    const int item = cInterface->currentIndex();
    if (item < 0) {
        return;
    }
    MainWindowState& state = context_.state;
    state.mSelectedTypeId = static_cast<std::int16_t>(cInterface->itemData(item).toInt());
    const InterfaceTypeInfo* type =
        FindInterfaceTypeById(state.mInterfaceTypes, state.mSelectedTypeId);
    if (type == nullptr) {
        return;
    }

    clsConfig& config = context_.services.config;
    config.SelectedInterface = type->Code;
    InterfaceRec record;
    if (config.GetInterface(type->Code, record) && record.Name != type->Code) {
        // A name typed by hand in another letter case: under the code, the
        // file gets the lines that belong to it (the workbook lines of EXCEL)
        // and the conduit finds its block.
        config.UpdateInterface(type->Code, InterfaceUpdate{.Name = type->Code});
    }

    state.mLoading = true;
    const auto text = [](const std::string& value) { return QString::fromStdString(value); };
    cReadingsFile->setText(text(record.ReadingsPath));
    cReadingsRollFile->setText(text(record.ReadingsRollPath));
    cRouteFile->setText(text(record.RoutePath));
    cServer->setText(text(record.Server));
    cUser->setText(text(record.UserName));
    cPassword->setText(text(record.Password));
    cDatabase->setText(text(record.Database));
    cDSN->setText(text(record.Server));
    // A row outside 0..4 has no button: none is set.
    SetOptionButton(*activeRow_, record.SelectedSpreadsheet);
    for (std::size_t i = 0; i < kWorkbookRows; ++i) {
        cWorkBook[i]->setText(text(record.Workbook[i]));
        cWorkSheet[i]->setText(text(record.Worksheet[i]));
    }

    const auto show = [](std::initializer_list<QWidget*> controls) {
        for (QWidget* control : controls) {
            control->show();
        }
    };
    if (type->Database) {
        show({lDatabase, cDatabase, btnDatabase});
    }
    if (type->DSN) {
        show({lDSN, cDSN, btnDSN});
    }
    if (type->Install) {
        show({btnInstall});
    }
    if (type->Password) {
        show({lPassword, cPassword, btnPassword});
    }
    if (type->ReadingsFile) {
        show({lReadingsFile, cReadingsFile, btnReadingsFile, lReadingsRollFile, cReadingsRollFile,
              btnReadingsRollFile, btnReadingsRollLog});
        btnReadingsRollLog->setEnabled(!cReadingsRollFile->text().isEmpty());
    }
    if (type->RouteFile) {
        show({lRouteFile, cRouteFile, btnRouteFile});
    }
    if (type->Excel) {
        show({lSpreadsheet, lWorkBook, lWorksheet});
        for (std::size_t i = 0; i < kWorkbookRows; ++i) {
            show({optSpreadsheet[i], btnSpreadsheet[i], cWorkBook[i], cWorkSheet[i]});
        }
        show({fraExcelDataMap});
    }
    if (type->Server) {
        show({lServer, cServer, btnServer});
    }
    if (type->Test) {
        show({btnTest});
    }
    if (type->UserID) {
        show({lUser, cUser, btnUser});
    }
    state.mLoading = false;
}

void InterfaceTab::SetInterfaceField(int field, const std::string& value) {
    if (context_.state.mLoading) {
        return;
    }
    const int item = cInterface->currentIndex();
    if (item < 0) {
        return;
    }
    const InterfaceTypeInfo* type =
        FindInterfaceTypeById(context_.state.mInterfaceTypes,
                              static_cast<std::int16_t>(cInterface->itemData(item).toInt()));
    if (type == nullptr) {
        return;
    }
    InterfaceUpdate update;
    switch (field) {
        case 1:
            update.RoutePath = value;
            break;
        case 2:
            update.ReadingsPath = value;
            break;
        case 4: {
            WorkbookSlots workbooks;
            WorkbookSlots worksheets;
            for (std::size_t i = 0; i < kWorkbookRows; ++i) {
                workbooks[i] = cWorkBook[i]->text().toStdString();
                worksheets[i] = cWorkSheet[i]->text().toStdString();
            }
            update.Workbook = workbooks;
            update.Worksheet = worksheets;
            update.SelectedSpreadsheet = RoundToInteger16(NumericValue(value));
            break;
        }
        case 5:
        case 6:
            update.Server = value;
            break;
        case 7:
            update.Database = value;
            break;
        case 8:
            update.UserName = value;
            break;
        case 9:
            update.Password = value;
            break;
        case 13:
            update.ReadingsRollPath = value;
            break;
        default:
            return;
    }
    context_.services.config.UpdateInterface(type->Code, update);
}

std::string InterfaceTab::ActiveRowText() const {
    const int row = activeRow_->checkedId();
    return std::to_string(row < 0 ? 0 : row);
}

void InterfaceTab::PromptFor(std::int32_t kind, std::int16_t index) {
    frmPrompt::Boxes boxes;
    switch (kind) {
        case frmPrompt::kRouteFile:
            boxes.Value = cRouteFile;
            break;
        case frmPrompt::kReadingsFile:
            boxes.Value = cReadingsFile;
            break;
        case frmPrompt::kRollFolder:
            boxes.Value = cReadingsRollFile;
            break;
        case frmPrompt::kWorkbook:
            boxes.Value = cWorkBook.at(static_cast<std::size_t>(index));
            boxes.Worksheet = cWorkSheet.at(static_cast<std::size_t>(index));
            break;
        case frmPrompt::kServer:
            boxes.Value = cServer;
            break;
        case frmPrompt::kUser:
            boxes.Value = cUser;
            break;
        case frmPrompt::kPassword:
            boxes.Value = cPassword;
            break;
        case frmPrompt::kDatabase:
            boxes.Value = cDatabase;
            break;
        case frmPrompt::kDataSource:
            boxes.Value = cDSN;
            break;
        default:
            break;
    }
    // Made for this one prompt and gone when it returns, Cancel included.
    frmPrompt prompt(*chooser_, context_.services.messages, window());
    prompt.Display(kind, index, boxes);
}

void InterfaceTab::btnFieldMap_Click(std::size_t index) {
    const QString tag = btnFieldMap.at(index)->property("Tag").toString();
    const MainWindowActions& actions = context_.actions;
    if (tag == QStringLiteral("ROUTE") && actions.MapRouteFields) {
        actions.MapRouteFields(window());
    } else if (tag == QStringLiteral("READING") && actions.MapReadingFields) {
        actions.MapReadingFields(window());
    }
}

}  // namespace wexal::desktop
