#include "conduit/InterfaceTable.h"

#include <array>

#include "conduit/TextFileVendors.h"
#include "conduit/WexalConduit.h"

namespace {

using Road = InterfaceRoad;
namespace v = text_file_vendors;

constexpr std::array<InterfaceRow, 37> kInterfaces = {{
    {1, Road::SingleFile, &v::kAVR.routines, "Wexal Conduit Finished - AVR"},
    {2, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - Caselle"},
    {3, Road::SingleFile, &v::kDatawest.routines, "Wexal Conduit Finished - Datawest"},
    {4, Road::SingleFile, &v::kElDorado.routines, "Wexal Conduit Finished - ElDorado"},
    {5, Road::SingleFile, &v::kInfinitec.routines, "Wexal Conduit Finished - Infinitec"},
    {6, Road::SingleFile, &v::kIncodeCMS.routines, "Wexal Conduit Finished - Incode-CMS"},
    {7, Road::SingleFile, &v::kMunicipalSoftware.routines,
     "Wexal Conduit Finished - MunicipalSoftware"},
    {8, Road::SingleFile, &v::kAccuFund.routines, "Wexal Conduit Finished - AccuFund"},
    {9, Road::SingleFile, &v::kQuikWater.routines, "Wexal Conduit Finished - QuikWater"},
    {10, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - RVS Software"},
    {11, Road::SingleFile, &v::kUSTI.routines, "Wexal Conduit Finished - USTI"},
    {12, Road::SqlStub, nullptr, "Wexal Conduit Finished - SQL"},
    {13, Road::SingleFile, &v::kIncode.routines, "Wexal Conduit Finished - Incode"},
    {14, Road::SingleFile, &v::kPowerMgr.routines,
     "Wexal Conduit Finished - Power Manager for Windows"},
    {15, Road::SingleFile, &v::kDataTech.routines,
     "Wexal Conduit Finished - Data Technologies - Summit"},
    {16, Road::SqlDataSource, nullptr, nullptr},
    {17, Road::SingleFile, &v::kOurTown.routines, "Wexal Conduit Finished - Our Town Software"},
    {18, Road::SingleFile, &v::kPrairiFire.routines, "Wexal Conduit Finished - PrariFire"},
    {19, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - DataLogic"},
    {20, Road::SingleFile, &v::kCustom1.routines, "Wexal Conduit Finished - Custom 1"},
    {21, Road::SingleFile, &v::kThoroughbred.routines, "Wexal Conduit Finished - Thoroughbred"},
    {22, Road::SingleFile, &v::kDataPointe.routines, "Wexal Conduit Finished - DataPointe"},
    {23, Road::SingleFile, &v::kMunicipalSoftware.routines,
     "Wexal Conduit Finished - Mega Systems"},
    {24, Road::FolderScan, &v::kLogHH.routines, "Wexal Conduit Finished - LogHH"},
    {25, Road::SingleFile, &v::kRAMAR.routines, "Wexal Conduit Finished - RAMAR"},
    {26, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - Banyon"},
    {27, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - LOCIS"},
    {28, Road::Excel, nullptr, "Wexal Conduit Finished - Excel"},
    {29, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - CSDC"},
    {30, Road::FolderScan, &v::kRMSBadger.routines, "Wexal Conduit Finished - RMSBadger"},
    {31, Road::FolderScan, &v::kConnekt.routines, "Wexal Conduit Finished - Connekt"},
    {32, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - CUBIC"},
    {33, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - WLB"},
    {34, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - UB Pro"},
    {35, Road::SingleFile, &v::kSCA.routines, "Wexal Conduit Finished - SCA"},
    {36, Road::SingleFile, &v::kNorthStar.routines, "Wexal Conduit Finished - NorthStar"},
    {37, Road::SingleFile, &v::kCaselle.routines, "Wexal Conduit Finished - Jayhawk"},
}};

}  // namespace

const InterfaceRow* FindInterface(std::uint16_t number) {
    if (number < 1 || number > kInterfaces.size()) {
        return nullptr;
    }
    const InterfaceRow& row = kInterfaces[number - 1];
    return row.number == number ? &row : nullptr;
}
